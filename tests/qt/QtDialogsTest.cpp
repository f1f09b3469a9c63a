// The message boxes; a modal box is answered by a timer, or it would never return.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtDialogs.h"
#include "tests/support/ScriptedDialogs.h"

using wb::gui::QtDialogs;

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
        QCOMPARE(text->textFormat(), Qt::PlainText);
        QCOMPARE(box->textFormat(), Qt::PlainText);
    }

    // The real window's notice, shown modal over it and answered.
    void theWindowsNoticeIsShownModalAndAnswered() {
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
            QCOMPARE(box->text(), QStringLiteral("No aircraft identified."));
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
