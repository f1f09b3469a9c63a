// The page port over a painter that is already drawing, on a widget or an image: one unit is
// one twip, so a picture drawn for paper is drawn the same on screen. One sheet, no document.
#pragma once

#include <QFontMetricsF>
#include <QPainter>
#include <optional>

#include "reports/Page.h"

namespace wb {

class PainterPage : public Page {
  public:
    // `twipsPerPixel`: how many twips one device pixel stands for (15 at 96 dpi). The area is
    // width by height twips from the painter's origin.
    PainterPage(QPainter& painter, double twipsPerPixel, double width, double height);
    ~PainterPage() override;
    PainterPage(const PainterPage&) = delete;
    PainterPage& operator=(const PainterPage&) = delete;

    double PrintableWidth() const override { return width_; }
    double PrintableTop() const override { return 0; }
    double PrintableHeight() const override { return height_; }

  protected:
    void DrawText(double x, double y, std::string_view text, const PageFont& font) override;
    double MeasureWidth(std::string_view text, const PageFont& font) const override;
    double LineHeight(const PageFont& font) const override;
    void DrawLine(double x1, double y1, double x2, double y2, int pixels) override;
    void DrawRectangle(double x1, double y1, double x2, double y2, int pixels) override;
    void StartSheet() override {}
    void FinishDocument() override {}

  private:
    const QFontMetricsF& Metrics(const PageFont& font) const;
    void UsePen(int pixels);

    QPainter& painter_;
    double twipsPerPixel_;
    double width_, height_;
    mutable std::optional<PageFont> metricsFont_;
    mutable std::optional<QFontMetricsF> metrics_;
};

}  // namespace wb
