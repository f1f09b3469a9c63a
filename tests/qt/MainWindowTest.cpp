// The real main window over the real MainForm with scripted message boxes (a modal box would
// never return here). The rules themselves are tested on the form; these tests show that keys,
// clicks, focus and scrolling reach it and that what it decides reaches the widgets.
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <memory>

#include "app/MainForm.h"
#include "app/qt/Zoom.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/WindowDriver.h"

using wb::Control;
using wb::gui::GridView;
using wb::test::Shown;

class MainWindowTest : public QObject, public wb::test::WindowDriver {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void aWeighingTypedThroughTheWindowGivesTheNewValues();
    void theHeaderAndTheBarThroughTheWindow();
    void theCloseBoxEndsAtOnce();
    void gridClicksArrowsAndDelete();
    void theCurrentRowStaysInView();
    void boxesEditAsDesktopBoxes();
    void captionsCellsAndBoxesReadWhole();
    void theWholeWindowZooms();
    void theZoomFitsTheScreen();
    void theEmptyCgRangeIsCheckedAsTheMechanicTypes();

  private:
    std::unique_ptr<wb::test::ScriptedDialogs> dialogs;
    wb::test::FixedClock clock{{2026, 12, 6}};
    std::unique_ptr<wb::MainForm> form;
};

void MainWindowTest::initTestCase() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
}

void MainWindowTest::init() {
    dialogs = std::make_unique<wb::test::ScriptedDialogs>();
    form = std::make_unique<wb::MainForm>(*dialogs, clock);
    window = std::make_unique<wb::gui::MainWindow>(*form);
    window->show();
    window->activateWindow();  // a bare X server has no window manager to do it
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void MainWindowTest::cleanup() {
    wb::gui::SetZoom(100);
    QApplication::setFont(wb::gui::WindowFont());
    window.reset();
    form.reset();
    dialogs.reset();
}

void MainWindowTest::aWeighingTypedThroughTheWindowGivesTheNewValues() {
    QCOMPARE(focusName(), QStringLiteral("Text1"));
    QCOMPARE(text("Text7"), QStringLiteral("12-06-2026"));
    type(QStringLiteral("n733bm\r"));
    click("Command3D23");
    QVERIFY(find("Panel3D6")->isVisible());
    QVERIFY(!find("Command3D12")->isEnabled());  // the bar is locked while the panel is open
    QCOMPARE(focusName(), QStringLiteral("Text14"));
    clickCell("Grid2", 0, 1);
    QCOMPARE(focusName(), QStringLiteral("Grid2"));
    // Tare, weight, arm on each row; Enter after the arm goes to the next row's tare.
    type(QStringLiteral("2.5\r612.5\r80\r2.5\r610\r80\r0\r290\r30\r"));
    QVERIFY(dialogs->shown.empty());
    QCOMPARE(cell("Grid2", 2, 4), QStringLiteral("8700.0"));
    QCOMPARE(text("Text23"), QStringLiteral("1507.50"));
    QCOMPARE(text("Text24"), QStringLiteral("70.38"));
    QCOMPARE(text("Text27"), QStringLiteral("106100.0"));

    click("Command3D23");
    QVERIFY(!find("Panel3D6")->isVisible());
    QVERIFY(find("Command3D12")->isEnabled());
    QCOMPARE(text("Text10"), QStringLiteral("70.38"));
    QCOMPARE(cell("Grid1", 0, 4), QStringLiteral("106100.0"));
}

// Keys, clicks and focus reach the form; what it decides reaches the boxes and the buttons.
void MainWindowTest::theHeaderAndTheBarThroughTheWindow() {
    type(QStringLiteral("n123abz"));  // capitals, and no seventh character
    QCOMPARE(text("Text1"), QStringLiteral("N123AB"));
    type(QString(13, QLatin1Char('\r')));  // the Enter chain from the tail number
    QCOMPARE(focusName(), QStringLiteral("Grid1"));
    click("Text24");  // a result box never takes the caret
    QCOMPARE(dialogs->Titles(), std::vector<std::string>{"This field not editable"});
    QCOMPARE(focusName(), QStringLiteral("Grid1"));
    for (int i = 0; i < 3; ++i)
        click("Command3D20");
    QCOMPARE(find<QPushButton>("Command3D20")->text(), QStringLiteral("Hobbs"));

    // Stored, and the focus has left Save: Exit ends without a question.
    form->ScreenSaved = 1;
    find("Command3D13")->setFocus(Qt::TabFocusReason);
    find("Text2")->setFocus(Qt::TabFocusReason);
    dialogs->Clear();
    click("Command3D12");
    QVERIFY(dialogs->shown.empty());
    QVERIFY(form->Ended());
    QVERIFY(!window->isVisible());
}

void MainWindowTest::theCloseBoxEndsAtOnce() {
    type(QStringLiteral("n1"));
    window->close();
    QVERIFY(form->Ended());
    QVERIFY(dialogs->shown.empty());
}

void MainWindowTest::gridClicksArrowsAndDelete() {
    GridView* grid = find<GridView>("Grid1");
    clickCell("Grid1", 2, 4);  // the computed Moment column is refused
    QCOMPARE(dialogs->Titles(), std::vector<std::string>{"This field not editable"});
    QCOMPARE(grid->currentIndex(), grid->model()->index(2, 5));
    QCOMPARE(grid->selectionModel()->selectedIndexes(), QModelIndexList{grid->model()->index(2, 5)});

    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Home);  // the start of the row
    QCOMPARE(form->ws.grid(wb::GridId::Grid1).row, 1);
    QCOMPARE(form->ws.grid(wb::GridId::Grid1).col, 0);

    clickCell("Grid1", 1, 0);
    type(QStringLiteral("GPS"));
    clickCell("Grid1", 2, 0);
    type(QStringLiteral("ADF"));
    clickCell("Grid1", 1, 0);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(cell("Grid1", 1, 0), QStringLiteral("ADF"));
    QTest::keyClick(grid, Qt::Key_Delete, Qt::KeypadModifier);  // the keypad's Delete as well
    QCOMPARE(cell("Grid1", 1, 0), QString());
}

