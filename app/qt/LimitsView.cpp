#include "app/qt/LimitsView.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "app/qt/MainWindow.h"
#include "app/qt/Units.h"
#include "app/qt/Widgets.h"
#include "reports/CgLimits.h"
#include "reports/qt/PainterPage.h"
#include "worksheet/Units.h"

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
                   .arg(QString::fromStdString(
                            WithUnit(SignedCg(*limits->newCg, limits->units), ArmUnit(limits->units))),
                        text);
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

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A caption wider than its button is drawn in a smaller size of the window's font, so that no
// unit is cut off; one that fits keeps the window's font.
void FitCaption(QPushButton* b) {
    QFont f = b->parentWidget()->font();
    const int room = b->width() - 12;  // clear of the edges, where the ground shows
    while (QFontMetrics(f).horizontalAdvance(b->text()) > room && f.pointSizeF() > 4)
        f.setPointSizeF(f.pointSizeF() - 0.25);
    b->setFont(f);
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
    arm->setGeometry(TwipRect(8460, 1410, 735, 285));
    Register(Control::Text30, arm);
    // The arm unit after each arm box of the panel.
    const auto unitAfter = [panel](const char* name, int top) {
        auto* unit = new QLabel(panel);
        unit->setObjectName(QString::fromLatin1(name));
        unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        unit->setGeometry(TwipRect(9225, top, 270, 285));
    };
    unitAfter("Label30Unit", 1410);
    cgSpecsIndication_ = WrappedLabel(panel, "CgSpecsIndication", TwipRect(7275, 1800, 2220, 900));
    cgBallast_ = WrappedLabel(panel, "CgBallast", TwipRect(7275, 2760, 2220, 960));

    // The unit system, the mean aerodynamic chord and the conversion, under the ballast.
    QLabel* unitsLabel = MakeLabel(panel, "Label31", QStringLiteral("Units:"), TwipRect(7275, 3750, 780, 300),
                                   Qt::AlignLeft | Qt::AlignVCenter);
    auto* units = new QComboBox(panel);
    units->setObjectName(QStringLiteral("UnitChoice"));
    units->setAccessibleName(QStringLiteral("Unit system"));
    units->setToolTip(QStringLiteral("The units the figures are typed in; nothing is converted"));
    for (UnitSystem u : kAllUnitSystems)
        units->addItem(Q(UnitsName(u)));
    units->setGeometry(TwipRect(8100, 3750, 1395, 300));
    unitsLabel->setBuddy(units);
    connect(units, &QComboBox::activated, this, [this](int index) { UnitsChosen(index); });
    Register(Control::UnitChoice, units);
    const struct {
        Control box;
        const char* labelName;
        const char* label;
        const char* unitName;
        int top;
    } chord[] = {{Control::Text35, "Label32", "LEMAC:", "Label32Unit", 4080},
                 {Control::Text36, "Label33", "MAC:", "Label33Unit", 4380}};
    for (const auto& c : chord) {
        QLabel* l = MakeLabel(panel, c.labelName, QString::fromLatin1(c.label),
                              TwipRect(7275, c.top, 1140, 285), Qt::AlignLeft | Qt::AlignVCenter);
        auto* box = new FieldEdit(c.box, *this, panel);
        l->setBuddy(box);
        box->setGeometry(TwipRect(8460, c.top, 735, 285));
        Register(c.box, box);
        unitAfter(c.unitName, c.top);
    }
    specsPercentMac_ = WrappedLabel(panel, "SpecsPercentMac", TwipRect(7275, 4680, 2220, 255));
    auto* convert = new QPushButton(QStringLiteral("Convert units..."), panel);
    convert->setObjectName(QStringLiteral("Command3D50"));
    convert->setAutoDefault(true);
    convert->setToolTip(
        QStringLiteral("A new Worksheet of this aircraft in other units, every figure converted exactly"));
    convert->setGeometry(TwipRect(7230, 5310, 1470, 330));
    connect(convert, &QPushButton::clicked, this, [this] { Click(Control::Command3D50); });
    Register(Control::Command3D50, convert);

    // The new C.G. on the chord, beside the new values.
    percentMac_ = new QLabel(worksheet_);
    percentMac_->setObjectName(QStringLiteral("PercentMac"));
    percentMac_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    percentMac_->setGeometry(TwipRect(60, 5850, 2400, 300));
}

void MainWindow::ShowUnits() {
    const UnitSystem u = form_.Units();
    const std::string_view w = WeightUnit(u), a = ArmUnit(u), m = MomentUnit(u);
    const std::pair<const char*, std::string> captions[] = {
        {"Command3D21", Captioned("Empty", w)},       {"Command3D24", Captioned("C.G.", a)},
        {"Command3D25", Captioned("Max Wgt", w)},     {"Command3D2", Captioned("Weight", w)},
        {"Command3D3", Captioned("Arm", a)},          {"Command3D4", Captioned("Moment", m)},
        {"Command3D6_1", Captioned("Tare", w)},       {"Command3D6_3", Captioned("Weight", w)},
        {"Command3D6_2", std::string(ArmToDatum(u))}, {"Command3D6_4", Captioned("Moment", m)},
        {"Command3D6_6", Captioned("Weight", w)},     {"Command3D6_7", std::string(ArmToDatum(u))},
        {"Command3D6_5", Captioned("Moment", m)},     {"Command3D37", Captioned("Weight", w)},
        {"Command3D36", Captioned("Arm", a)},         {"Command3D35", Captioned("Moment", m)},
    };
    for (const auto& [name, text] : captions) {
        auto* b = findChild<QPushButton*>(QString::fromLatin1(name));
        if (b == nullptr || b->text() == Q(text)) continue;
        b->setText(Q(text));
        FitCaption(b);
    }
    for (const char* name : {"Label30Unit", "Label32Unit", "Label33Unit"})
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(name)); l != nullptr && l->text() != Q(a))
            l->setText(Q(a));
    const std::string mac = form_.PercentMacText();
    const QString shown = mac.empty() ? QString() : Q(mac) + QStringLiteral(" % MAC");
    percentMac_->setText(shown.isEmpty() ? QString() : QStringLiteral("New C.G. ") + shown);
    specsPercentMac_->setText(shown.isEmpty() ? QString() : QStringLiteral("New C.G.\n") + shown);
}

void MainWindow::ShowLimits() {
    const std::optional<EmptyCgLimits> limits = EvaluateEmptyCg(form_.ws);
    ShowIndication(cgIndication_, limits, false);
    ShowIndication(cgSpecsIndication_, limits, true);
    cgBallast_->setText(limits ? QString::fromStdString(BallastText(*limits)) : QString());
    cgChart_->Show(limits);
}

}  // namespace wb::gui
