// Checks on what a report drew on the recording page.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "reports/RecordingPage.h"

namespace wb::test {

// Some item with this text starts at (x, y).
inline ::testing::AssertionResult PrintedAt(const RecordingPage& page, const std::string& text, double x,
                                            double y) {
    for (const auto& t : page.Find(text))
        if (std::abs(t.y - y) < 0.01 && std::abs(t.x - x) < 0.01) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" not at (" << x << ", " << y << ")";
}

// Some item with this text at y ends exactly at the right edge, by the width of that text.
inline ::testing::AssertionResult RightAlignedAt(const RecordingPage& page, const std::string& text,
                                                 double right, double y) {
    for (const auto& t : page.Find(text)) {
        const double w = static_cast<double>(t.text.size()) * t.font.size * RecordingPage::kCharWidthPerPoint;
        if (std::abs(t.y - y) < 0.01 && std::abs(t.x + w - right) < 0.01)
            return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "\"" << text << "\" not ending at " << right << " at y " << y;
}

// The texts printed at y, in the order printed.
inline std::vector<std::string> LineAt(const RecordingPage& page, double y) {
    std::vector<std::string> texts;
    for (const auto& t : page.AtY(y))
        texts.push_back(t.text);
    return texts;
}

// Every overprint (ink boxes meeting, a rule through a text) and all off the printable area, one line each.
std::vector<std::string> Overprints(const RecordingPage& page);

// The right edges of the number columns of one table; tare 0 where the table has none.
struct NumberColumns {
    double weight, arm, moment, tare = 0;
};
// Every printed line of the table whose weight (less its tare) times its arm does not give
// its moment to the moment's printed digits, worked in the test's own exact arithmetic; the
// totals lines ("... Aircraft Values") are sums, not products, and are left out. `lines`
// counts the lines checked.
std::vector<std::string> ProductFaults(const RecordingPage& page, const NumberColumns& columns, int& lines);

// A printed number exactly: its digits as a whole count of its last decimal.
struct Printed {
    __extension__ typedef __int128 Int;
    Int units = 0;
    int decimals = 0;
    bool ok = false;  // the text is a number
    static Printed Read(const std::string& text);
    Printed Times(const Printed& other) const;
    Printed Plus(const Printed& other) const;
    Printed Minus(const Printed& other) const;
    // Rounded half away from zero to `decimals`, then compared with `printed`.
    bool RoundsTo(const Printed& printed) const;
};

// The y of the heavy rule under the aircraft header, from which the report body is placed.
inline double BodyTop(const RecordingPage& page) {
    return page.One("Reg. Number:").y + 1000;
}

}  // namespace wb::test
