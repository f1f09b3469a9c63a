// The weighing record through the real window: a scale kept in set-up, chosen for the scale
// rows of a weighing with its conditions, the warnings told at the save, the reweigh advice in
// the history panel and the aircraft in the due list. With WB_SHOTS naming a folder, each
// panel is kept there as a picture.
#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>

#include "app/MainForm.h"
#include "app/ReportFromScreen.h"
#include "reports/Reports.h"
#include "reports/WeighingReports.h"
#include "reports/qt/PrintReport.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/WindowDriver.h"
#include "worksheet/Balance.h"

using wb::Control;

class WeighingWindowTest : public QObject, public wb::test::WindowDriver {
    Q_OBJECT

  private slots:
    void chooseScalesWeighSaveAndSeeTheWarning();
    // The window goes before the form it shows, which the members would end first.
    void cleanupTestCase() { window.reset(); }

  private:
    void Shot(const char* panel, const char* file) {
        const QByteArray folder = qgetenv("WB_SHOTS");
        if (!folder.isEmpty()) window->grab().save(QString::fromUtf8(folder) + "/" + file);
        QVERIFY(find(panel)->isVisible());
    }
    void Pdf(const wb::ReportInput& input, wb::ReportDrawing report, const char* file) {
        const QByteArray folder = qgetenv("WB_SHOTS");
        if (!folder.isEmpty())
            QVERIFY(wb::PrintToPdfFile(folder.toStdString() + "/" + file, input, report).ok());
    }
    void Row(wb::GridId grid, int n, std::initializer_list<int> cols,
             std::initializer_list<const char*> texts) {
        auto text = texts.begin();
        for (int c : cols)
            form->ws.store(grid).At(n, c) = *text++;
        wb::CommitRowMoment(form->ws, grid, n);
    }

    QTemporaryDir temp;
    wb::test::ScriptedDialogs dialogs;
    wb::test::FixedClock clock{{2026, 12, 7}};
    std::unique_ptr<wb::MainForm> form;
};

