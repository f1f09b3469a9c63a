#include "worksheet/Limits.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"
#include "worksheet/Units.h"

namespace wb {
namespace {

// The range text broken into what matters for reading a range.
struct Token {
    enum Kind {
        Number,     // an arm, with its sign
        Separator,  // "-", an en or em dash, "~", ".."; the words come as Word
        Word,       // letters, lower-cased ("in.", "c.g.", "to"); "@" is the word "at"
        Comma,
        Refused,  // a percent sign or a decimal comma: not a range of arms
        Grouped,  // a number written with thousands commas ("2,300"): only as a weight
    } kind;
    std::string text;  // Number: sign and digits as typed ("+35.0"); Word: the word
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsUnit(const std::string& w) {
    return w == "in" || w == "in." || w == "inch" || w == "inches" || w == "ins" || w == "ins." ||
           w == "mm" || w == "cm" || w == "m" || w == "m." || w == "metre" || w == "metres" || w == "meter" ||
           w == "meters" || w == "millimetre" || w == "millimetres" || w == "millimeter" ||
           w == "millimeters";
}

class Tokenizer {
  public:
    explicit Tokenizer(std::string_view s) : s_(s) {}

    std::vector<Token> Run() {
        while (i_ < s_.size())
            Next();
        return std::move(tokens_);
    }

  private:
    bool StartsNumber(size_t at) const {
        if (at < s_.size() && IsDigit(s_[at])) return true;
        return at + 1 < s_.size() && s_[at] == '.' && IsDigit(s_[at + 1]);
    }
    bool At(std::string_view bytes) const { return s_.substr(i_, bytes.size()) == bytes; }
    // A minus right after an arm (or its unit) joins two arms; anywhere else it signs one.
    bool SignAllowed() const { return !afterNumber_; }

    void Push(Token::Kind kind, std::string text = {}) {
        afterNumber_ = kind == Token::Number || (afterNumber_ && kind == Token::Word && IsUnit(text));
        tokens_.push_back({kind, std::move(text)});
    }

    void ReadNumber(char sign, size_t skip) {
        i_ += skip;
        size_t start = i_;
        while (i_ < s_.size() && IsDigit(s_[i_]))
            ++i_;
        // Thousands groups ("2,300") or a decimal comma ("35,0"): neither is an arm as written.
        if (i_ + 1 < s_.size() && s_[i_] == ',' && IsDigit(s_[i_ + 1])) {
            size_t j = i_, groups = 0;
            bool grouped = true;
            while (j < s_.size() && s_[j] == ',' && grouped) {
                size_t k = j + 1;
                while (k < s_.size() && IsDigit(s_[k]))
                    ++k;
                grouped = k - j - 1 == 3;
                if (grouped) j = k, ++groups;
            }
            const bool decimalNext = j < s_.size() && s_[j] == '.';
            if (groups > 0 && grouped && !decimalNext && i_ - start <= 3) {
                i_ = j;
                Push(Token::Grouped);
            } else {
                i_ = j;
                Push(Token::Refused);
            }
            return;
        }
        if (i_ + 1 < s_.size() && s_[i_] == '.' && IsDigit(s_[i_ + 1])) {
            ++i_;
            while (i_ < s_.size() && IsDigit(s_[i_]))
                ++i_;
        }
        Push(Token::Number, std::string(1, sign) + std::string(s_.substr(start, i_ - start)));
    }

    void Next() {
        const char c = s_[i_];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i_;
        } else if (At("\xE2\x80\x93") || At("\xE2\x80\x94")) {  // en and em dash
            i_ += 3;
            Push(Token::Separator);
        } else if (At("\xE2\x88\x92")) {  // the minus sign
            if (SignAllowed() && StartsNumber(i_ + 3)) {
                ReadNumber('-', 3);
            } else {
                i_ += 3;
                Push(Token::Separator);
            }
        } else if (c == '-') {
            if (SignAllowed() && StartsNumber(i_ + 1)) {
                ReadNumber('-', 1);
            } else {
                ++i_;
                Push(Token::Separator);
            }
        } else if (c == '+') {
            if (StartsNumber(i_ + 1)) {
                ReadNumber('+', 1);
            } else {
                ++i_;
            }
        } else if (StartsNumber(i_)) {
            ReadNumber('+', 0);
        } else if (c == '.' && At("..")) {
            while (i_ < s_.size() && s_[i_] == '.')
                ++i_;
            Push(Token::Separator);
        } else if (c == '~') {
            ++i_;
            Push(Token::Separator);
        } else if (c == '%') {
            ++i_;
            Push(Token::Refused);
        } else if (c == ',') {
            ++i_;
            Push(Token::Comma);
        } else if (c == '@') {
            ++i_;
            Push(Token::Word, "at");
        } else if (IsLetter(c)) {
            std::string word;
            while (i_ < s_.size() && (IsLetter(s_[i_]) || (s_[i_] == '.' && !StartsNumber(i_))))
                word.push_back(Lower(s_[i_++]));
            Push(Token::Word, std::move(word));
        } else {
            // Brackets, quotes, colons and any other character stand for nothing; a character
            // of several bytes is passed over whole.
            const unsigned char u = static_cast<unsigned char>(c);
            i_ += u < 0x80 ? 1 : u >= 0xF0 ? 4 : u >= 0xE0 ? 3 : u >= 0xC0 ? 2 : 1;
        }
    }

