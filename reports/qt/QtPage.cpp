#include "reports/qt/QtPage.h"

#include <QPen>
#include <algorithm>
#include <cmath>

namespace wb {
namespace {

constexpr double kTwipsPerInch = 1440;

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtPage::QtPage(QPrinter& printer, Progress& progress) : printer_(printer), progress_(progress) {
    progress_.Report(0, 0, "Printing sheet 1");
    const int dpi = printer_.resolution();
    pixelsPerTwip_ = dpi / kTwipsPerInch;
    const QRect paint = printer_.pageLayout().paintRectPixels(dpi);
    width_ = paint.width() / pixelsPerTwip_;
    height_ = paint.height() / pixelsPerTwip_;
    if (!painter_.begin(&printer_)) {
        Fail("The document could not be started.");
        return;
    }
    painter_.scale(pixelsPerTwip_, pixelsPerTwip_);
    painter_.setBrush(Qt::NoBrush);
    painter_.setRenderHint(QPainter::TextAntialiasing);
}

QtPage::~QtPage() {
    if (painter_.isActive()) painter_.end();
}

QFont QtPage::ToQFont(const PageFont& font) {
    QFont f(ToQString(font.name));
    // The painter is scaled to twips, so a point size would be scaled again: give the size
    // in units of the scaled space.
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * kTwipsPerPoint))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    // Unhinted outlines keep widths proportional to the size, as on paper.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

const QFontMetricsF& QtPage::Metrics(const PageFont& font) const {
    if (!metricsFont_ || !(*metricsFont_ == font)) {
        metrics_.emplace(ToQFont(font), &printer_);
        metricsFont_ = font;
    }
    return *metrics_;
}

void QtPage::DrawText(double x, double y, std::string_view text, const PageFont& font) {
    if (Failed() || text.empty()) return;
    // Setting the painter's font is dear and a report draws hundreds of texts in a few fonts.
    if (!painterFont_ || !(*painterFont_ == font)) {
        painter_.setFont(ToQFont(font));
        painterFont_ = font;
    }
    painter_.drawText(QPointF(x, y + Metrics(font).ascent()), ToQString(text));
}

double QtPage::MeasureWidth(std::string_view text, const PageFont& font) const {
    // Reports measure the same headings, captions and numbers again and again (a bound record
    // of hundreds of sheets); shaping a text is the dearest part of drawing it.
    std::string key = font.name;
    key += '\x1f';
    key += std::to_string(font.size) + (font.bold ? "b" : "") + (font.italic ? "i" : "");
    key += '\x1f';
    key += text;
    const auto found = widths_.find(key);
    if (found != widths_.end()) return found->second;
    const double width = Metrics(font).horizontalAdvance(ToQString(text));
    widths_.emplace(std::move(key), width);
    return width;
}

double QtPage::LineHeight(const PageFont& font) const {
    return Metrics(font).height();
}

void QtPage::UsePen(int pixels) {
    QPen pen(Qt::black);
    pen.setWidthF(pixels / pixelsPerTwip_);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
}

void QtPage::DrawLine(double x1, double y1, double x2, double y2, int pixels) {
    if (Failed()) return;
    UsePen(pixels);
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtPage::DrawRectangle(double x1, double y1, double x2, double y2, int pixels) {
    if (Failed()) return;
    UsePen(pixels);
    painter_.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
}

void QtPage::StartSheet() {
    if (Failed()) return;
    if (!printer_.newPage()) Fail("A new sheet could not be started.");
    // How many sheets there are is counted inside the report: only the sheet is known here.
    progress_.Report(0, 0, "Printing sheet " + std::to_string(++sheet_));
}

void QtPage::FinishDocument() {
    if (!painter_.isActive()) return;
    if (!painter_.end() && !Failed()) Fail("The document could not be finished.");
    if (!Failed() && printer_.printerState() == QPrinter::Error) Fail("The printer reported an error.");
}

void QtPage::Fail(std::string message) {
    if (!Failed()) error_ = std::move(message);
    if (painter_.isActive()) painter_.end();
}

}  // namespace wb
