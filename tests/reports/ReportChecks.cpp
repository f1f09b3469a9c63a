#include "ReportChecks.h"

#include <algorithm>
#include <sstream>

#include "worksheet/Utf8.h"

namespace wb::test {
namespace {

struct Box {
    double left, top, right, bottom;
};

// Capitals' tops (a fifth of an em under y) to descenders' feet; end blanks have no ink. Two
// texts are compared with feet at 1.1 em; a rule with the feet at the bottom of the line, where
// a real font's descent ends (its height is ascent plus descent), so that a rule laid at the
// bottom of a line of "Date: ... Work Order: ..." is seen to touch its descenders.
bool InkBox(const RecordedText& t, Box& box, bool fullDescent = false) {
    const size_t first = t.text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    const size_t last = t.text.find_last_not_of(' ');
    const double em = t.font.size * 20, ch = t.font.size * RecordingPage::kCharWidthPerPoint;
    box.left = t.x + ch * static_cast<double>(CharCount(t.text.substr(0, first)));
    box.right = box.left + ch * static_cast<double>(CharCount(t.text.substr(first, last - first + 1)));
    box.top = t.y + 0.2 * em;
    box.bottom = t.y + (fullDescent ? t.font.size * RecordingPage::kLineHeightPerPoint : 1.1 * em);
    return true;
}

// A rule is as wide as its pen: a printer pixel at 600 dpi is 2.4 twips.
constexpr double kTwipsPerPixel = 2.4;

// Whether the segment from (x1, y1) to (x2, y2) passes through the inside of the box
// (Liang-Barsky clipping: the part of the segment within each pair of sides).
bool SegmentThrough(double x1, double y1, double x2, double y2, const Box& b) {
    double from = 0, to = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x1 - b.left, b.right - x1, y1 - b.top, b.bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] <= 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) from = std::max(from, t);
        else to = std::min(to, t);
        if (from >= to) return false;
    }
    return true;
}

bool Crosses(const RecordedLine& l, const Box& b) {
    const double half = l.pixels * kTwipsPerPixel / 2;
    if (l.y1 == l.y2)
        return l.y1 + half > b.top && l.y1 - half < b.bottom && std::max(l.x1, l.x2) > b.left &&
               std::min(l.x1, l.x2) < b.right;
    if (l.x1 == l.x2)
        return l.x1 + half > b.left && l.x1 - half < b.right && std::max(l.y1, l.y2) > b.top &&
               std::min(l.y1, l.y2) < b.bottom;
    // A sloped line (a chart's edge, an arrowhead): the box grown by half the pen.
    return SegmentThrough(l.x1, l.y1, l.x2, l.y2, {b.left - half, b.top - half, b.right + half, b.bottom + half});
}

std::string Describe(const RecordedText& t) {
    std::ostringstream s;
    s << "\"" << t.text.substr(0, 40) << "\" at (" << t.x << ", " << t.y << ") sheet " << t.sheet + 1;
    return s.str();
}

}  // namespace

std::vector<std::string> Overprints(const RecordingPage& page) {
    std::vector<std::string> faults;
    const double width = page.PrintableWidth(), top = page.PrintableTop(),
                 bottom = top + page.PrintableHeight();
    std::vector<RecordedLine> rules;
    for (const RecordedLine& l : page.lines()) {
        if (std::min(l.x1, l.x2) < 0 || std::max(l.x1, l.x2) > width || std::min(l.y1, l.y2) < top ||
            std::max(l.y1, l.y2) > bottom)
            faults.push_back("a rule leaves the page at y " + std::to_string(l.y1));
        if (!l.rectangle) {
            rules.push_back(l);
            continue;
        }
        rules.push_back({l.x1, l.y1, l.x2, l.y1, l.pixels, false, l.sheet});
        rules.push_back({l.x1, l.y2, l.x2, l.y2, l.pixels, false, l.sheet});
        rules.push_back({l.x1, l.y1, l.x1, l.y2, l.pixels, false, l.sheet});
        rules.push_back({l.x2, l.y1, l.x2, l.y2, l.pixels, false, l.sheet});
    }
    std::vector<std::pair<const RecordedText*, Box>> texts;
    for (const RecordedText& t : page.texts()) {
        Box b;
        if (InkBox(t, b)) texts.push_back({&t, b});
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto& [t, b] = texts[i];
        if (b.left < 0 || b.right > width || b.top < top || b.bottom > bottom)
            faults.push_back(Describe(*t) + " leaves the printable area");
        Box ink;
        InkBox(*t, ink, true);
        for (const RecordedLine& l : rules)
            if (l.sheet == t->sheet && Crosses(l, ink))
                faults.push_back(Describe(*t) + " crosses the rule at (" + std::to_string(l.x1) + ", " +
                                 std::to_string(l.y1) + ")");
        for (size_t j = i + 1; j < texts.size(); ++j) {
            const auto& [u, c] = texts[j];
            if (u->sheet == t->sheet && b.left < c.right && c.left < b.right && b.top < c.bottom &&
                c.top < b.bottom)
                faults.push_back(Describe(*t) + " overlaps " + Describe(*u));
        }
    }
    return faults;
}

