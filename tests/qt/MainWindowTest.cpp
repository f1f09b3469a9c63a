// The real main window driven with keys and mouse clicks through a mechanic's job, over the
// real MainForm with scripted message boxes (a modal box would never return here).
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTest>
#include <memory>

#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "app/qt/Widgets.h"
#include "tests/support/ScriptedDialogs.h"

using wb::Control;
using wb::gui::GridView;
using wb::test::Shown;

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void theTailTakesCapitalsAndStopsAtSix();
    void enterWalksTheHeaderIntoTheChangeList();
    void aWeighingInTheScaleGridGivesTheNewValues();
    void exitAsksAfterStartUp();
    void exitAfterTheFocusLeftSaveEndsWithoutAQuestion();
    void theCloseBoxEndsAtOnce();
    void newAnsweredNoChangesNothing();
    void specsWithoutATailShowsOnlyTheNotice();
    void openSpecsLockTheBarUntilClosed();
    void theTachCaptionToggles();
    void aResultBoxRefusesTheClickAndTheCaret();
    void gridClicksArrowsAndDelete();
    void theCurrentRowStaysInView();
    void aLongStoredTextShowsWhole();
    void captionsCellsAndBoxesReadWhole();
    void everyControlLiesInsideItsPanel();
    void grabForReview();

  private:
    template <class T = QWidget>
    T* find(const char* name) {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        if (w == nullptr) qFatal("no control %s", name);
        return w;
    }
    static QString focusName() {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QStringLiteral("(none)");
    }
    void click(const char* name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void clickCell(const char* grid, int row, int col) {
        GridView* g = find<GridView>(grid);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          g->visualRect(g->model()->index(row, col)).center());
    }
    // Types into whatever has the focus, Enter written as \r.
    static void type(const QString& keys) {
        for (QChar k : keys) {
            QWidget* f = QApplication::focusWidget();
            QVERIFY(f != nullptr);
            if (k == QLatin1Char('\r'))
                QTest::keyClick(f, Qt::Key_Return);
            else
                QTest::keyClicks(f, QString(k));
        }
    }
    QString text(const char* box) { return find<QLineEdit>(box)->text(); }
    QString cell(const char* grid, int row, int col) { return find<GridView>(grid)->item(row, col)->text(); }

    std::unique_ptr<wb::test::ScriptedDialogs> dialogs;
    wb::test::FixedClock clock{{2026, 12, 6}};
    std::unique_ptr<wb::MainForm> form;
    std::unique_ptr<wb::gui::MainWindow> window;
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
    window.reset();
    form.reset();
    dialogs.reset();
}

void MainWindowTest::theTailTakesCapitalsAndStopsAtSix() {
    QCOMPARE(focusName(), QStringLiteral("Text1"));
    QCOMPARE(text("Text7"), QStringLiteral("12-06-2026"));
    QTest::keyClicks(find("Text1"), QStringLiteral("n123abz"));
    QCOMPARE(text("Text1"), QStringLiteral("N123AB"));
    QCOMPARE(form->Text(Control::Text1), "N123AB");
    // Backspace and a lower-case letter again: the box and the form agree.
    QTest::keyClick(find("Text1"), Qt::Key_Backspace);
    QTest::keyClicks(find("Text1"), QStringLiteral("q"));
    QCOMPARE(text("Text1"), QStringLiteral("N123AQ"));
    QCOMPARE(form->Text(Control::Text1), "N123AQ");
}

void MainWindowTest::enterWalksTheHeaderIntoTheChangeList() {
    const char* chain[] = {"Text1",  "Text2",  "Text3", "Text4",  "Text5",  "Text8", "Text9",
                           "Text10", "Text11", "Text6", "Text22", "Text12", "Text7", "Grid1"};
    for (const char* name : chain) {
        QCOMPARE(focusName(), QString::fromLatin1(name));
        if (qstrcmp(name, "Grid1") != 0) type(QStringLiteral("\r"));
    }
    QCOMPARE(text("Text22"), QString());  // the Enter passed on by Cert typed nothing
    type(QStringLiteral("Radio"));
    QCOMPARE(cell("Grid1", 0, 0), QStringLiteral("Radio"));
}

