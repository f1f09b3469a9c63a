// The rules are tested on the form; here keys, clicks and scrolling reach it and its state the widgets.
#include <QLabel>
#include <QScrollBar>
#include <QTextBrowser>
#include <cmath>
#include <memory>

#include "app/MainForm.h"
#include "app/qt/HelpWindow.h"
#include "app/qt/Zoom.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/WindowDriver.h"

using wb::Control;
using wb::gui::GridView;
using wb::test::Shown;

class MainWindowTest : public QObject, public wb::test::WindowDriver {
    Q_OBJECT

  private slots:
    void initTestCase() { UseFusion(); }
    void init();
    void cleanup();

    void aWeighingTypedThroughTheWindowGivesTheNewValues();
    void exitOnAStoredScreenClosesTheWindow();
    void theCloseBoxAsksAndNoKeepsTheWindow();
    void theDesktopKeysReachTheirCommands_data();
    void theDesktopKeysReachTheirCommands();
    void escAndCloseCloseTheAboutAndSetUpPanels();
    void yellowHeadingsReadOnTheirGrey();
    void gridClicksKeysAndScrolling();
    void theWholeWindowZooms();
    void theEmptyCgRangeIsCheckedAsTheMechanicTypes();

  private:
    std::unique_ptr<wb::test::ScriptedDialogs> dialogs;
    wb::test::FixedClock clock{{2026, 12, 6}};
    std::unique_ptr<wb::MainForm> form;
};

void MainWindowTest::init() {
    dialogs = std::make_unique<wb::test::ScriptedDialogs>();
    form = std::make_unique<wb::MainForm>(*dialogs, clock);
    window = std::make_unique<wb::gui::MainWindow>(*form);
    ShowActive();
}

void MainWindowTest::cleanup() {
    wb::gui::SetZoom(100);
    QApplication::setFont(wb::gui::WindowFont());
    window.reset();
    form.reset();
    dialogs.reset();
}

void MainWindowTest::aWeighingTypedThroughTheWindowGivesTheNewValues() {
    type(QStringLiteral("n733bm\r"));
    click("Command3D23");
    clickCell("Grid2", 0, 1);
    // Tare, weight, arm on each row; Enter after the arm goes to the next row's tare.
    type(QStringLiteral("2.5\r612.5\r80\r2.5\r610\r80\r0\r290\r30\r"));
    QCOMPARE(text("Text23"), QStringLiteral("1507.50"));
    QCOMPARE(text("Text27"), QStringLiteral("106100.0"));
}

// On a stored screen Exit asks nothing, and the ended form closes the window.
void MainWindowTest::exitOnAStoredScreenClosesTheWindow() {
    form->ScreenSaved = 1;
    click("Command3D12");
    QVERIFY(dialogs->shown.empty());
    QVERIFY(!window->isVisible());
}

// The close box and Alt+F4 reach the window as a close request: with typed work it asks.
void MainWindowTest::theCloseBoxAsksAndNoKeepsTheWindow() {
    type(QStringLiteral("n1"));
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(dialogs->Titles(), std::vector<std::string>{"Weight & Balance on screen not saved"});
    QCOMPARE(text("Text1"), QStringLiteral("N1"));
    dialogs->answers = {true};
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
}

void MainWindowTest::theDesktopKeysReachTheirCommands_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("shown");  // what the command showed first
    const std::pair<const char*, const char*> froms[] = {{"a box", "Text1"}, {"a grid", "Grid1"}};
    for (const auto& [where, control] : froms) {
        const QString from = QString::fromLatin1(control);
        const auto row = [&](const char* what) -> QTestData& {
            return QTest::addRow("%s from %s", what, where);
        };
        row("Ctrl+S") << from << QKeySequence(Qt::CTRL | Qt::Key_S) << "Command3D13"
                      << "Ctrl+S"
                      << "Worksheet not saved";
        row("Ctrl+N") << from << QKeySequence(Qt::CTRL | Qt::Key_N) << "Command3D19"
                      << "Ctrl+N"
                      << "OK to start new form without saving?";
        row("Ctrl+Q") << from << QKeySequence(Qt::CTRL | Qt::Key_Q) << "Command3D12"
                      << "Ctrl+Q"
                      << "OK to exit program without saving?";
        row("Ctrl+P") << from << QKeySequence(Qt::CTRL | Qt::Key_P) << "Command3D32"
                      << "Ctrl+P"
                      << "printed Command3D32";
        row("F1") << from << QKeySequence(Qt::Key_F1) << "AboutHelp"
                  << "F1"
                  << "help";
    }
}

// Each key does what its button does, wherever the focus is, and its button's tooltip names it.
void MainWindowTest::theDesktopKeysReachTheirCommands() {
    QFETCH(QString, from);
    QFETCH(QKeySequence, keys);
    const QKeyCombination key = keys[0];
    QFETCH(QString, button);
    QFETCH(QString, tip);
    QFETCH(QString, shown);
    std::vector<std::string> printed;
    form->onPrint = [&](Control c) { printed.emplace_back(wb::InfoOf(c).name); };
    type(QStringLiteral("n1"));
    if (from == QLatin1String("Grid1")) clickCell("Grid1", 1, 0);
    QCOMPARE(focusName(), from);
    QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());

    QString first;
    if (!printed.empty()) first = QStringLiteral("printed ") + QString::fromStdString(printed[0]);
    if (window->Help() != nullptr && window->Help()->isVisible()) first = QStringLiteral("help");
    if (!dialogs->shown.empty())
        first = QString::fromStdString(dialogs->shown[0].kind == wb::test::Shown::Question
                                           ? dialogs->shown[0].text
                                           : dialogs->shown[0].title);
    QCOMPARE(first, shown);
    QVERIFY(window->isVisible());  // Ctrl+Q answered No
    QCOMPARE(text("Text1"), QStringLiteral("N1"));
    QVERIFY2(find(qPrintable(button))->toolTip().contains(tip),
             qPrintable(find(qPrintable(button))->toolTip()));
    if (shown == QLatin1String("help")) {
        QVERIFY(window->Help()->Browser()->toPlainText().startsWith(QStringLiteral("User's guide")));
        window->Help()->close();
    }
}