Printed Printed::Read(const std::string& text) {
    Printed p;
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) ++i;
    bool point = false, digits = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            p.units = p.units * 10 + (c - '0');
            digits = true;
            if (point) ++p.decimals;
        } else {
            return Printed{};
        }
    }
    p.ok = digits;
    if (negative) p.units = -p.units;
    return p;
}

namespace {

Printed::Int Power10(int n) {
    Printed::Int p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

Printed Aligned(const Printed& p, int decimals) {
    Printed out = p;
    out.units = p.units * Power10(decimals - p.decimals);
    out.decimals = decimals;
    return out;
}

}  // namespace

Printed Printed::Times(const Printed& other) const {
    Printed out;
    out.units = units * other.units;
    out.decimals = decimals + other.decimals;
    out.ok = ok && other.ok;
    return out;
}

Printed Printed::Plus(const Printed& other) const {
    const int d = std::max(decimals, other.decimals);
    Printed out = Aligned(*this, d);
    out.units += Aligned(other, d).units;
    out.ok = ok && other.ok;
    return out;
}

Printed Printed::Minus(const Printed& other) const {
    Printed negated = other;
    negated.units = -other.units;
    return Plus(negated);
}

bool Printed::RoundsTo(const Printed& printed) const {
    if (!ok || !printed.ok) return false;
    if (printed.decimals >= decimals) return Aligned(*this, printed.decimals).units == printed.units;
    const Int unit = Power10(decimals - printed.decimals);
    const Int magnitude = units < 0 ? -units : units;
    Int rounded = (2 * magnitude + unit) / (2 * unit);
    if (units < 0) rounded = -rounded;
    return rounded == printed.units;
}

std::vector<std::string> ProductFaults(const RecordingPage& page, const NumberColumns& columns, int& lines) {
    std::vector<std::string> faults;
    lines = 0;
    auto rightEdge = [](const RecordedText& t) {
        return t.x + static_cast<double>(CharCount(t.text)) * t.font.size * RecordingPage::kCharWidthPerPoint;
    };
    // The text ending at `right` on the line of `row` (a shrunk number sits a little lower).
    auto at = [&](const RecordedText& row, double right) -> const RecordedText* {
        for (const RecordedText& t : page.texts())
            if (t.sheet == row.sheet && std::abs(t.y - row.y) < 60 && std::abs(rightEdge(t) - right) < 0.01 &&
                !t.text.empty())
                return &t;
        return nullptr;
    };
    auto totals = [&](const RecordedText& row) {
        for (const RecordedText& t : page.texts())
            if (t.sheet == row.sheet && std::abs(t.y - row.y) < 100 &&
                t.text.find("Aircraft Values") != std::string::npos)
                return true;
        return false;
    };
    for (const RecordedText& moment : page.texts()) {
        if (std::abs(rightEdge(moment) - columns.moment) > 0.01 || moment.text.empty() || totals(moment))
            continue;
        const RecordedText* weight = at(moment, columns.weight);
        const RecordedText* arm = at(moment, columns.arm);
        if (weight == nullptr || arm == nullptr) {
            faults.push_back(Describe(moment) + " has no weight or arm beside it");
            continue;
        }
        Printed net = Printed::Read(weight->text);
        if (columns.tare > 0)
            if (const RecordedText* tare = at(moment, columns.tare); tare && tare->text != "xxxxxxxx")
                net = net.Minus(Printed::Read(tare->text));
        ++lines;
        if (!net.Times(Printed::Read(arm->text)).RoundsTo(Printed::Read(moment.text)))
            faults.push_back(Describe(moment) + ": " + weight->text + " x " + arm->text + " is not " +
                             moment.text);
    }
    return faults;
}

}  // namespace wb::test
