// The loading panel in the real window: opened from the specifications panel, a cell typed
// through its editor and the others set as an edit sets them, the checks and the chart shown.
// With WB_SHOTS=DIR it also keeps a picture of the panel ("loading-panel.png") there.
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QTableWidget>
#include <QTextBrowser>
#include <memory>

#include "app/MainForm.h"
#include "tests/support/LoadingSample.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/WindowDriver.h"
#include "worksheet/Balance.h"

class LoadingWindowTest : public QObject, public wb::test::WindowDriver {
    Q_OBJECT

  private slots:
    void initTestCase();
    void theTypedStationsShowTheChecksAndTheChart();
    void cleanupTestCase();

  private:
    wb::test::ScriptedDialogs dialogs;
    wb::test::FixedClock clock{{2026, 12, 6}};
    std::unique_ptr<wb::MainForm> form;
};

void LoadingWindowTest::initTestCase() {
    UseFusion();
    form = std::make_unique<wb::MainForm>(dialogs, clock);
    window = std::make_unique<wb::gui::MainWindow>(*form);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void LoadingWindowTest::cleanupTestCase() {
    window.reset();
    form.reset();
}

void LoadingWindowTest::theTypedStationsShowTheChecksAndTheChart() {
    // The figures' aircraft: 1169 lb at +10.6, maximum 2100 lb, typed into the header.
    click("Text1");
    type(QStringLiteral("n1169\r\r\r\r\r"));
    click("Text9");
    type(QStringLiteral("1169\r10.6\r2100\r"));
    QCOMPARE(text("Text23"), QStringLiteral("1169.00"));

    click("Command3D23");
    const QByteArray shots = qgetenv("WB_SHOTS");
    if (!shots.isEmpty())
        window->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/specifications-panel.png"));
    click("LoadingButton");
    QWidget* panel = find("LoadingPanel");
    QVERIFY(panel->isVisible());
    auto* stations = find<QTableWidget>("LoadingStations");

    // One cell through its editor, as typed: shown through the display pattern afterwards.
    stations->setFocus();
    stations->setCurrentCell(0, wb::station::Arm);
    stations->editItem(stations->item(0, wb::station::Arm));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("16"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();  // the view commits an editor's Return after it
    QCOMPARE(QString::fromStdString(form->ws.loading.stations[0][wb::station::Arm]), QStringLiteral("16"));
    QCOMPARE(stations->item(0, wb::station::Arm)->text(), QStringLiteral("16.00"));

    // The kind from its list.
    stations->setCurrentCell(0, wb::station::Kind);
    stations->editItem(stations->item(0, wb::station::Kind));
    auto* kinds = qobject_cast<QComboBox*>(QApplication::focusWidget());
    QVERIFY(kinds != nullptr);
    kinds->setCurrentIndex(kinds->findText(QStringLiteral("Seat with controls")));
    QTest::keyClick(kinds, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(QString::fromStdString(form->ws.loading.stations[0][wb::station::Kind]),
             QStringLiteral("Seat with controls"));

    // The rest as an edit sets a cell.
    const QStringList rows[] = {{"Pilot's seat", "", "", "1", "", ""},
                                {"Rear seats", "Seat", "48", "2", "", ""},
                                {"Baggage", "Baggage", "75.5", "", "", "100"},
                                {"Fuel tank", "Fuel tank", "22", "", "40", ""},
                                {"Oil", "Oil", "-49", "", "9", ""}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < wb::station::Count; ++c)
            if (!rows[r][c].isEmpty()) stations->item(r, c)->setData(Qt::EditRole, rows[r][c]);
    auto* normal = find<QTableWidget>("LoadingNormal");
    const char* points[][2] = {{"1000", "8.5"}, {"2100", "8.5"}, {"2100", "21.9"}, {"1000", "21.9"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c)
            normal->item(r, c)->setData(Qt::EditRole, QString::fromLatin1(points[r][c]));
    auto* meto = find<QLineEdit>("LoadingBox3");
    meto->setFocus();
    QTest::keyClicks(meto, QStringLiteral("165"));
    QCOMPARE(QString::fromStdString(form->ws.loading.metoHp), QStringLiteral("165"));

    const QString results = find<QTextBrowser>("LoadingResults")->toPlainText();
    for (const char* shown :
         {"Most forward extreme condition", "1439.00", "16104.4", "+11.19", "Most rearward extreme condition",
          "2036.00", "43428.4", "+21.33", "(a) With full fuel"})
        QVERIFY2(results.contains(QLatin1String(shown)), shown);
    QCOMPARE(results.count(QStringLiteral("Satisfactory")), 2);
    QVERIFY(find<QLabel>("LoadingNotice")
                ->text()
                .startsWith(QStringLiteral("Both extreme conditions are satisfactory.")));

    // The chart is drawn: the envelope's heavy edges darken the white ground.
    QWidget* chart = find("LoadingChart");
    const QImage picture = chart->grab().toImage();
    int dark = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) < 100) ++dark;
    QVERIFY2(dark > 500, qPrintable(QString::number(dark)));

    if (!shots.isEmpty()) {
        window->SetZoomTo(150);
        QTest::qWait(200);
        window->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/loading-panel.png"));
        window->SetZoomTo(100);
    }

    // Esc closes it; the specifications panel is usable again.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QVERIFY(!find("LoadingPanel")->isVisible());
    QVERIFY(find("Text14")->isEnabled());

    // For the picture only: the four-seater with a sloped envelope, one extreme outside.
    if (!shots.isEmpty()) {
        form->ws.Set(wb::Field::Empty, "1450");
        form->ws.Set(wb::Field::CG, "39");
        form->ws.Set(wb::Field::MaxWt, "2300");
        wb::RebuildPreviousEmptyRow(form->ws, wb::Field::CG);
        form->ws.loading = wb::test::SlopedLoading();
        click("LoadingButton");
        window->SetZoomTo(150);
        QTest::qWait(200);
        window->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/loading-panel-sloped.png"));
        window->SetZoomTo(100);
    }
}

QTEST_MAIN(LoadingWindowTest)
#include "LoadingWindowTest.moc"