void MainWindowTest::theCurrentRowStaysInView() {
    GridView* grid = find<GridView>("Grid1");
    clickCell("Grid1", 0, 0);
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->currentIndex().row(), 20);
    QCOMPARE(grid->TopRow(), 3);
    QVERIFY(grid->viewport()->rect().contains(grid->visualRect(grid->currentIndex())));

    // The scroll bar moves the rows shown, and the next event keeps them where they are.
    grid->verticalScrollBar()->setValue(10);
    QCOMPARE(form->ws.grid(wb::GridId::Grid1).topRow, 10);
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(grid->TopRow(), 10);
    QCOMPARE(grid->currentIndex(), grid->model()->index(20, 1));
}

void MainWindowTest::boxesEditAsDesktopBoxes() {
    QLineEdit* make = find<QLineEdit>("Text3");
    make->setFocus();
    QTest::keyClicks(make, QStringLiteral("ABC"));
    QTest::keyClick(make, Qt::Key_Left);
    QTest::keyClick(make, Qt::Key_Left);
    QTest::keyClicks(make, QStringLiteral("Z"));
    QCOMPARE(make->text(), QStringLiteral("AZBC"));
    QTest::keyClick(make, Qt::Key_Backspace);
    QCOMPARE(form->Text(Control::Text3), "ABC");
    QTest::keyClick(make, Qt::Key_A, Qt::ControlModifier);  // a selection is replaced
    QTest::keyClicks(make, QStringLiteral("Cessna"));
    QCOMPARE(form->Text(Control::Text3), "Cessna");
    QTest::keyClick(make, Qt::Key_Z, Qt::ControlModifier);  // and the typing undone
    QCOMPARE(form->Text(Control::Text3), make->text().toStdString());
    QVERIFY(make->text() != QStringLiteral("Cessna"));

    QLineEdit* tail = find<QLineEdit>("Text1");  // Alt+letter types nothing; a paste takes capitals
    tail->setFocus();
    QTest::keyClick(tail, 'n', Qt::AltModifier);
    QCOMPARE(tail->text(), QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("n5x"));
    QTest::keyClick(tail, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(tail->text(), QStringLiteral("N5X"));
    QCOMPARE(form->Text(Control::Text1), "N5X");

    form->SetText(Control::Text8, "1234567890");  // a stored text longer than may be typed shows whole
    window->Refresh();
    QCOMPARE(text("Text8"), QStringLiteral("1234567890"));
    find("Text8")->setFocus();
    QTest::keyClick(find("Text8"), Qt::Key_End);
    QTest::keyClick(find("Text8"), Qt::Key_Backspace);
    QCOMPARE(form->Text(Control::Text8), "123456789");
}

void MainWindowTest::captionsCellsAndBoxesReadWhole() {
    // At 100 % and at the zooms that suit common screens.
    for (int zoom : {100, 140, 170}) {
        window->SetZoomTo(zoom);
        for (QPushButton* b : window->findChildren<QPushButton*>()) {
            const QFontMetrics fm(b->font());
            QVERIFY2(fm.horizontalAdvance(b->text()) + 6 <= b->width(), qPrintable(b->objectName()));
            QVERIFY2(fm.height() <= b->height(), qPrintable(b->objectName()));
        }
        for (QLabel* l : window->findChildren<QLabel*>()) {
            // A wrapped label is measured as it wraps, within its own width.
            const QRect need = QFontMetrics(l->font()).boundingRect(
                QRect(0, 0, l->wordWrap() ? l->width() : 10000, 10000), l->wordWrap() ? Qt::TextWordWrap : 0,
                l->text());
            QVERIFY2(need.width() <= l->width() && need.height() <= l->height(), qPrintable(l->objectName()));
        }
        // A box holds its full input limit of digits.
        for (QLineEdit* e : window->findChildren<QLineEdit*>()) {
            const auto c = wb::ControlFromName(e->objectName().toStdString());
            QVERIFY(c.has_value());
            const QString longest(wb::MaxChars(*c) > 20 ? 20 : wb::MaxChars(*c), QLatin1Char('8'));
            QVERIFY2(QFontMetrics(e->font()).horizontalAdvance(longest) + 8 <= e->width(),
                     qPrintable(e->objectName()));
        }
        // Grid captions stand exactly over their columns; result boxes under Weight, Arm, Moment.
        GridView* grid1 = find<GridView>("Grid1");
        const char* grid1Captions[] = {"Command3D1", "Command3D22", "Command3D2",  "Command3D3",
                                       "Command3D4", "Command3D5",  "Command3D6_0"};
        for (int c = 0; c < 7; ++c) {
            QWidget* caption = find(grid1Captions[c]);
            QCOMPARE(caption->x(), grid1->x() + grid1->ColumnLeft(c));
            QCOMPARE(caption->width(), grid1->columnWidth(c));
            QCOMPARE(caption->geometry().bottom() + 1, grid1->y());
        }
        QCOMPARE(find("Text23")->x(), find("Command3D2")->x());
        QCOMPARE(find("Text24")->x(), find("Command3D3")->x());
        QCOMPARE(find("Text27")->x(), find("Command3D4")->x());
        // Nothing sticks out of its panel.
        for (const char* panelName :
             {"Panel3D1", "Panel3D4", "Panel3D5", "Panel3D6", "Panel3D7", "Panel3D11"}) {
            QWidget* panel = find(panelName);
            for (QWidget* w : panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
                QVERIFY2(panel->contentsRect().contains(w->geometry()), qPrintable(w->objectName()));
        }
    }
    window->SetZoomTo(100);
    // Cells after a weighing and an equipment row.
    type(QStringLiteral("n1"));
    click("Command3D23");
    clickCell("Grid2", 0, 1);
    type(QStringLiteral("2.5\r612.5\r-80\r"));
    click("Command3D23");
    clickCell("Grid1", 1, 0);
    type(QStringLiteral("Garmin GTN 650 navigator\rAB1234567\r12.25\r140.5\rx\r"));
    for (const char* name : {"Grid1", "Grid2"}) {
        GridView* g = find<GridView>(name);
        const QFontMetrics fm(g->font());
        for (int r = 0; r < g->rowCount(); ++r)
            for (int c = 0; c < g->columnCount(); ++c)
                QVERIFY2(fm.horizontalAdvance(g->item(r, c)->text()) + 6 <= g->columnWidth(c),
                         qPrintable(g->item(r, c)->text()));
    }
    QCOMPARE(cell("Grid2", 0, 4), QStringLiteral("-48800.0"));
}

void MainWindowTest::theWholeWindowZooms() {
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));  // a fixed size per zoom
    std::vector<int> kept;
    window->onZoomChanged = [&](int percent) { kept.push_back(percent); };
    type(QStringLiteral("n1"));
    QCOMPARE(window->size(), QSize(641, 460));

    QTest::keyClick(find("Text1"), Qt::Key_Plus, Qt::ControlModifier);
    QTRY_COMPARE(window->size(), QSize(705, 506));
    // Built again at 110 %: fonts, grids and captions alike, and the form's state shown again.
    QCOMPARE(find("Text1")->font().pointSizeF(), 8.8);
    QCOMPARE(text("Text1"), QStringLiteral("N1"));
    QCOMPARE(focusName(), QStringLiteral("Text1"));
    GridView* grid1 = find<GridView>("Grid1");
    QCOMPARE(grid1->verticalHeader()->defaultSectionSize(), 18);
    QCOMPARE(find("Command3D4")->x(), grid1->x() + grid1->ColumnLeft(4));
    QCOMPARE(find("Text27")->x(), find("Command3D4")->x());
    type(QStringLiteral("2"));  // the rebuilt boxes take keys
    QCOMPARE(form->Text(Control::Text1), "N12");

    QTest::keyClick(find("Text1"), Qt::Key_Minus, Qt::ControlModifier);
    QTRY_COMPARE(window->size(), QSize(641, 460));
    QTest::keyClick(find("Text1"), Qt::Key_0, Qt::ControlModifier);  // what suits the screen
    QCOMPARE(kept, (std::vector<int>{110, 100, 0}));
}

