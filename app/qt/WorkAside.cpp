#include "app/qt/WorkAside.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace wb::gui {
namespace {

// Quick work ends before a dialog would only flash up.
constexpr int kShowAfterMs = 300;
constexpr int kRefreshMs = 100;
// The bar's scale: totals beyond an int's range (pages of a very large file) still fit.
constexpr int kBarSteps = 1000;

}  // namespace

void DialogProgress::Report(std::int64_t done, std::int64_t total, std::string_view text) {
    const std::lock_guard lock(mutex_);
    seen_.done = done;
    seen_.total = total;
    if (seen_.text != text) seen_.text = text;
}

DialogProgress::Seen DialogProgress::Now() const {
    const std::lock_guard lock(mutex_);
    return seen_;
}

WorkDialog::WorkDialog(QWidget* parent, const QString& title, bool cancellable)
    : QProgressDialog(parent), cancellable_(cancellable) {
    setObjectName(QStringLiteral("ProgressDialog"));
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(kShowAfterMs);
    setMinimumWidth(420);
    setLabelText(title);
    setRange(0, 0);
    if (!cancellable_) setCancelButton(nullptr);
}

void WorkDialog::ShowProgress(const DialogProgress::Seen& seen) {
    const QString text = QString::fromStdString(seen.text);
    if (!text.isEmpty() && labelText() != text) setLabelText(text);
    if (seen.total <= 0) {
        setRange(0, 0);  // how far is not known: the bar only moves
        return;
    }
    setRange(0, kBarSteps);
    setValue(static_cast<int>(std::min(seen.done, seen.total) * kBarSteps / seen.total));
}

// Escape and the close box: as the Cancel button, where there is one.
void WorkDialog::reject() {
    if (cancellable_) emit canceled();
}

void WorkDialog::closeEvent(QCloseEvent* e) {
    if (cancellable_) emit canceled();
    e->ignore();  // it closes when the work has ended
}

void RunUnderDialog(QWidget* parent, const AsideWork& work) {
    DialogProgress progress;
    WorkDialog dialog(parent, QString::fromStdString(work.title), work.cancellable);
    // Cancel asks the work to stop; the dialog stays until it has, saying so. The dialog's
    // own connection, which would hide it at once, is made by name and only goes by name.
    QObject::disconnect(&dialog, SIGNAL(canceled()), &dialog, SLOT(cancel()));
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] {
        progress.Cancel();
        dialog.setLabelText(QStringLiteral("Cancelling..."));
    });

    QEventLoop loop;
    QElapsedTimer since;
    since.start();
    bool up = false;
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &dialog, [&] {
        // Once cancelled, the dialog says that it is stopping until the work has.
        if (!progress.Cancelled()) dialog.ShowProgress(progress.Now());
        if (up || since.elapsed() < kShowAfterMs) return;
        up = true;
        if (!dialog.isVisible()) dialog.show();
    });
    refresh.start(kRefreshMs);

    std::thread worker([&] {
        try {
            work.job(progress);
        } catch (...) {
            // The job says its own failures; nothing may leave the worker thread.
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    refresh.stop();
    dialog.hide();
    if (work.done) work.done();
}

}  // namespace wb::gui
