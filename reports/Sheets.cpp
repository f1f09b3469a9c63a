#include "reports/Sheets.h"

#include "reports/PageBlocks.h"
#include "worksheet/Utf8.h"

namespace wb {
namespace {

const PageFont kStampFont{"Arial", 8, false, false};
constexpr double kStampGap = 60;

// A page that measures as the real one does and draws nothing.
class MeasuringPage : public Page {
  public:
    explicit MeasuringPage(const Page& real) : real_(real) {
        SetFont(real.Font());
        SetCurrentX(real.CurrentX());
        SetCurrentY(real.CurrentY());
    }
    double PrintableWidth() const override { return real_.PrintableWidth(); }
    double PrintableTop() const override { return real_.PrintableTop(); }
    double PrintableHeight() const override { return real_.PrintableHeight(); }

  protected:
    void DrawText(double, double, std::string_view, const PageFont&) override {}
    double MeasureWidth(std::string_view text, const PageFont& font) const override {
        return real_.WidthIn(text, font);
    }
    double LineHeight(const PageFont& font) const override { return real_.LineHeightIn(font); }
    void DrawLine(double, double, double, double, int) override {}
    void DrawRectangle(double, double, double, double, int) override {}
    void StartSheet() override {}
    void FinishDocument() override {}

  private:
    const Page& real_;
};

}  // namespace

double SheetRun::Bottom() const {
    return page_.PrintableTop() + page_.PrintableHeight() - page_.LineHeightIn(kStampFont) - kStampGap;
}

void SheetRun::Stamp() {
    if (total_ < 2) return;
    const PageFont font = page_.Font();
    page_.SetFont(kStampFont);
    const std::string stamp = Trimmed(in_.Get(Field::Tail)) + "  " + Trimmed(in_.Get(Field::Date)) +
                              "  Page " + std::to_string(sheet_) + " of " + std::to_string(total_);
    const double y = page_.PrintableTop() + page_.PrintableHeight() - page_.LineHeightIn(kStampFont);
    // Right-aligned, clear of the notes, which never pass x = 8000.
    PrintRightFitted(page_, 8100, kRuleRight, y, stamp);
    page_.SetFont(font);
}

void SheetRun::Next() {
    Stamp();
    page_.NewSheet();
    ++sheet_;
}

void SheetRun::Finish() {
    Stamp();
    page_.EndDocument();
}

void PrintInSheets(const ReportInput& in, Page& page, ReportBody body) {
    MeasuringPage measure(page);
    SheetRun count(measure, in, 0);
    body(in, count);
    SheetRun run(page, in, count.Sheet());
    body(in, run);
}

}  // namespace wb
