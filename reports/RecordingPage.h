// A page that keeps everything drawn on it, with text metrics that depend only on the text
// and the font size, so that tests can check positions to the twip.
#pragma once

#include <string>
#include <vector>

#include "reports/Page.h"

namespace wb {

struct RecordedText {
    double x = 0, y = 0;
    std::string text;
    PageFont font;
    int sheet = 0;  // 0 for the first sheet
};

struct RecordedLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int pixels = 1;
    bool rectangle = false;
    int sheet = 0;
};

class RecordingPage : public Page {
  public:
    // Every character is half an em wide; a line is 1.15 em high.
    static constexpr double kCharWidthPerPoint = 10;
    static constexpr double kLineHeightPerPoint = 23;

    RecordingPage(double width = 11520, double height = 15120, double top = 0)
        : width_(width), height_(height), top_(top) {}

    double PrintableWidth() const override { return width_; }
    double PrintableTop() const override { return top_; }
    double PrintableHeight() const override { return height_; }

    const std::vector<RecordedText>& texts() const { return texts_; }
    const std::vector<RecordedLine>& lines() const { return lines_; }
    int sheets() const { return sheet_ + 1; }
    int endCount() const { return endCount_; }

    // Every printed item with this exact text, in the order printed.
    std::vector<RecordedText> Find(const std::string& text) const;
    // The only printed item with this text; a test failure if there is none or more.
    RecordedText One(const std::string& text) const;
    // Items printed at this y (to a hundredth of a twip), in the order printed; empty texts skipped.
    std::vector<RecordedText> AtY(double y) const;
    bool HasLine(double x1, double y1, double x2, double y2, int pixels, bool rectangle = false) const;

  protected:
    void DrawText(double x, double y, std::string_view text, const PageFont& font) override;
    double MeasureWidth(std::string_view text, const PageFont& font) const override;
    double LineHeight(const PageFont& font) const override { return font.size * kLineHeightPerPoint; }
    void DrawLine(double x1, double y1, double x2, double y2, int pixels) override;
    void DrawRectangle(double x1, double y1, double x2, double y2, int pixels) override;
    void StartSheet() override { ++sheet_; }
    void FinishDocument() override { ++endCount_; }

  private:
    double width_, height_, top_;
    std::vector<RecordedText> texts_;
    std::vector<RecordedLine> lines_;
    int sheet_ = 0;
    int endCount_ = 0;
};

}  // namespace wb
