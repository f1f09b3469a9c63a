// The printer as the reports see it: one document at a time, positions in twips from the
// top-left corner of the printable area, a current text position and a current font, as a
// classic printer object offers them. Reports draw through this port only, so that they can
// be checked on a recording page and printed on a real one.
#pragma once

#include <string>
#include <string_view>

namespace wb {

struct PageFont {
    std::string name = "Arial";
    double size = 10;  // points
    bool bold = false;
    bool italic = false;
    bool operator==(const PageFont&) const = default;
};

// How a printed item ends: the next item continues where this one ends (Stay), or x returns
// to the left edge and y moves down one line of the current font (NewLine).
enum class Ending { Stay, NewLine };

inline constexpr double kTwipsPerPoint = 20;

class Page {
  public:
    virtual ~Page() = default;

    // Twips are the only unit this port knows; the call stays so that a report states it.
    void SetUnitsTwips() { twips_ = true; }
    bool UnitsAreTwips() const { return twips_; }

    void SetFontName(std::string name) { font_.name = std::move(name); }
    void SetFontSize(double points) { font_.size = points; }
    void SetFontBold(bool on) { font_.bold = on; }
    void SetFontItalic(bool on) { font_.italic = on; }
    void SetFont(const PageFont& font) { font_ = font; }
    const PageFont& Font() const { return font_; }

    void SetCurrentX(double x) { x_ = x; }
    void SetCurrentY(double y) { y_ = y; }
    double CurrentX() const { return x_; }
    double CurrentY() const { return y_; }

    // Prints text (UTF-8) at the current position with its top at the current y.
    void Print(std::string_view text, Ending ending = Ending::NewLine);
    double TextWidth(std::string_view text) const { return MeasureWidth(text, font_); }
    double TextHeight(std::string_view text) const;
    // Extents in a given font, the current one left as it is.
    double WidthIn(std::string_view text, const PageFont& font) const { return MeasureWidth(text, font); }
    double LineHeightIn(const PageFont& font) const { return LineHeight(font); }

    // Pen width in printer pixels for the following lines and rectangles.
    void SetLineWidth(int pixels) { lineWidth_ = pixels < 1 ? 1 : pixels; }
    int LineWidth() const { return lineWidth_; }
    void Line(double x1, double y1, double x2, double y2) { DrawLine(x1, y1, x2, y2, lineWidth_); }
    void Rectangle(double x1, double y1, double x2, double y2) { DrawRectangle(x1, y1, x2, y2, lineWidth_); }

    virtual double PrintableWidth() const = 0;
    virtual double PrintableTop() const = 0;
    virtual double PrintableHeight() const = 0;

    // Continues the same document on a fresh sheet; the text position goes to the top-left.
    void NewSheet();
    // Finishes the document; later drawing is ignored.
    void EndDocument();
    bool Ended() const { return ended_; }
    // After a document's end, starts the next document of the same file on a fresh sheet: for
    // a page that binds several reports into one file.
    void ContinueWithNextDocument();

  protected:
    virtual void DrawText(double x, double y, std::string_view text, const PageFont& font) = 0;
    virtual double MeasureWidth(std::string_view text, const PageFont& font) const = 0;
    virtual double LineHeight(const PageFont& font) const = 0;
    virtual void DrawLine(double x1, double y1, double x2, double y2, int pixels) = 0;
    virtual void DrawRectangle(double x1, double y1, double x2, double y2, int pixels) = 0;
    virtual void StartSheet() = 0;
    virtual void FinishDocument() = 0;

  private:
    PageFont font_;
    double x_ = 0, y_ = 0;
    int lineWidth_ = 1;
    bool twips_ = false;
    bool ended_ = false;
};

// Where text of the current font starts so that it ends at x (right alignment by the width of
// the very text printed).
void PrintRightAligned(Page& page, double right, std::string_view text, Ending ending = Ending::Stay);
// Prints text centred across the printable width at the current y.
void PrintCentred(Page& page, std::string_view text, Ending ending = Ending::Stay);
// Moves to (x, y) and prints there.
void PrintAt(Page& page, double x, double y, std::string_view text, Ending ending = Ending::Stay);

}  // namespace wb