void MainWindowTest::aWeighingInTheScaleGridGivesTheNewValues() {
    type(QStringLiteral("n733bm\r"));
    click("Command3D23");
    QVERIFY(find("Panel3D6")->isVisible());
    QCOMPARE(focusName(), QStringLiteral("Text14"));
    clickCell("Grid2", 0, 1);
    QCOMPARE(focusName(), QStringLiteral("Grid2"));
    // Tare, weight, arm on each row; Enter after the arm goes to the next row's tare.
    type(QStringLiteral("2.5\r612.5\r80\r2.5\r610\r80\r0\r290\r30\r"));
    QVERIFY(dialogs->shown.empty());
    QCOMPARE(cell("Grid2", 0, 4), QStringLiteral("48800.0"));
    QCOMPARE(cell("Grid2", 2, 4), QStringLiteral("8700.0"));
    QCOMPARE(text("Text23"), QStringLiteral("1507.50"));
    QCOMPARE(text("Text24"), QStringLiteral("70.38"));
    QCOMPARE(text("Text27"), QStringLiteral("106100.0"));

    click("Command3D23");
    QVERIFY(!find("Panel3D6")->isVisible());
    QCOMPARE(text("Text9"), QStringLiteral("1507.50"));
    QCOMPARE(text("Text10"), QStringLiteral("70.38"));
    QCOMPARE(cell("Grid1", 0, 0), QStringLiteral("Previous A/C Empty"));
    QCOMPARE(cell("Grid1", 0, 4), QStringLiteral("106100.0"));
}

void MainWindowTest::exitAsksAfterStartUp() {
    click("Command3D12");
    QCOMPARE(dialogs->shown.size(), size_t{1});
    QCOMPARE(dialogs->shown[0], (Shown{Shown::Question, "Weight & Balance on screen not saved",
                                       "OK to exit program without saving?", wb::Icon::Question}));
    QVERIFY(window->isVisible());
    dialogs->answers = {true};
    click("Command3D12");
    QVERIFY(form->Ended());
    QVERIFY(!window->isVisible());
}

