// A look at restoring a large file: the real window over a generated main database, the
// backup restored through the set-up panel's Backups button, the screen saved to a PNG once
// the progress dialog stands half way. It also says how long the restore took and the longest
// the window's thread went without an event meanwhile.
// Usage (on a display, e.g. under xvfb-run): show_restore WORKSHEETS OUT.png [--on-window-thread]
// The last runs the work on the window's thread instead, as it once ran, for comparison.
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QProgressDialog>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "app/qt/Units.h"
#include "app/qt/Zoom.h"
#include "bench/Generator.h"
#include "store/Backup.h"
#include "store/SettingsDatabase.h"
#include "tests/support/ScriptedDialogs.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: show_restore WORKSHEETS OUT.png [--on-window-thread]\n");
        return 2;
    }
    const fs::path big = wb::bench::CachedDatabase(std::stoi(argv[1]));
    const QString out = QString::fromLocal8Bit(argv[2]);

    // The settings name a data folder whose only backup is the large file; the main file
    // itself starts small, so that the start-up check is quick.
    const fs::path work = fs::temp_directory_path() / "wb-show-restore";
    fs::remove_all(work);
    const fs::path data = work / "data";
    fs::create_directories(wb::BackupFolderOf(data / "VELK.MDB"));
    fs::create_hard_link(big,
                         wb::BackupFolderOf(data / "VELK.MDB") / wb::BackupName({{2026, 12, 1}, 9, 0, 0}));
    wb::SettingsDatabase(work).SetDataPath(data.string());

    // As the program itself starts: its style, and the zoom that suits the screen.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    wb::gui::SetZoom(wb::gui::FittingZoom(QGuiApplication::primaryScreen()->availableGeometry().size()));
    QApplication::setFont(wb::gui::WindowFont());

    wb::test::ScriptedDialogs dialogs;
    dialogs.choices = {1};  // "Restore..."
    dialogs.picks = {0};    // the oldest: the large one
    dialogs.answers = {true};
    wb::test::FixedClock clock;
    wb::MainForm form(dialogs, clock);
    form.workingFolder = work;
    wb::gui::MainWindow window(form);
    if (argc == 3)
        form.runInBackground = [&window](wb::AsideWork w) { window.RunInBackground(std::move(w)); };
    window.onFirstActivation = [&form] { form.Activate(); };
    window.show();
    window.activateWindow();

    QElapsedTimer clockRun, sinceTick;
    qint64 longestGap = 0, halfAt = -1;
    bool pressed = false;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (pressed) longestGap = std::max(longestGap, sinceTick.elapsed());
        sinceTick.restart();
        auto* dialog = window.findChild<QProgressDialog*>(QStringLiteral("ProgressDialog"));
        if (halfAt < 0 && dialog != nullptr && dialog->isVisible() && dialog->maximum() > 0 &&
            dialog->value() * 2 >= dialog->maximum()) {
            halfAt = clockRun.elapsed();
            QGuiApplication::primaryScreen()->grabWindow(0).save(out);
        }
        if (pressed && !dialogs.shown.empty() && dialogs.shown.back().title != "Restore a backup" &&
            dialogs.shown.back().title != "Backups") {
            std::printf(
                "restore of %s (%.0f MB): %s after %lld ms; half way at %lld ms; longest "
                "gap between the window's 50 ms ticks %lld ms\n",
                argv[1], static_cast<double>(fs::file_size(big)) / 1e6, dialogs.shown.back().title.c_str(),
                static_cast<long long>(clockRun.elapsed()), static_cast<long long>(halfAt),
                static_cast<long long>(longestGap));
            QApplication::quit();
        }
    });
    tick.start(50);
    QTimer::singleShot(2000, [&] {
        // A shop without company details starts on the set-up panel.
        if (!form.Visible(wb::Control::Panel3D7)) window.Click(wb::Control::Command3D18);
        dialogs.Clear();
        pressed = true;
        clockRun.start();
        sinceTick.restart();
        window.Click(wb::Control::Command3D44);  // Backups: Restore..., the backup, Yes
    });
    const int code = QApplication::exec();
    fs::remove_all(work);
    return code;
}
