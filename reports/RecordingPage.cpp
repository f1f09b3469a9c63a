#include "reports/RecordingPage.h"

#include <cmath>
#include <stdexcept>

namespace wb {
namespace {

bool Near(double a, double b) {
    return std::fabs(a - b) < 0.01;
}

// Characters, not bytes: a continuation byte of UTF-8 starts no character.
size_t CharCount(std::string_view text) {
    size_t n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

std::vector<RecordedText> RecordingPage::Find(const std::string& text) const {
    std::vector<RecordedText> found;
    for (const auto& t : texts_)
        if (t.text == text) found.push_back(t);
    return found;
}

RecordedText RecordingPage::One(const std::string& text) const {
    auto found = Find(text);
    if (found.size() != 1)
        throw std::runtime_error("\"" + text + "\" printed " + std::to_string(found.size()) + " times");
    return found.front();
}

std::vector<RecordedText> RecordingPage::AtY(double y) const {
    std::vector<RecordedText> found;
    for (const auto& t : texts_)
        if (Near(t.y, y) && !t.text.empty()) found.push_back(t);
    return found;
}

bool RecordingPage::HasLine(double x1, double y1, double x2, double y2, int pixels, bool rectangle) const {
    for (const auto& l : lines_)
        if (Near(l.x1, x1) && Near(l.y1, y1) && Near(l.x2, x2) && Near(l.y2, y2) && l.pixels == pixels &&
            l.rectangle == rectangle)
            return true;
    return false;
}

void RecordingPage::DrawText(double x, double y, std::string_view text, const PageFont& font) {
    texts_.push_back({x, y, std::string(text), font, sheet_});
}

double RecordingPage::MeasureWidth(std::string_view text, const PageFont& font) const {
    return static_cast<double>(CharCount(text)) * font.size * kCharWidthPerPoint;
}

void RecordingPage::DrawLine(double x1, double y1, double x2, double y2, int pixels) {
    lines_.push_back({x1, y1, x2, y2, pixels, false, sheet_});
}

void RecordingPage::DrawRectangle(double x1, double y1, double x2, double y2, int pixels) {
    lines_.push_back({x1, y1, x2, y2, pixels, true, sheet_});
}

}  // namespace wb