void MainWindowTest::theZoomFitsTheScreen() {
    struct Screen {
        QSize available;
        int zoom;
    };
    const Screen screens[] = {{{1280, 860}, 130},  {{1280, 900}, 140},  {{1920, 1050}, 160},
                              {{1920, 1080}, 170}, {{3840, 2100}, 330}, {{640, 450}, 90}};
    for (const Screen& s : screens) {
        const int zoom = wb::gui::FittingZoom(s.available);
        QCOMPARE(zoom, s.zoom);
        const QSize window = wb::gui::kWindowAt100 * zoom / 100;
        QVERIFY(window.width() <= s.available.width() && window.height() <= s.available.height());
    }
    // A zoom kept from a larger screen is cut to what fits; the steps hold.
    QCOMPARE(wb::gui::ClampZoom(400, {1280, 900}), 180);
    QCOMPARE(wb::gui::ClampZoom(137, {1920, 1080}), 130);
    QCOMPARE(wb::gui::ClampZoom(10, {1920, 1080}), wb::gui::kZoomMin);
}

// The words themselves are the check's own (LimitsTest); here they reach the labels as the
// mechanic types, and the recalculation after a grid change updates them.
void MainWindowTest::theEmptyCgRangeIsCheckedAsTheMechanicTypes() {
    auto* beside = find<QLabel>("CgIndication");
    type(QStringLiteral("n733bm\r"));
    find("Text9")->setFocus();
    type(QStringLiteral("1876\r32.2\r"));  // the previous empty weight and C.G.: the new values
    QVERIFY(beside->isHidden());           // no range, no indication

    click("Command3D23");
    find("Text16")->setFocus();
    type(QStringLiteral("(+33.0) to (+42.5)"));
    QCOMPARE(find<QLabel>("CgSpecsIndication")->text(),
             QStringLiteral("New empty C.G. +32.20: OUTSIDE empty weight C.G. range +33.0 to +42.5"));
    find("Text30")->setFocus();
    type(QStringLiteral("228"));
    QVERIFY(find<QLabel>("CgBallast")->text().startsWith(QStringLiteral("Ballast needed at +228.00")));
    QCOMPARE(form->ScreenSaved, 0);  // the ballast arm is stored with the Worksheet
    click("Command3D23");
    QVERIFY(beside->isVisible());
    const QColor outside = beside->palette().color(QPalette::WindowText);

    // A removed item forward of the datum moves the C.G. aft, into the range.
    clickCell("Grid1", 1, 0);
    type(QStringLiteral("Ballast plate\r\r40\r-10\r\rX"));
    QCOMPARE(text("Text24"), QStringLiteral("33.12"));
    QCOMPARE(beside->text(), QStringLiteral("within empty weight C.G. range"));
    QVERIFY(beside->palette().color(QPalette::WindowText) != outside);
    QCOMPARE(find<QLabel>("CgBallast")->text(), QString());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