void MainWindowTest::exitAfterTheFocusLeftSaveEndsWithoutAQuestion() {
    form->ScreenSaved = 1;  // as a successful save leaves it
    find("Command3D13")->setFocus(Qt::TabFocusReason);
    QCOMPARE(form->Focus(), Control::Command3D13);
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

void MainWindowTest::newAnsweredNoChangesNothing() {
    type(QStringLiteral("n1\rA1\r"));
    click("Command3D19");
    QCOMPARE(dialogs->Titles(), std::vector<std::string>{"Weight & Balance on screen not saved"});
    QCOMPARE(dialogs->shown[0].text, std::string("OK to start new form without saving?"));
    QCOMPARE(text("Text1"), QStringLiteral("N1"));
    QCOMPARE(text("Text2"), QStringLiteral("A1"));
    QCOMPARE(form->ScreenSaved, 0);

    dialogs->answers = {true};
    click("Command3D19");
    QCOMPARE(text("Text1"), QString());
    QCOMPARE(text("Text2"), QString());
    QCOMPARE(focusName(), QStringLiteral("Text1"));
}

void MainWindowTest::specsWithoutATailShowsOnlyTheNotice() {
    click("Command3D23");
    QCOMPARE(dialogs->shown.size(), size_t{1});
    QCOMPARE(dialogs->shown[0], (Shown{Shown::Notice, "No aircraft identified.", "Press OK to continue",
                                       wb::Icon::Information}));
    QVERIFY(!find("Panel3D6")->isVisible());
    QVERIFY(find("Command3D12")->isEnabled());
    QVERIFY(find("Panel3D1")->isEnabled());
}

void MainWindowTest::openSpecsLockTheBarUntilClosed() {
    type(QStringLiteral("n1"));
    click("Command3D23");
    const char* locked[] = {"Command3D17", "Command3D18", "Command3D15", "Command3D26", "Command3D14",
                            "Command3D19", "Command3D13", "Command3D12", "Command3D16", "Panel3D1"};
    for (const char* name : locked)
        QVERIFY2(!find(name)->isEnabled(), name);
    QVERIFY(find("Command3D23")->isEnabled());
    QVERIFY(find("Command3D27")->isEnabled());
    QVERIFY(!find("Text1")->isEnabled());  // the header cannot be edited meanwhile
    click("Command3D12");
    QVERIFY(!form->Ended());

    click("Command3D23");
    QVERIFY(!find("Panel3D6")->isVisible());
    for (const char* name : locked)
        QVERIFY2(find(name)->isEnabled(), name);
}

void MainWindowTest::theTachCaptionToggles() {
    auto* tach = find<QPushButton>("Command3D20");
    QCOMPARE(tach->text(), QStringLiteral("Tach"));
    click("Command3D20");
    QCOMPARE(tach->text(), QStringLiteral("Hobbs"));
    click("Command3D20");
    click("Command3D20");
    QCOMPARE(tach->text(), QStringLiteral("Hobbs"));
}

void MainWindowTest::aResultBoxRefusesTheClickAndTheCaret() {
    click("Text24");
    QCOMPARE(dialogs->Titles(), std::vector<std::string>{"This field not editable"});
    QCOMPARE(dialogs->shown[0].text, std::string("Press OK to Continue"));
    QCOMPARE(focusName(), QStringLiteral("Grid1"));
    QVERIFY(find<QLineEdit>("Text24")->isReadOnly());
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
    QCOMPARE(cell("Grid1", 2, 0), QString());
    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Delete);  // the previous-empty row stays
    QCOMPARE(cell("Grid1", 1, 0), QStringLiteral("ADF"));

    // A letter in a numeric cell is refused and the cell emptied.
    clickCell("Grid1", 1, 2);
    type(QStringLiteral("1a"));
    QCOMPARE(dialogs->shown.back().title, std::string("Entry must be numeric"));
    QCOMPARE(cell("Grid1", 1, 2), QString());
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

void MainWindowTest::aLongStoredTextShowsWhole() {
    form->SetText(Control::Text8, "1234567890");  // longer than the 8 a mechanic may type
    window->Refresh();
    QCOMPARE(text("Text8"), QStringLiteral("1234567890"));
    find("Text8")->setFocus();
    QTest::keyClick(find("Text8"), Qt::Key_End);
    QTest::keyClicks(find("Text8"), QStringLiteral("1"));
    QCOMPARE(text("Text8"), QStringLiteral("1234567890"));
    QTest::keyClick(find("Text8"), Qt::Key_Backspace);
    QCOMPARE(form->Text(Control::Text8), "123456789");
}

void MainWindowTest::captionsCellsAndBoxesReadWhole() {
    // Every caption, on buttons and labels, fits its control.
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        const QFontMetrics fm(b->font());
        QVERIFY2(fm.horizontalAdvance(b->text()) + 6 <= b->width(), qPrintable(b->objectName()));
        QVERIFY2(fm.height() <= b->height(), qPrintable(b->objectName()));
    }
    for (QLabel* l : window->findChildren<QLabel*>()) {
        const QRect need = QFontMetrics(l->font()).boundingRect(QRect(0, 0, 10000, 10000), 0, l->text());
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

void MainWindowTest::everyControlLiesInsideItsPanel() {
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

    // Nothing sticks out of its panel, and the panels and the bar share the window.
    for (const char* panelName : {"Panel3D1", "Panel3D4", "Panel3D5", "Panel3D6", "Panel3D7"}) {
        QWidget* panel = find(panelName);
        for (QWidget* w : panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            QVERIFY2(panel->contentsRect().contains(w->geometry()), qPrintable(w->objectName()));
    }
    QCOMPARE(window->size(), QSize(641, 460));
    QCOMPARE(find("Panel3D1")->geometry(), QRect(0, 0, 641, 421));
    int left = -1, right = 0;
    for (const char* name :
         {"Command3D17", "Command3D18", "Command3D23", "Command3D15", "Command3D27", "Command3D26",
          "Command3D14", "Command3D19", "Command3D13", "Command3D12", "Command3D16"}) {
        const QRect g = find(name)->geometry();
        QCOMPARE(g.top(), 421);
        QCOMPARE(g.height(), 39);
        QVERIFY2(g.left() > left && g.left() <= right,
                 name);  // neighbours touch or overlap a little, as drawn
        left = g.left();
        right = g.right() + 1;
    }
    QCOMPARE(right, 641);
}

// Pictures for a person to look at: WB_GRAB_DIR=/some/folder saves the main window and the
// open specifications panel there.
void MainWindowTest::grabForReview() {
    const QString dir = qEnvironmentVariable("WB_GRAB_DIR");
    if (dir.isEmpty()) QSKIP("WB_GRAB_DIR not set");
    type(QStringLiteral("n733bm\r17265432\rCessna\r172N\r1978\r2104.5\r\r\r2300\rJ. Smith\rA&P 12345\r"));
    clickCell("Grid1", 1, 0);
    type(QStringLiteral("Garmin GTN 650 navigator\rAB1234567\r12.25\r140.5\rx\r"));
    QVERIFY(window->grab().save(dir + QStringLiteral("/main-window.png")));
    click("Command3D23");
    clickCell("Grid2", 0, 1);
    type(QStringLiteral("2.5\r612.5\r80\r2.5\r610\r80\r0\r290\r30\r"));
    clickCell("Grid4", 0, 1);
    type(QStringLiteral("30\r95\r"));
    clickCell("Grid3", 0, 0);
    type(QStringLiteral("Battery, main 24 V\rB-2044\r28.5\r-12.75\r"));
    QVERIFY(window->grab().save(dir + QStringLiteral("/specifications.png")));
    click("Command3D23");
    click("Command3D15");
    type(QStringLiteral("Weighed with full oil and unusable fuel.\rScales calibrated 11-2026."));
    QVERIFY(window->grab().save(dir + QStringLiteral("/notes.png")));
    click("Command3D15");
    click("Command3D26");
    QVERIFY(window->grab().save(dir + QStringLiteral("/about.png")));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
