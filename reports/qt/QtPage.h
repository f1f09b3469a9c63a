// The page on a Qt printer: one unit is one twip from the top-left corner of the printable
// area. Fonts are resolved by name through the system's font configuration (a request for
// Arial gets its metric-compatible substitute where Arial itself is missing).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <optional>
#include <string>
#include <unordered_map>

#include "reports/Page.h"
#include "worksheet/Progress.h"

namespace wb {

class QtPage : public Page {
  public:
    // Starts the document on the printer; Failed() tells whether it could be started. Each
    // sheet started is told on `progress`.
    explicit QtPage(QPrinter& printer, Progress& progress = NoProgress());
    ~QtPage() override;
    QtPage(const QtPage&) = delete;
    QtPage& operator=(const QtPage&) = delete;

    // A failure stops all further drawing and ends the document; the first one is kept.
    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }

    double PrintableWidth() const override { return width_; }
    double PrintableTop() const override { return 0; }
    double PrintableHeight() const override { return height_; }

    // The Qt font for a page font on this device: pixel size in twips.
    static QFont ToQFont(const PageFont& font);

  protected:
    void DrawText(double x, double y, std::string_view text, const PageFont& font) override;
    double MeasureWidth(std::string_view text, const PageFont& font) const override;
    double LineHeight(const PageFont& font) const override;
    void DrawLine(double x1, double y1, double x2, double y2, int pixels) override;
    void DrawRectangle(double x1, double y1, double x2, double y2, int pixels) override;
    void StartSheet() override;
    void FinishDocument() override;

  private:
    const QFontMetricsF& Metrics(const PageFont& font) const;
    void UsePen(int pixels);
    void Fail(std::string message);

    QPrinter& printer_;
    Progress& progress_;
    int sheet_ = 1;
    QPainter painter_;
    double pixelsPerTwip_ = 1;
    double width_ = 0, height_ = 0;
    std::string error_;
    // The metrics of the font last asked for; reports change fonts rarely.
    mutable std::optional<PageFont> metricsFont_;
    mutable std::optional<QFontMetricsF> metrics_;
    // The font the painter has now.
    std::optional<PageFont> painterFont_;
    // Widths measured, by font and text.
    mutable std::unordered_map<std::string, double> widths_;
};

}  // namespace wb