    std::string_view s_;
    size_t i_ = 0;
    bool afterNumber_ = false;
    std::vector<Token> tokens_;
};

bool IsWord(const Token& t, std::initializer_list<std::string_view> words) {
    if (t.kind != Token::Word) return false;
    return std::find(words.begin(), words.end(), t.text) != words.end();
}

// Whether a text starts, after blanks, with a number (a C.G. of 0 is a C.G.; an empty box is not).
bool HasLeadingNumber(std::string_view text) {
    size_t i = text.find_first_not_of(" \t\r\n");
    if (i == std::string_view::npos) return false;
    if (text[i] == '+' || text[i] == '-') ++i;
    if (i < text.size() && IsDigit(text[i])) return true;
    return i + 1 < text.size() && text[i] == '.' && IsDigit(text[i + 1]);
}

// A value as the result boxes show it, read back.
double AsShown(double value, std::string_view pattern) {
    return LeadingNumber(FormatNumber(value, pattern));
}

// Whether a C.G. lies within the range, allowing for the last bits of a double only.
bool WithinRange(double cg, const CgRange& range) {
    const double hair = 1e-9 * std::max({1.0, std::fabs(range.forward), std::fabs(range.aft)});
    return cg >= range.forward - hair && cg <= range.aft + hair;
}

}  // namespace

std::optional<CgRange> ReadCgRange(std::string_view text) {
    const std::vector<Token> tokens = Tokenizer(text).Run();
    for (const Token& t : tokens)
        if (t.kind == Token::Refused || IsWord(t, {"mac", "m.a.c.", "m.a.c"})) return std::nullopt;

    size_t i = 0;
    bool forwardAft = false;  // "Fwd 35.0 Aft 42.5"
    for (; i < tokens.size() && tokens[i].kind != Token::Number; ++i) {
        if (tokens[i].kind == Token::Grouped || IsWord(tokens[i], {"at"})) return std::nullopt;
        forwardAft = forwardAft || IsWord(tokens[i], {"fwd", "fwd.", "forward", "fore"});
    }
    if (i == tokens.size()) return std::nullopt;
    const Token& first = tokens[i++];

    while (i < tokens.size() && tokens[i].kind == Token::Word && IsUnit(tokens[i].text))
        ++i;
    if (forwardAft && i < tokens.size() && tokens[i].kind == Token::Comma) ++i;
    if (i == tokens.size()) return std::nullopt;
    const Token& joint = tokens[i++];
    const bool joined = joint.kind == Token::Separator ||
                        IsWord(joint, {"to", "thru", "through", "and", "until", "till"}) ||
                        (forwardAft && IsWord(joint, {"aft", "aft."}));
    if (!joined) return std::nullopt;
    // Words between the joint and the second arm ("aft limit 42.5"), but no weight.
    while (i < tokens.size() && tokens[i].kind == Token::Word && !IsWord(tokens[i], {"at"}))
        ++i;
    if (i == tokens.size() || tokens[i].kind != Token::Number) return std::nullopt;
    const Token& second = tokens[i++];

    // What follows may only qualify the range ("at 2300 lb"): any further number needs its
    // own "at", else the text holds more than one range.
    bool qualified = false;
    for (; i < tokens.size(); ++i) {
        if (IsWord(tokens[i], {"at"})) {
            qualified = true;
        } else if (tokens[i].kind == Token::Number || tokens[i].kind == Token::Grouped) {
            if (!qualified) return std::nullopt;
            qualified = false;
        }
    }

    CgRange range;
    range.forward = LeadingNumber(first.text);
    range.aft = LeadingNumber(second.text);
    range.forwardText = first.text;
    range.aftText = second.text;
    if (range.aft < range.forward) {
        std::swap(range.forward, range.aft);
        std::swap(range.forwardText, range.aftText);
    }
    return range;
}

std::optional<EmptyCgLimits> EvaluateEmptyCg(std::string_view rangeText, std::string_view previousCg,
                                             double newWeight, double newArm, std::string_view ballastArm,
                                             UnitSystem units) {
    const std::optional<CgRange> range = ReadCgRange(rangeText);
    if (!range) return std::nullopt;
    const UnitPatterns& p = PatternsOf(units);
    EmptyCgLimits out;
    out.range = *range;
    out.units = units;
    if (HasLeadingNumber(previousCg)) out.previousCg = LeadingNumber(previousCg);
    if (newWeight == 0) return out;

    const double cg = AsShown(newArm, p.newArm);
    out.newCg = cg;
    out.newWeight = AsShown(newWeight, p.newWeight);
    if (cg < range->forward) {
        out.status = EmptyCgLimits::Status::ForwardOfRange;
    } else if (cg > range->aft) {
        out.status = EmptyCgLimits::Status::AftOfRange;
    }
    // A C.G. shown beyond a limit typed to more decimals may itself be within: no ballast then.
    if (!out.Outside() || newWeight <= 0 || !HasLeadingNumber(ballastArm) || WithinRange(newArm, *range))
        return out;

    // The ballast is worked from the C.G. itself, not as shown: a C.G. shown on the limit
    // may still lie beyond it.
    Ballast b;
    b.arm = LeadingNumber(ballastArm);
    const double limit = out.PassedLimit();
    // Ballast moves the C.G. toward its own arm: it must sit beyond the limit, seen from the
    // C.G., or no amount of it reaches the range.
    if ((b.arm - limit) * (newArm - limit) >= 0) {
        b.state = Ballast::State::CannotReach;
    } else {
        b.exact = newWeight * (limit - newArm) / (b.arm - limit);
        // A hair of floating-point error must not cost a whole unit more.
        b.whole = std::max(1.0, std::ceil(b.exact - 1e-9));
        const auto cgWith = [&] { return (newWeight * newArm + b.whole * b.arm) / (newWeight + b.whole); };
        // The C.G. with the ballast aboard is checked before it is said to be within: while it
        // still lies beyond the limit passed, one unit more.
        const double hair = 1e-9 * std::max(1.0, std::fabs(limit));
        const auto stillBeyond = [&] {
            return (cgWith() - limit) * (newArm - limit) > 0 && std::fabs(cgWith() - limit) > hair;
        };
        for (int more = 0; more < 3 && stillBeyond(); ++more)
            b.whole += 1;
        b.cgWith = cgWith();
        // A range narrower than the last unit of ballast is stepped over, not reached.
        if (!WithinRange(b.cgWith, *range)) b.state = Ballast::State::CannotReach;
    }
    out.ballast = b;
    return out;
}

std::optional<EmptyCgLimits> EvaluateEmptyCg(const Worksheet& ws) {
    return EvaluateEmptyCg(ws.Get(Field::Range3), ws.Get(Field::CG), ws.values.NewWeight, ws.values.NewArm,
                           ws.Get(Field::BallastArm), Units(ws));
}

std::optional<double> ArmIn(std::string_view text) {
    if (!HasLeadingNumber(text)) return std::nullopt;
    return LeadingNumber(text);
}

std::optional<double> UsefulLoad(std::string_view maxWeight, double newWeight) {
    const std::optional<double> max = ArmIn(maxWeight);
    if (!max || *max == 0) return std::nullopt;
    return *max - newWeight;
}

namespace {

std::string Signed(double value, std::string_view pattern) {
    std::string text = FormatNumber(value, pattern);
    return text.front() == '-' ? text : "+" + text;
}

}  // namespace

std::string SignedArm(double value) {
    return Signed(value, pattern::Weight);
}

std::string SignedCg(double value, UnitSystem units) {
    return Signed(value, PatternsOf(units).cg);
}

std::string SignedArm(double value, UnitSystem units) {
    return Signed(value, PatternsOf(units).arm);
}

std::string CgRange::Text(UnitSystem units) const {
    return Text() + " " + std::string(ArmUnit(units));
}

std::string IndicationText(const EmptyCgLimits& limits) {
    if (!limits.newCg) return {};
    if (!limits.Outside()) return "within empty weight C.G. range";
    return "OUTSIDE empty weight C.G. range " + limits.range.Text(limits.units);
}

std::string BallastText(const EmptyCgLimits& limits) {
    if (!limits.ballast) return {};
    const Ballast& b = *limits.ballast;
    const UnitSystem u = limits.units;
    const std::string arm = WithUnit(SignedArm(b.arm, u), ArmUnit(u));
    if (b.state == Ballast::State::CannotReach)
        return "Ballast at " + arm + " cannot bring the C.G. within the range";
    return "Ballast needed at " + arm + ": " +
           WithUnit(FormatNumber(b.exact, PatternsOf(u).weight), WeightUnit(u)) + ", rounded up to " +
           WithUnit(FormatNumber(b.whole, "#####0"), WeightUnit(u)) + "; C.G. with ballast " +
           WithUnit(SignedCg(b.cgWith, u), ArmUnit(u));
}

}  // namespace wb
