#include "reports/qt/PainterPage.h"

#include <QPen>
#include <algorithm>

#include "reports/qt/QtPage.h"

namespace wb {

PainterPage::PainterPage(QPainter& painter, double twipsPerPixel, double width, double height)
    : painter_(painter), twipsPerPixel_(twipsPerPixel), width_(width), height_(height) {
    painter_.save();
    painter_.scale(1 / twipsPerPixel_, 1 / twipsPerPixel_);
    painter_.setBrush(Qt::NoBrush);
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::TextAntialiasing);
}

PainterPage::~PainterPage() {
    painter_.restore();
}

const QFontMetricsF& PainterPage::Metrics(const PageFont& font) const {
    if (!metricsFont_ || !(*metricsFont_ == font)) {
        metrics_.emplace(QtPage::ToQFont(font), painter_.device());
        metricsFont_ = font;
    }
    return *metrics_;
}

void PainterPage::DrawText(double x, double y, std::string_view text, const PageFont& font) {
    if (text.empty()) return;
    painter_.setFont(QtPage::ToQFont(font));
    painter_.drawText(QPointF(x, y + Metrics(font).ascent()),
                      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

double PainterPage::MeasureWidth(std::string_view text, const PageFont& font) const {
    return Metrics(font).horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

double PainterPage::LineHeight(const PageFont& font) const {
    return Metrics(font).height();
}

void PainterPage::UsePen(int pixels) {
    // Pen widths are printer pixels; on a screen a heavy rule is two pixels, a thin one one.
    QPen pen(painter_.pen().color());
    pen.setWidthF(std::max(1, (pixels + 1) / 2) * twipsPerPixel_);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
}

void PainterPage::DrawLine(double x1, double y1, double x2, double y2, int pixels) {
    UsePen(pixels);
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterPage::DrawRectangle(double x1, double y1, double x2, double y2, int pixels) {
    UsePen(pixels);
    painter_.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
}

}  // namespace wb
