#include "store/jet/JetBytes.h"

#include <cmath>
#include <cstdint>

#include "worksheet/Utf8.h"

namespace wb::jet {
namespace {

// UTF-16LE code units to UTF-8; a trailing odd byte is dropped.
void AppendUtf16(std::string& out, std::string_view bytes) {
    auto unit = [&](size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            char16_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((char32_t{u} - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? U'\uFFFD' : char32_t{u});
    }
}

// Days from 1970-01-01 to a proleptic Gregorian date and back (H. Hinnant's civil algorithms).
CalendarDate CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

constexpr std::int64_t kSerialZeroFromUnixEpoch = -25569;  // 1899-12-30

}  // namespace

JetFormat FormatOfHeader(std::string_view header) {
    if (header.size() < 0x15) return JetFormat::NotJet;
    if (header.substr(0, 4) != std::string_view("\x00\x01\x00\x00", 4)) return JetFormat::NotJet;
    const std::string_view magic = header.substr(4, 16);
    const bool jet = magic == std::string_view("Standard Jet DB\0", 16);
    const bool ace = magic == std::string_view("Standard ACE DB\0", 16);
    if (!jet && !ace) return JetFormat::NotJet;
    const auto version = static_cast<unsigned char>(header[0x14]);
    if (ace || version >= 2) return JetFormat::Ace;
    return version == 0 ? JetFormat::Jet3 : JetFormat::Jet4;
}

std::string TextFromJet4(std::string_view stored) {
    std::string out;
    if (stored.size() < 2 || static_cast<unsigned char>(stored[0]) != 0xFF ||
        static_cast<unsigned char>(stored[1]) != 0xFE) {
        AppendUtf16(out, stored);
        return out;
    }
    bool compressed = true;
    size_t segment = 2;
    for (size_t i = 2; i <= stored.size(); ++i) {
        if (i < stored.size() && stored[i] != '\0') continue;
        std::string_view part = stored.substr(segment, i - segment);
        if (compressed) {
            for (char c : part)
                AppendUtf8(out, static_cast<unsigned char>(c));
        } else {
            AppendUtf16(out, part);
        }
        compressed = !compressed;
        segment = i + 1;
    }
    return out;
}

std::optional<CalendarDate> DateFromSerial(double serial) {
    // Jet's own range: 100-01-01 (-657434) to 9999-12-31 (2958465).
    if (!std::isfinite(serial) || serial <= -657435.0 || serial >= 2958466.0) return std::nullopt;
    const auto day = static_cast<std::int64_t>(std::trunc(serial));
    return CivilFromDays(day + kSerialZeroFromUnixEpoch);
}

}  // namespace wb::jet
