#include "reports/Page.h"

namespace wb {

void Page::Print(std::string_view text, Ending ending) {
    if (ended_) return;
    DrawText(x_, y_, text, font_);
    if (ending == Ending::Stay) {
        x_ += MeasureWidth(text, font_);
    } else {
        x_ = 0;
        y_ += LineHeight(font_);
    }
}

double Page::TextHeight(std::string_view text) const {
    // Each line break in the text adds one line, as a printer's text extent does.
    int lines = 1;
    for (char c : text)
        if (c == '\n') ++lines;
    return lines * LineHeight(font_);
}

void Page::NewSheet() {
    if (ended_) return;
    StartSheet();
    x_ = 0;
    y_ = 0;
}

void Page::EndDocument() {
    if (ended_) return;
    FinishDocument();
    ended_ = true;
}

void Page::ContinueWithNextDocument() {
    if (!ended_) return;
    ended_ = false;
    StartSheet();
    x_ = 0;
    y_ = 0;
}

void PrintRightAligned(Page& page, double right, std::string_view text, Ending ending) {
    page.SetCurrentX(right - page.TextWidth(text));
    page.Print(text, ending);
}

void PrintCentred(Page& page, std::string_view text, Ending ending) {
    page.SetCurrentX((page.PrintableWidth() - page.TextWidth(text)) / 2);
    page.Print(text, ending);
}

void PrintAt(Page& page, double x, double y, std::string_view text, Ending ending) {
    page.SetCurrentX(x);
    page.SetCurrentY(y);
    page.Print(text, ending);
}

}  // namespace wb
