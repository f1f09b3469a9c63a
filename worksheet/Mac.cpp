#include "worksheet/Mac.h"

#include "worksheet/LeadingNumber.h"
#include "worksheet/Limits.h"

namespace wb {

std::optional<double> PercentMac(double cg, double lemac, double mac) {
    if (!(mac > 0)) return std::nullopt;
    return (cg - lemac) / mac * 100;
}

std::optional<Decimal> PercentMac(const Decimal& cg, const Decimal& lemac, const Decimal& mac, int decimals) {
    if (mac.IsZero() || mac.IsNegative()) return std::nullopt;
    return ((cg - lemac) * Decimal::Read("100")).DividedBy(mac, decimals);
}

std::optional<MeanChord> ReadMeanChord(std::string_view lemac, std::string_view mac) {
    if (!ArmIn(lemac) || !ArmIn(mac)) return std::nullopt;
    MeanChord chord{Decimal::Read(lemac), Decimal::Read(mac)};
    if (chord.mac.IsZero() || chord.mac.IsNegative()) return std::nullopt;
    return chord;
}

std::optional<MeanChord> MeanChordOf(const Worksheet& ws) {
    return ReadMeanChord(ws.Get(Field::Lemac), ws.Get(Field::Mac));
}

bool MacNotPositive(std::string_view mac) {
    const std::optional<double> value = ArmIn(mac);
    return value && !(*value > 0);
}

std::string PercentMacText(const Decimal& percent) {
    return percent.Text(2);
}

namespace {

std::string PercentOf(const Decimal& cg, std::string_view lemac, std::string_view mac) {
    const std::optional<MeanChord> chord = ReadMeanChord(lemac, mac);
    if (!chord) return {};
    const std::optional<Decimal> percent = PercentMac(cg, chord->lemac, chord->mac);
    return percent ? PercentMacText(*percent) : std::string();
}

}  // namespace

std::string CgPercentMac(std::string_view cg, std::string_view lemac, std::string_view mac) {
    return ArmIn(cg) ? PercentOf(Decimal::Read(cg), lemac, mac) : std::string();
}

std::string CgPercentMac(double cg, std::string_view lemac, std::string_view mac) {
    return PercentOf(Decimal::Of(cg), lemac, mac);
}

std::string NewCgPercentMac(const Worksheet& ws) {
    if (ws.values.NewWeight == 0) return {};
    return CgPercentMac(ws.values.NewArm, ws.Get(Field::Lemac), ws.Get(Field::Mac));
}

}  // namespace wb