// Both panels close by their own Close button and by Esc, also after the window was rebuilt at
// another zoom (each rebuild once added another Esc key, and two make the key ambiguous).
void MainWindowTest::escAndCloseCloseTheAboutAndSetUpPanels() {
    for (int zoomSteps = 0; zoomSteps < 3; ++zoomSteps) {
        if (zoomSteps > 0) {
            const QSize before = window->size();
            QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
            QTRY_VERIFY(window->size().width() > before.width());
        }
        for (const char* panel : {"Panel3D4", "Panel3D7"}) {
            const char* opener = QByteArray(panel) == "Panel3D4" ? "Command3D26" : "Command3D18";
            const char* closer = QByteArray(panel) == "Panel3D4" ? "AboutClose" : "SetupClose";
            click(opener);
            QVERIFY(find(panel)->isVisible());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY2(!find(panel)->isVisible(), panel);
            click(opener);
            click(closer);
            QVERIFY2(!find(panel)->isVisible(), panel);
        }
    }
}

namespace {

// Relative luminance and contrast ratio as the accessibility guidelines define them.
double Luminance(QColor c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
double Contrast(QColor a, QColor b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

// The yellow headings and legend, as drawn: against the lightest ground pixel beside the text.
void MainWindowTest::yellowHeadingsReadOnTheirGrey() {
    for (const char* name : {"Command3D1", "Command3D2", "Command3D3", "Command3D4", "Command3D34",
                             "Command3D35", "Command3D36", "Command3D37", "Label23"}) {
        QWidget* w = find(name);
        const QImage image = w->grab().toImage();
        double worst = 100;
        for (int y = 4; y < image.height() - 4; ++y)
            worst = std::min(worst, Contrast(QColor(255, 255, 0), image.pixelColor(4, y)));
        QVERIFY2(worst >= 4.5, qPrintable(QStringLiteral("%1: %2:1").arg(QLatin1String(name)).arg(worst)));
    }
}

void MainWindowTest::gridClicksKeysAndScrolling() {
    GridView* grid = find<GridView>("Grid1");
    clickCell("Grid1", 2, 4);  // the computed Moment column is refused
    QCOMPARE(dialogs->Titles(), std::vector<std::string>{"This field not editable"});
    QCOMPARE(grid->selectionModel()->selectedIndexes(), QModelIndexList{grid->model()->index(2, 5)});

    clickCell("Grid1", 1, 0);
    type(QStringLiteral("GPS"));
    QTest::keyClick(grid, Qt::Key_Delete, Qt::KeypadModifier);  // the keypad's Delete
    QCOMPARE(cell("Grid1", 1, 0), QString());

    for (int i = 0; i < 19; ++i)
        QTest::keyClick(grid, Qt::Key_Down);
    // The scroll bar moves the rows shown, and the next event keeps them where they are.
    grid->verticalScrollBar()->setValue(10);
    QCOMPARE(form->ws.grid(wb::GridId::Grid1).topRow, 10);
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(grid->TopRow(), 10);
    QCOMPARE(grid->currentIndex(), grid->model()->index(20, 1));
}

void MainWindowTest::theWholeWindowZooms() {
    type(QStringLiteral("n1"));
    const QSize normal = window->size();
    QTest::keyClick(find("Text1"), Qt::Key_Plus, Qt::ControlModifier);
    QTRY_VERIFY(window->size().width() > normal.width());
    // Built again at 110 %, the form's state shown again, and the rebuilt boxes take keys.
    type(QStringLiteral("2"));
    QCOMPARE(form->Text(Control::Text1), "N12");
}

// The words are LimitsTest's; here they follow what the mechanic types, grid changes included.
void MainWindowTest::theEmptyCgRangeIsCheckedAsTheMechanicTypes() {
    auto* beside = find<QLabel>("CgIndication");
    type(QStringLiteral("n733bm\r"));
    find("Text9")->setFocus();
    type(QStringLiteral("1876\r32.2\r"));  // the previous empty weight and C.G.: the new values

    click("Command3D23");
    find("Text16")->setFocus();
    type(QStringLiteral("(+33.0) to (+42.5)"));
    click("Command3D23");
    QCOMPARE(beside->text(), QStringLiteral("OUTSIDE empty weight C.G. range +33.0 to +42.5 in"));

    // A removed item forward of the datum moves the C.G. aft, into the range.
    clickCell("Grid1", 1, 0);
    type(QStringLiteral("Ballast plate\r\r40\r-10\r\rX"));
    QCOMPARE(text("Text24"), QStringLiteral("33.12"));
    QCOMPARE(beside->text(), QStringLiteral("within empty weight C.G. range"));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
