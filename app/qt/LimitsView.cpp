#include "app/qt/LimitsView.h"

#include <QLabel>
#include <QPainter>

#include "app/qt/MainWindow.h"
#include "app/qt/Units.h"
#include "app/qt/Widgets.h"
#include "reports/CgLimits.h"
#include "reports/qt/PainterPage.h"

namespace wb::gui {

CgChartView::CgChartView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CgChart"));
}

void CgChartView::Show(const std::optional<EmptyCgLimits>& limits) {
    const bool same =
        limits_.has_value() == limits.has_value() &&
        (!limits || (limits_->range.Text() == limits->range.Text() &&
                     limits_->previousCg == limits->previousCg && limits_->newCg == limits->newCg));
    limits_ = limits;
    if (!same) update();
}

void CgChartView::paintEvent(QPaintEvent*) {
    if (!limits_) return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    // Drawn at the window's zoom, as every other control is placed.
    const double twipsPerPixel = kTwipsPerPixel * 100.0 / Zoom();
    PainterPage page(painter, twipsPerPixel, width() * twipsPerPixel, height() * twipsPerPixel);
    DrawEmptyCgChart(page, *limits_, 0, 0, page.PrintableWidth());
}

void ShowIndication(QLabel* label, const std::optional<EmptyCgLimits>& limits, bool withCg) {
    QString text = limits ? QString::fromStdString(IndicationText(*limits)) : QString();
    if (withCg && !text.isEmpty())
        text = QStringLiteral("New empty C.G. %1: %2")
                   .arg(QString::fromStdString(SignedArm(*limits->newCg)), text);
    const bool outside = limits && limits->Outside();
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, outside ? QColor(0xd0, 0, 0) : QColor(0, 0x80, 0));
    label->setPalette(p);
    QFont f = label->font();
    f.setBold(outside);
    label->setFont(f);
    label->setText(text);
    label->setVisible(!text.isEmpty());
}

// ---- the window's part -------------------------------------------------------------------

namespace {

QLabel* WrappedLabel(QWidget* parent, const char* name, const QRect& at) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(at);
    return l;
}

}  // namespace

// Beside the "New values", and on the specifications panel: the ballast arm box, the chart
// over the ranges, and what the range says of the new empty C.G. and its ballast.
void MainWindow::BuildLimits(QWidget* panel) {
    cgIndication_ = WrappedLabel(worksheet_, "CgIndication", TwipRect(7440, 5775, 2100, 480));

    cgChart_ = new CgChartView(panel);
    cgChart_->setGeometry(TwipRect(6390, 390, 3105, static_cast<int>(EmptyCgChartHeight())));

    QLabel* label = MakeLabel(panel, "Label30", QStringLiteral("Ballast arm:"),
                              TwipRect(7275, 1410, 1140, 285), Qt::AlignLeft | Qt::AlignVCenter);
    auto* arm = new FieldEdit(Control::Text30, *this, panel);
    label->setBuddy(arm);
    arm->setGeometry(TwipRect(8460, 1410, 960, 285));
    Register(Control::Text30, arm);
    cgSpecsIndication_ = WrappedLabel(panel, "CgSpecsIndication", TwipRect(7275, 1800, 2220, 900));
    cgBallast_ = WrappedLabel(panel, "CgBallast", TwipRect(7275, 2760, 2220, 1200));
}

void MainWindow::ShowLimits() {
    const std::optional<EmptyCgLimits> limits = EvaluateEmptyCg(form_.ws);
    ShowIndication(cgIndication_, limits, false);
    ShowIndication(cgSpecsIndication_, limits, true);
    cgBallast_->setText(limits ? QString::fromStdString(BallastText(*limits)) : QString());
    cgChart_->Show(limits);
}

}  // namespace wb::gui