void WeighingWindowTest::chooseScalesWeighSaveAndSeeTheWarning() {
    MakeShopFolder(temp.path().toStdString());
    form = std::make_unique<wb::MainForm>(dialogs, clock);
    form->workingFolder = temp.path().toStdString();
    window = std::make_unique<wb::gui::MainWindow>(*form);
    form->Activate();
    ShowActive();
    window->Refresh();

    // Set-up, Scales: two scales typed and kept.
    click("Command3D18");
    click("ScalesButton");
    const char* scales[][5] = {{"A-100", "Acme WS-1", "1000", "01-10-2024", ""},
                               {"B-200", "Brand P-5", "2500", "06-01-2025", "12"}};
    for (const auto& scale : scales) {
        click("ScaleNew");
        for (int i = 0; i < 5; ++i) {
            auto* box = find<QLineEdit>(QStringLiteral("ScaleBox%1").arg(i).toLatin1().constData());
            box->setFocus();
            QTest::keyClicks(box, QString::fromLatin1(scale[i]));
        }
        click("ScaleKeep");
    }
    QTRY_COMPARE(find<QTreeWidget>("ScaleList")->topLevelItemCount(), 2);
    QCOMPARE(find<QTreeWidget>("ScaleList")->topLevelItem(0)->text(5), QStringLiteral("01-10-2026"));
    Shot("ScalesPanel", "scales.png");
    click("ScalesClose");
    click("SetupClose");

    // A weighing of 02-15-2026: the mains on A-100, the nose on no scale.
    form->SetText(Control::Text1, "N36");
    form->SetText(Control::Text7, "02-15-2026");
    form->SetText(Control::Text11, "2000");
    click("Command3D23");
    Row(wb::GridId::Grid2, 0, {wb::scale::Tar, wb::scale::Wgt, wb::scale::Arm}, {"2", "612", "80"});
    Row(wb::GridId::Grid2, 1, {wb::scale::Tar, wb::scale::Wgt, wb::scale::Arm}, {"2", "610", "80"});
    Row(wb::GridId::Grid2, 2, {wb::scale::Tar, wb::scale::Wgt, wb::scale::Arm}, {"0", "290", "30"});
    wb::Recalculate(form->ws);
    window->Refresh();
    Shot("Panel3D6", "specifications.png");
    click("WeighingButton");
    for (const char* row : {"ScaleChoice1", "ScaleChoice2"}) {
        auto* combo = find<QComboBox>(row);
        const int at = combo->findData(QStringLiteral("A-100"));
        QVERIFY(at > 0);
        combo->setCurrentIndex(at);
        emit combo->activated(at);
    }
    QTRY_COMPARE(form->ws.Get(wb::Field::Scale2), std::string("A-100"));
    auto* levelled = find<QWidget>("WeighingPanel")->findChildren<QLineEdit*>().value(0);
    QVERIFY(levelled != nullptr);
    levelled->setFocus();
    QTest::keyClicks(levelled, QStringLiteral("Spirit level on the seat rails"));
    form->ws.Set(wb::Field::FuelState, std::string(wb::kFuelDrained));
    form->ws.Set(wb::Field::Oil, std::string(wb::kOilFull));
    form->ws.Set(wb::Field::WeighPlace, std::string(wb::kIndoors));
    form->ws.Set(wb::Field::WeighedBy, "J. Smith");
    form->ws.Set(wb::Field::Temperature, "18 C");
    form->ws.Set(wb::Field::ReweighMonths, "48");
    window->Refresh();
    QTRY_COMPARE(form->ws.Get(wb::Field::Levelling), std::string("Spirit level on the seat rails"));
    const QString warnings = find<QLabel>("WeighingWarnings")->text();
    QVERIFY2(warnings.contains(QStringLiteral("36 days past its calibration")), qPrintable(warnings));
    QVERIFY2(warnings.contains(QStringLiteral("Nose: no scale is named")), qPrintable(warnings));
    Shot("WeighingPanel", "weighing.png");
    click("WeighingClose");
    click("Command3D23");

    // The save goes through, and then tells the warnings.
    dialogs.shown.clear();
    click("Command3D13");
    QVERIFY2(form->ScreenSaved == 1,
             dialogs.shown.empty() ? "nothing said" : dialogs.shown.back().text.c_str());
    QCOMPARE(dialogs.Titles(), std::vector<std::string>{"Weighing warnings"});
    QVERIFY(dialogs.shown.back().text.find("Scale A-100 (Acme WS-1): calibrated 01-10-2024") !=
            std::string::npos);
    // The report's weighing section prints the scales, the conditions and the warnings.
    const wb::ReportInput report = wb::ReportFromScreen(*form);
    std::string section;
    for (const wb::WeighingLine& line : report.weighingLines)
        section += line.text + "\n";
    QVERIFY2(section.find("Right Main: scale A-100 (Acme WS-1), calibrated 01-10-2024\nLeft Main") !=
                 std::string::npos,
             section.c_str());
    QVERIFY2(section.find("Fuel: drained to unusable") != std::string::npos, section.c_str());
    QVERIFY2(section.find("Warning: Nose: no scale is named") != std::string::npos, section.c_str());
    Pdf(report, wb::PrintCalculationReport, "calculation.pdf");

    // Later changes of +11 and +0.5 lb on 2,000 lb: over 0.5 %, a reweighing advised; due
    // 02-15-2030.
    form->Clicked(Control::Command3D19);
    form->SetText(Control::Text1, "N36");
    form->SetText(Control::Text7, "06-01-2026");
    form->SetText(Control::Text11, "2000");
    form->SetText(Control::Text9, "1508");
    form->SetText(Control::Text10, "70.38");
    wb::RebuildPreviousEmptyRow(form->ws, wb::Field::Empty);
    Row(wb::GridId::Grid1, 1,
        {wb::installed::Description, wb::installed::Weight, wb::installed::Arm, wb::installed::Install},
        {"Radio", "11", "40", "X"});
    Row(wb::GridId::Grid1, 2,
        {wb::installed::Description, wb::installed::Weight, wb::installed::Arm, wb::installed::Install},
        {"Placard", "0.5", "60", "X"});
    wb::Recalculate(form->ws);
    // Half a pound on an empty weight under 5,000 lb is negligible; 11 lb is not.
    const wb::ReportInput changes = wb::ReportFromScreen(*form);
    QCOMPARE(changes.negligible.at(1), false);
    QCOMPARE(changes.negligible.at(2), true);
    Pdf(changes, wb::PrintFullChangeReport, "changes.pdf");
    form->Clicked(Control::Command3D13);
    QCOMPARE(form->ScreenSaved, 1);
    click("Command3D41");
    const QString summary = find<QLabel>("HistorySummary")->text();
    QVERIFY2(summary.contains(QStringLiteral("Reweigh advised: weight +11.50 lb")), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("Next weighing due 02-15-2030")), qPrintable(summary));
    Shot("Panel3D12", "history.png");
    click("Command3D41");

    click("DueButton");
    auto* due = find<QTreeWidget>("DueList");
    QCOMPARE(due->topLevelItemCount(), 1);
    QCOMPARE(due->topLevelItem(0)->text(0), QStringLiteral("N36"));
    QCOMPARE(due->topLevelItem(0)->text(4), QStringLiteral("02-15-2030"));
    Shot("DuePanel", "due.png");
    Pdf(wb::ReportFromScreen(*form), wb::PrintDueList, "due.pdf");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!find("DuePanel")->isVisible());
}

QTEST_MAIN(WeighingWindowTest)
#include "WeighingWindowTest.moc"
