// How the message boxes are built and shown. A modal box is answered by a timer here, or it
// would never return.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtDialogs.h"
#include "tests/support/ScriptedDialogs.h"

using wb::gui::QtDialogs;

namespace {

// The title must read whole inside the box, and the box be wide enough for it in a title bar.
void CheckTitleReadsWhole(QMessageBox& box, const QString& title) {
    const auto* heading = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(heading != nullptr);
    QCOMPARE(heading->text(), title);
    QVERIFY(heading->isVisible());
    const int need = QFontMetrics(heading->font()).horizontalAdvance(title);
    QVERIFY2(heading->width() >= need, qPrintable(title));
    QVERIFY2(box.width() >= need + QtDialogs::kTitleBarRoom, qPrintable(title));
}

}  // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    // A question defaults to No; a notice has only OK and shows its texts as typed, never as
    // markup.
    void theBoxesAndTheirButtons() {
        auto question = QtDialogs::MakeQuestion(nullptr, "Weight & Balance on screen not saved",
                                                "OK to exit program without saving?");
        QCOMPARE(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question->defaultButton(), question->button(QMessageBox::No));

        auto box = QtDialogs::MakeNotice(nullptr, "No aircraft identified.", "Press OK to <continue>",
                                         wb::Icon::Information);
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        const auto* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
        QVERIFY(text != nullptr);
        QCOMPARE(text->text(), QStringLiteral("Press OK to <continue>"));
        QCOMPARE(text->textFormat(), Qt::PlainText);
        QCOMPARE(box->textFormat(), Qt::PlainText);

        // The longest title the program shows reads whole.
        question->show();
        CheckTitleReadsWhole(*question, QStringLiteral("Weight & Balance on screen not saved"));
    }

    // The real window's notice, shown modal over it and answered.
    void theWindowsNoticeReadsWhole() {
        QtDialogs dialogs;
        wb::test::FixedClock clock;
        wb::MainForm form(dialogs, clock);
        wb::gui::MainWindow window(form);
        dialogs.SetParent(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            seen = true;
            CheckTitleReadsWhole(*box, QStringLiteral("No aircraft identified."));
            QCOMPARE(box->informativeText(), QStringLiteral("Press OK to continue"));
            box->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(window.WidgetOf(wb::Control::Command3D23), Qt::LeftButton);  // no tail number
        QVERIFY(seen);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
