// Checks on what a report drew on the recording page.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "reports/RecordingPage.h"

namespace wb::test {

inline double WidthOn(const RecordedText& t) {
    double chars = 0;
    for (char c : t.text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++chars;
    return chars * t.font.size * RecordingPage::kCharWidthPerPoint;
}

// Some item with this text starts at (x, y).
inline ::testing::AssertionResult PrintedAt(const RecordingPage& page, const std::string& text, double x,
                                            double y) {
    auto failure = ::testing::AssertionFailure()
                   << "\"" << text << "\" not printed at (" << x << ", " << y << ")";
    for (const auto& t : page.Find(text)) {
        if (std::abs(t.y - y) >= 0.01) continue;
        if (std::abs(t.x - x) < 0.01) return ::testing::AssertionSuccess();
        failure << "; found at x " << t.x;
    }
    return failure;
}

// Some item with this text at y ends exactly at the right edge.
inline ::testing::AssertionResult RightAlignedAt(const RecordingPage& page, const std::string& text,
                                                 double right, double y) {
    auto failure = ::testing::AssertionFailure()
                   << "\"" << text << "\" not ending at " << right << " at y " << y;
    for (const auto& t : page.Find(text)) {
        if (std::abs(t.y - y) >= 0.01) continue;
        if (std::abs(t.x + WidthOn(t) - right) < 0.01) return ::testing::AssertionSuccess();
        failure << "; one ends at " << t.x + WidthOn(t);
    }
    return failure;
}

// The y of the heavy rule under the aircraft header, from which the report body is placed.
inline double BodyTop(const RecordingPage& page) {
    return page.One("Reg. Number:").y - 300 + 1300;
}

}  // namespace wb::test
