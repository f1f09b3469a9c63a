#include "worksheet/Convert.h"

#include <algorithm>

#include "worksheet/Balance.h"
#include "worksheet/Decimal.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

// A unit in terms of the kilogram or the millimetre, and the decimals that multiplying by it
// adds to a figure (negative where it takes them away).
struct Factor {
    std::string_view value;
    int decimals;
};

Factor FactorOf(UnitSystem u, Quantity q) {
    if (q == Quantity::Weight) return u == UnitSystem::PoundInch ? Factor{"0.45359237", 8} : Factor{"1", 0};
    switch (u) {
        case UnitSystem::PoundInch:
            return {"25.4", 1};
        case UnitSystem::KilogramMillimetre:
            return {"1", 0};
        case UnitSystem::KilogramMetre:
            return {"1000", -3};
    }
    return {"1", 0};
}

// A stored number keeps 15 significant digits; a quotient without end is written to them.
constexpr int kSignificant = 15;

std::string ConvertedDigits(std::string_view magnitude, const Factor& from, const Factor& to);

// The magnitude of a figure (no sign) converted; zero stays as typed, and a figure typed
// without a digit before its point (".5") is written so again where it can be.
std::string Converted(std::string_view magnitude, const Factor& from, const Factor& to) {
    std::string text = ConvertedDigits(magnitude, from, to);
    if (!magnitude.empty() && magnitude[0] == '.' && text.size() > 1 && text[0] == '0' && text[1] == '.')
        text.erase(0, 1);
    return text;
}

