#include "ReportChecks.h"

#include <algorithm>
#include <sstream>

#include "worksheet/Utf8.h"

namespace wb::test {
namespace {

struct Box {
    double left, top, right, bottom;
};

// Capitals' tops (a fifth of an em under y) to descenders' feet (1.1 em); end blanks have no ink.
bool InkBox(const RecordedText& t, Box& box) {
    const size_t first = t.text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    const size_t last = t.text.find_last_not_of(' ');
    const double em = t.font.size * 20, ch = t.font.size * RecordingPage::kCharWidthPerPoint;
    box.left = t.x + ch * static_cast<double>(CharCount(t.text.substr(0, first)));
    box.right = box.left + ch * static_cast<double>(CharCount(t.text.substr(first, last - first + 1)));
    box.top = t.y + 0.2 * em;
    box.bottom = t.y + 1.1 * em;
    return true;
}

bool Crosses(const RecordedLine& l, const Box& b) {
    if (l.y1 == l.y2)
        return l.y1 > b.top && l.y1 < b.bottom && std::max(l.x1, l.x2) > b.left &&
               std::min(l.x1, l.x2) < b.right;
    return l.x1 > b.left && l.x1 < b.right && std::max(l.y1, l.y2) > b.top && std::min(l.y1, l.y2) < b.bottom;
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
        for (const RecordedLine& l : rules)
            if (l.sheet == t->sheet && Crosses(l, b))
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

}  // namespace wb::test
