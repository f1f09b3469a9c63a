// Long work on a worker thread under a progress dialog: the window's implementation of the
// progress port and of running work aside. The dialog says what is being done and how far
// it is, and offers Cancel only for work that, stopped, leaves everything as it was.
#pragma once

#include <QProgressDialog>
#include <atomic>
#include <mutex>
#include <string>

#include "worksheet/Progress.h"

namespace wb::gui {

// Written by the worker, read by the dialog's timer on the window's thread.
class DialogProgress : public Progress {
  public:
    struct Seen {
        std::int64_t done = 0, total = 0;
        std::string text;
    };
    void Report(std::int64_t done, std::int64_t total, std::string_view text) override;
    bool Cancelled() const override { return cancelled_; }
    void Cancel() { cancelled_ = true; }
    Seen Now() const;

  private:
    mutable std::mutex mutex_;
    Seen seen_;
    std::atomic<bool> cancelled_ = false;
};

// The dialog over the window while work runs. Escape and the close box cancel only where
// the Cancel button would.
class WorkDialog : public QProgressDialog {
    Q_OBJECT

  public:
    WorkDialog(QWidget* parent, const QString& title, bool cancellable);
    // Shows what the worker last reported.
    void ShowProgress(const DialogProgress::Seen& seen);
    bool Cancellable() const { return cancellable_; }

  public slots:
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    bool cancellable_;
};

// Runs `work` under a dialog over `parent` and returns once it has ended and `done` has run.
// The window's thread keeps taking events meanwhile; the dialog, a child of `parent` named
// "ProgressDialog", holds the window's own off.
void RunUnderDialog(QWidget* parent, const AsideWork& work);

}  // namespace wb::gui