std::string ConvertedDigits(std::string_view magnitude, const Factor& from, const Factor& to) {
    const Decimal x = Decimal::Read(magnitude);
    if (x.IsZero()) return std::string(magnitude);
    const Decimal product = x * Decimal::Read(from.value);
    const Decimal divisor = Decimal::Read(to.value);
    const int first = std::max(0, x.Decimals() + from.decimals - to.decimals);
    const std::string whole = product.DividedBy(divisor, 0).Text(0);
    const int integerDigits = whole == "0" ? 0 : static_cast<int>(whole.size());
    const int last = std::max(first, kSignificant - integerDigits);
    for (int k = first; k <= last; ++k) {
        const Decimal r = product.DividedBy(divisor, k);
        if ((r * divisor - product).IsZero()) return r.Text(k);
    }
    std::string text = product.DividedBy(divisor, last).Text(last);
    // Zeros beyond the decimals the figure came with say nothing here.
    const size_t point = text.find('.');
    if (point != std::string::npos) {
        const size_t keep = point + 1 + static_cast<size_t>(first);
        while (text.size() > keep && text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr std::string_view kMinusSign = "\xE2\x88\x92";

// What a unit word after a figure names: its quantity and the system it belongs to (for a
// weight, lb or kg; for an arm, in, mm or m).
struct UnitWord {
    Quantity q;
    UnitSystem system;
};

std::optional<UnitWord> UnitOf(std::string_view w) {
    using U = UnitSystem;
    for (std::string_view lb : {"lb", "lbs", "lb.", "lbs.", "pound", "pounds"})
        if (w == lb) return UnitWord{Quantity::Weight, U::PoundInch};
    for (std::string_view kg : {"kg", "kgs", "kg.", "kilogram", "kilograms"})
        if (w == kg) return UnitWord{Quantity::Weight, U::KilogramMillimetre};
    for (std::string_view in : {"in", "in.", "ins", "ins.", "inch", "inches", "\""})
        if (w == in) return UnitWord{Quantity::Arm, U::PoundInch};
    for (std::string_view mm : {"mm", "millimetre", "millimetres", "millimeter", "millimeters"})
        if (w == mm) return UnitWord{Quantity::Arm, U::KilogramMillimetre};
    for (std::string_view m : {"m", "m.", "metre", "metres", "meter", "meters"})
        if (w == m) return UnitWord{Quantity::Arm, U::KilogramMetre};
    return std::nullopt;
}

// Whether a unit word belongs to `from`: kilograms belong to both metric systems.
bool Belongs(const UnitWord& unit, UnitSystem from) {
    if (unit.q == Quantity::Weight)
        return (unit.system == UnitSystem::PoundInch) == (from == UnitSystem::PoundInch);
    return unit.system == from;
}

class TextConverter {
  public:
    TextConverter(std::string_view s, Quantity q, UnitSystem from, UnitSystem to)
        : s_(s), q_(q), from_(from), to_(to) {
        std::string lower;
        for (char c : s)
            lower.push_back(Lower(c));
        // A text of percentages of the chord: only a figure that names its unit is converted.
        strict_ = lower.find('%') != std::string::npos || HasWord(lower, "mac") || HasWord(lower, "m.a.c.");
    }

    std::optional<std::string> Run() {
        while (i_ < s_.size()) {
            if (NumberStarts()) {
                if (!Figure()) return std::nullopt;
            } else if (IsLetter(s_[i_])) {
                Word();
            } else {
                if (s_[i_] == '@') afterAt_ = true;
                out_.push_back(s_[i_++]);
            }
        }
        return out_;
    }

  private:
    static bool HasWord(const std::string& lower, std::string_view word) {
        for (size_t at = lower.find(word); at != std::string::npos; at = lower.find(word, at + 1)) {
            const bool before = at == 0 || !IsLetter(lower[at - 1]);
            const size_t end = at + word.size();
            const bool after = end >= lower.size() || !IsLetter(lower[end]);
            if (before && after) return true;
        }
        return false;
    }

    bool DigitAt(size_t at) const {
        if (at < s_.size() && IsDigit(s_[at])) return true;
        return at + 1 < s_.size() && s_[at] == '.' && IsDigit(s_[at + 1]);
    }
    // The length of a sign at i_ that signs a figure: "+", "-" or the minus sign, not right
    // after a figure, a word or a bracket (there a minus joins two arms).
    size_t SignLength() const {
        size_t length = 0;
        if (s_[i_] == '+' || s_[i_] == '-') length = 1;
        if (s_.substr(i_, kMinusSign.size()) == kMinusSign) length = kMinusSign.size();
        if (length == 0 || !DigitAt(i_ + length)) return 0;
        if (i_ > 0) {
            const char before = s_[i_ - 1];
            if (IsDigit(before) || IsLetter(before) || before == ')' || before == '.') return 0;
        }
        return length;
    }
    bool NumberStarts() const { return DigitAt(i_) || SignLength() > 0; }

    void Word() {
        std::string word;
        while (i_ < s_.size() && (IsLetter(s_[i_]) || IsDigit(s_[i_]) || s_[i_] == '.')) {
            // A point ends the word unless a letter follows it ("c.g.", "in.").
            if (s_[i_] == '.' && DigitAt(i_)) break;
            word.push_back(Lower(s_[i_]));
            out_.push_back(s_[i_++]);
        }
        while (!word.empty() && word.back() == '.')
            word.pop_back();
        if (word == "at") afterAt_ = true;
    }

    // One figure, its unit word (if any) after it; false where the text cannot be read.
    bool Figure() {
        const size_t signLength = SignLength();
        const std::string sign(s_.substr(i_, signLength));
        // A figure inside a word ("N733BM", "B737") is a name, not a figure.
        if (signLength == 0 && i_ > 0 && (IsLetter(s_[i_ - 1]) || IsDigit(s_[i_ - 1]))) {
            out_.push_back(s_[i_++]);  // a point ("1.2.3"), or the first digit
            while (i_ < s_.size() && (IsLetter(s_[i_]) || IsDigit(s_[i_])))
                out_.push_back(s_[i_++]);
            return true;
        }
        size_t j = i_ + signLength;
        const size_t start = j;
        bool point = false;
        while (j < s_.size() && (IsDigit(s_[j]) || (s_[j] == '.' && !point && DigitAt(j + 1)))) {
            if (s_[j] == '.') point = true;
            ++j;
        }
        const std::string_view magnitude = s_.substr(start, j - start);
        // A decimal comma or a thousands separator: not one figure as the computation reads it.
        if (j + 1 < s_.size() && s_[j] == ',' && (IsDigit(s_[j + 1]) || s_[j + 1] == '.')) return false;
        // A figure right after a comma or a point ("21,.5", "..2"): no figure a mechanic writes so.
        if (start > 0 && (s_[start - 1] == ',' || s_[start - 1] == '.')) return false;
        size_t k = j;
        while (k < s_.size() && (s_[k] == ' ' || s_[k] == '\t'))
            ++k;
        // Two figures with only blanks between are read as one by the computation.
        if (k > j && DigitAt(k)) return false;
        if (k < s_.size() && s_[k] == '%') {
            out_ += sign;
            out_ += magnitude;
            i_ = j;
            return true;
        }
        // The unit word: letters right after the figure or after blanks, or the inch mark.
        size_t w = k;
        std::string word;
        if (w < s_.size() && s_[w] == '"') {
            word = "\"";
            ++w;
        } else {
            while (w < s_.size() && (IsLetter(s_[w]) || (s_[w] == '.' && !word.empty() && !DigitAt(w)))) {
                word.push_back(Lower(s_[w]));
                ++w;
            }
        }
        std::optional<UnitWord> unit = word.empty() ? std::nullopt : UnitOf(word);
        if (unit && !Belongs(*unit, from_)) return false;
        // Letters stuck to a figure that are no unit ("12abc", "1E3").
        if (!unit && k == j && !word.empty()) return false;
        Quantity q = q_;
        if (unit) {
            q = unit->q;
        } else if (afterAt_) {
            q = Quantity::Weight;
        } else if (strict_) {
            return false;
        }
        afterAt_ = false;
        out_ += sign;
        out_ += Converted(magnitude, FactorOf(from_, q), FactorOf(to_, q));
        i_ = j;
        if (unit) {
            // The blanks as typed, then the unit of the new system (the inch mark gets a blank).
            out_ += s_.substr(j, k - j);
            if (word == "\"") out_ += " ";
            out_ += q == Quantity::Weight ? WeightUnit(to_) : ArmUnit(to_);
            i_ = w;
            // A word right after the inch mark stays a word of its own.
            if (i_ < s_.size() && IsLetter(s_[i_])) out_ += " ";
        }
        return true;
    }

    std::string_view s_;
    Quantity q_;
    UnitSystem from_, to_;
    bool strict_ = false;
    bool afterAt_ = false;
    size_t i_ = 0;
    std::string out_;
};

std::string Trimmed(std::string_view text) {
    const size_t b = text.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    const size_t e = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(b, e - b + 1));
}

// The notes without an earlier conversion's note, with the new one on a line of its own.
std::string NotesWith(std::string_view notes, std::string_view note) {
    std::string kept;
    size_t from = 0;
    while (from <= notes.size()) {
        size_t end = notes.find('\n', from);
        if (end == std::string_view::npos) end = notes.size();
        const std::string_view line = notes.substr(from, end - from);
        if (line.substr(0, kConvertedNote.size()) != kConvertedNote) {
            kept += line;
            if (end < notes.size()) kept += '\n';
        }
        from = end + 1;
    }
    while (!kept.empty() && (kept.back() == '\n' || kept.back() == '\r'))
        kept.pop_back();
    return kept.empty() ? std::string(note) : kept + "\n" + std::string(note);
}

}  // namespace

double ConvertValue(double value, Quantity q, UnitSystem from, UnitSystem to) {
    if (from == to) return value;
    return value * LeadingNumber(FactorOf(from, q).value) / LeadingNumber(FactorOf(to, q).value);
}

std::string FactorsText(UnitSystem from, UnitSystem to) {
    const UnitSystem metric = from == UnitSystem::PoundInch ? to : from;
    const UnitSystem other = from == UnitSystem::PoundInch ? from : to;
    if (other != UnitSystem::PoundInch) return "1 m = 1000 mm";
    return metric == UnitSystem::KilogramMetre ? "1 lb = 0.45359237 kg, 1 in = 0.0254 m"
                                               : "1 lb = 0.45359237 kg, 1 in = 25.4 mm";
}

std::optional<std::string> ConvertNumber(std::string_view text, Quantity q, UnitSystem from, UnitSystem to) {
    if (!NumericText(text)) return std::nullopt;
    std::string clean = Trimmed(text);
    std::string sign;
    if (clean[0] == '+' || clean[0] == '-') {
        sign = clean.substr(0, 1);
        clean.erase(0, 1);
    }
    if (from == to) return sign + clean;
    return sign + Converted(clean, FactorOf(from, q), FactorOf(to, q));
}

std::optional<std::string> ConvertText(std::string_view text, Quantity q, UnitSystem from, UnitSystem to) {
    if (from == to) return std::string(text);
    if (NumericText(text)) return ConvertNumber(text, q, from, to);
    return TextConverter(text, q, from, to).Run();
}

namespace {

struct Converter {
    UnitSystem from, to;
    ConversionResult result;

    void Field(Worksheet& ws, wb::Field f, Quantity q, std::string_view name) {
        const std::string& text = ws.Get(f);
        if (text.empty()) return;
        if (auto converted = ConvertText(text, q, from, to)) {
            ws.Set(f, std::move(*converted));
        } else {
            result.leftAsTyped.emplace_back(name);
        }
    }

    void Cell(Entry& e, Quantity q, const std::string& name) {
        if (e.IsEmpty()) return;
        const std::string text = e.Text();
        if (auto converted = ConvertText(text, q, from, to)) {
            e = Entry(std::move(*converted));
        } else {
            result.leftAsTyped.push_back(name);
        }
    }
};

std::string RowName(std::string_view list, int row, std::string_view column) {
    return std::string(list) + " row " + std::to_string(row + 1) + ", " + std::string(column);
}

}  // namespace

ConversionResult ConvertWorksheet(Worksheet& ws, UnitSystem to, std::string_view note) {
    Converter c{Units(ws), to, {}};
    if (c.from == to) return {};
    using Q = Quantity;
    c.Field(ws, Field::Empty, Q::Weight, "Empty");
    c.Field(ws, Field::CG, Q::Arm, "C.G.");
    c.Field(ws, Field::MaxWt, Q::Weight, "Max Wgt");
    c.Field(ws, Field::BallastArm, Q::Arm, "Ballast arm");
    c.Field(ws, Field::Lemac, Q::Arm, "LEMAC");
    c.Field(ws, Field::Mac, Q::Arm, "MAC");
    c.Field(ws, Field::Range1, Q::Arm, "C.G. range landing");
    c.Field(ws, Field::Range2, Q::Arm, "C.G. range gear extended");
    c.Field(ws, Field::Range3, Q::Arm, "Empty weight C.G. range");

    RowStore& changes = ws.InstalledList();
    for (int r = 0; r < ShapeOf(GridId::Grid1).rows; ++r) {
        c.Cell(changes.At(r, installed::Weight), Q::Weight, RowName("Change list", r, "weight"));
        c.Cell(changes.At(r, installed::Arm), Q::Arm, RowName("Change list", r, "arm"));
    }
    RowStore& scales = ws.ScaleRows();
    RowStore& fluids = ws.FluidRows();
    for (int r = 0; r < ShapeOf(GridId::Grid2).rows; ++r) {
        c.Cell(scales.At(r, scale::Tar), Q::Weight, RowName("Scale", r, "tare"));
        c.Cell(scales.At(r, scale::Wgt), Q::Weight, RowName("Scale", r, "weight"));
        c.Cell(scales.At(r, scale::Arm), Q::Arm, RowName("Scale", r, "arm"));
        c.Cell(fluids.At(r, fluid::Wgt), Q::Weight, RowName("Fluid", r, "weight"));
        c.Cell(fluids.At(r, fluid::Arm), Q::Arm, RowName("Fluid", r, "arm"));
    }
    RowStore& items = ws.EquipmentList();
    for (int r = 0; r < ShapeOf(GridId::Grid3).rows; ++r) {
        c.Cell(items.At(r, equipment::Weight), Q::Weight, RowName("Equipment list", r, "weight"));
        c.Cell(items.At(r, equipment::Arm), Q::Arm, RowName("Equipment list", r, "arm"));
    }

    SetUnits(ws, to);
    ws.Set(Field::Memo, NotesWith(ws.Get(Field::Memo), note));
    for (GridId id : kAllGrids)
        ws.edit(id).EditCol = -1;
    ws.TypingStarted = false;
    ShowAllRows(ws);
    Recalculate(ws);
    return c.result;
}

}  // namespace wb
