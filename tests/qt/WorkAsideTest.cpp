// Long work under its progress dialog: what it says, Cancel only where it is offered, and the
// window's thread taking events while the worker runs.
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include <QElapsedTimer>

#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "app/qt/WorkAside.h"
#include "tests/support/ScriptedDialogs.h"

using namespace std::chrono_literals;

namespace {

// Runs on the window's thread once the dialog is up and shows `label`.
void WhenUp(QWidget& window, const QString& label, std::function<void(QProgressDialog&)> look) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, label, look] {
        auto* dialog = window.findChild<QProgressDialog*>(QStringLiteral("ProgressDialog"));
        if (dialog == nullptr || !dialog->isVisible() || dialog->labelText() != label) return;
        poll->stop();
        look(*dialog);
    });
    poll->start(50);
}

// Waits on the worker until `until` or a few seconds; the work's own pace.
void Wait(const std::function<bool()>& until) {
    for (int i = 0; i < 500 && !until(); ++i)
        std::this_thread::sleep_for(10ms);
}

}  // namespace

class WorkAsideTest : public QObject {
    Q_OBJECT

  private slots:
    void aCancellableJobShowsHowFarItIsAndStopsOnCancel_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("the Cancel button") << false;
        QTest::newRow("Escape") << true;
    }

    // Half way through, the dialog shows the work's title, what it does and half the bar;
    // Cancel (or Escape) asks the work to stop, and the dialog says so until it has.
    void aCancellableJobShowsHowFarItIsAndStopsOnCancel() {
        QFETCH(bool, escape);
        QWidget window;
        window.show();
        QString title, label;
        int value = -1, maximum = -1;
        bool cancelShown = false;
        QString afterCancel;
        bool upAfterCancel = false;
        WhenUp(window, QStringLiteral("Restoring the backup"), [&](QProgressDialog& dialog) {
            title = dialog.windowTitle();
            label = dialog.labelText();
            value = dialog.value();
            maximum = dialog.maximum();
            auto* cancel = dialog.findChild<QPushButton*>();
            cancelShown = cancel != nullptr && cancel->isVisible();
            if (escape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else if (cancel != nullptr)
                QTest::mouseClick(cancel, Qt::LeftButton);
            QTest::qWait(300);
            afterCancel = dialog.labelText();
            upAfterCancel = dialog.isVisible();
        });
        std::atomic<bool> stopped = false;
        bool done = false;
        wb::gui::RunUnderDialog(&window, {[&](wb::Progress& p) {
                                              p.Report(50, 100, "Restoring the backup");
                                              Wait([&] { return p.Cancelled(); });
                                              stopped = p.Cancelled();
                                              // Still reporting while it winds up.
                                              p.Report(60, 100, "Restoring the backup");
                                              std::this_thread::sleep_for(500ms);
                                          },
                                          [&] { done = true; }, "Restoring a backup", true});
        QVERIFY(stopped);
        QVERIFY(done);
        QCOMPARE(title, QStringLiteral("Restoring a backup"));
        QCOMPARE(label, QStringLiteral("Restoring the backup"));
        QVERIFY(maximum > 0);
        QCOMPARE(value * 2, maximum);
        QVERIFY(cancelShown);
        QCOMPARE(afterCancel, QStringLiteral("Cancelling..."));
        QVERIFY(upAfterCancel);
        QVERIFY(window.findChild<QProgressDialog*>() == nullptr);
    }

    // Work that cannot be taken back offers no Cancel, and Escape and the close box leave it
    // running; how far it is unknown, the bar only moves.
    void workWithoutCancelRunsToItsEnd() {
        QWidget window;
        window.show();
        std::atomic<bool> looked = false;
        bool hasButton = true, stillUp = false;
        int maximum = -1;
        WhenUp(window, QStringLiteral("Printing sheet 1"), [&](QProgressDialog& dialog) {
            hasButton = dialog.findChild<QPushButton*>() != nullptr;
            maximum = dialog.maximum();
            QTest::keyClick(&dialog, Qt::Key_Escape);
            dialog.close();
            stillUp = dialog.isVisible();
            looked = true;
        });
        std::atomic<bool> cancelled = true;
        wb::gui::RunUnderDialog(&window, {[&](wb::Progress& p) {
                                              p.Report(0, 0, "Printing sheet 1");
                                              Wait([&] { return looked.load(); });
                                              cancelled = p.Cancelled();
                                          },
                                          {},
                                          "Printing the report",
                                          false});
        QVERIFY(looked);
        QVERIFY(!hasButton);
        QCOMPARE(maximum, 0);
        QVERIFY(stillUp);
        QVERIFY(!cancelled);
    }

    // Work beside the window (a start-up check) started while such work still runs (the
    // check of the data folder chosen before it) leaves the window taking events at once;
    // each ends with its own step on the window's thread.
    void workBesideTheWindowNeverWaitsForEarlierWork() {
        wb::test::ScriptedDialogs dialogs;
        wb::test::FixedClock clock{{2026, 12, 6}};
        wb::MainForm form(dialogs, clock);
        wb::gui::MainWindow window(form);
        window.show();
        std::atomic<bool> release = false;
        std::vector<int> ended;
        window.RunInBackground({[&](wb::Progress&) { Wait([&] { return release.load(); }); },
                                [&] { ended.push_back(1); },
                                {},
                                false});
        QElapsedTimer held;
        held.start();
        window.RunInBackground({[](wb::Progress&) {}, [&] { ended.push_back(2); }, {}, false});
        const qint64 heldMs = held.elapsed();
        QVERIFY2(heldMs < 1000, qPrintable(QStringLiteral("the window waited %1 ms").arg(heldMs)));
        QTRY_COMPARE(ended, std::vector<int>{2});
        release = true;
        QTRY_COMPARE(ended, (std::vector<int>{2, 1}));
    }
};

QTEST_MAIN(WorkAsideTest)
#include "WorkAsideTest.moc"
