// The window in another unit system: every caption, heading and label follows it, the results
// are shown in its patterns, the new C.G. in % MAC beside them, and a MAC of no length is
// refused (MainFormTest). WB_SHOTS names a folder where pictures of the window and the specifications panel
// in kilograms and millimetres are kept.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "app/MainForm.h"
#include "app/qt/Zoom.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/WindowDriver.h"

using wb::Control;

class MetricWindowTest : public QObject, public wb::test::WindowDriver {
    Q_OBJECT

  private slots:
    void initTestCase() { UseFusion(); }
    void init();
    void cleanup();

    void theWindowFollowsTheUnitSystem();

  private:
    // The whole window at 150 %, as a screen of a shop shows it.
    void shot(const char* file) {
        const QString folder = qEnvironmentVariable("WB_SHOTS");
        if (folder.isEmpty()) return;
        window->SetZoomTo(150);
        QVERIFY(window->grab().save(folder + QLatin1Char('/') + QLatin1String(file)));
        window->SetZoomTo(100);
    }
    QString caption(const char* name) { return find<QPushButton>(name)->text(); }
    // The unit chooser moved by the keyboard, as the mechanic would.
    void chooseUnits(int index) {
        auto* units = find<QComboBox>("UnitChoice");
        units->setFocus();
        while (units->currentIndex() < index)
            QTest::keyClick(units, Qt::Key_Down);
    }

    std::unique_ptr<wb::test::ScriptedDialogs> dialogs;
    wb::test::FixedClock clock{{2026, 12, 6}};
    std::unique_ptr<wb::MainForm> form;
};

void MetricWindowTest::init() {
    dialogs = std::make_unique<wb::test::ScriptedDialogs>();
    form = std::make_unique<wb::MainForm>(*dialogs, clock);
    window = std::make_unique<wb::gui::MainWindow>(*form);
    ShowActive();
}

void MetricWindowTest::cleanup() {
    wb::gui::SetZoom(100);
    window.reset();
    form.reset();
    dialogs.reset();
}

// The AC 43.13 loading example in kilograms and millimetres (1169 lb at +10.6 in and three
// changes, converted exactly), with the wing's chord: the new values as the issue gives them.
void MetricWindowTest::theWindowFollowsTheUnitSystem() {
    QCOMPARE(caption("Command3D2"), QStringLiteral("Weight (lb)"));
    QCOMPARE(caption("Command3D24"), QStringLiteral("C.G. (in)"));

    type(QStringLiteral("n733bm\r17265432\rCessna\r172\r1978\r"));
    click("Command3D23");
    chooseUnits(1);
    QCOMPARE(form->Units(), wb::UnitSystem::KilogramMillimetre);
    QCOMPARE(caption("Command3D6_2"), QStringLiteral("Millimetres to Datum"));
    QCOMPARE(caption("Command3D35"), QStringLiteral("Moment (kg-mm)"));
    QCOMPARE(find<QLabel>("Label32Unit")->text(), QStringLiteral("mm"));
    find("Text16")->setFocus();
    type(QStringLiteral("+203.2 to +1193.8"));
    find("Text35")->setFocus();
    type(QStringLiteral("0\r1473.2\r"));
    clickCell("Grid3", 0, 0);
    type(QStringLiteral("Battery\rB-44\r11.34\r-1041.4\r"));
    type(QStringLiteral("ELT\rE-77\r1.36\r4089.4\r"));
    click("Command3D23");

    QCOMPARE(caption("Command3D2"), QStringLiteral("Weight (kg)"));
    QCOMPARE(caption("Command3D3"), QStringLiteral("Arm (mm)"));
    QCOMPARE(caption("Command3D4"), QStringLiteral("Moment (kg-mm)"));
    QCOMPARE(caption("Command3D21"), QStringLiteral("Empty (kg)"));
    QCOMPARE(caption("Command3D25"), QStringLiteral("Max Wgt (kg)"));
    // The empty weight at full precision, longer than a box takes typed: as a conversion writes it.
    form->SetText(Control::Text9, "530.24948053");
    window->Refresh();
    find("Text9")->setFocus();
    type(QStringLiteral("\r269.24\r1043.26\r"));
    clickCell("Grid1", 1, 0);
    type(QStringLiteral("Rear seat\rS-1\r7.71107029\r-1244.6\rX\r\r"));
    type(QStringLiteral("Baggage\rS-2\r77.1107029\r406.4\rX\r\r"));
    type(QStringLiteral("Oil\rS-3\r37.64816671\r558.8\rX\r\r"));
    QCOMPARE(text("Text23"), QStringLiteral("652.72"));
    QCOMPARE(text("Text27"), QStringLiteral("185542.8"));
    QCOMPARE(text("Text24"), QStringLiteral("284.26"));
    QCOMPARE(find<QLabel>("PercentMac")->text(), QStringLiteral("New C.G. 19.30 % MAC"));
    QCOMPARE(cell("Grid1", 1, 3), QStringLiteral("-1244.6"));
    shot("metric-worksheet.png");

    click("Command3D23");
    QCOMPARE(find<QLabel>("SpecsPercentMac")->text(), QStringLiteral("New C.G.\n19.30 % MAC"));
    shot("metric-units-panel.png");
}

QTEST_MAIN(MetricWindowTest)
#include "MetricWindowTest.moc"
