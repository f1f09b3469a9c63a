// The program: the splash window, then the main window over one MainForm until the form ends.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QStandardPaths>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "app/MainForm.h"
#include "app/RecordCommands.h"
#include "app/VerifyCommand.h"
#include "app/qt/CommandLine.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtDialogs.h"
#include "app/qt/RecordPdf.h"
#include "app/qt/SplashWindow.h"
#include "app/qt/SystemClock.h"
#include "app/qt/Units.h"
#include "app/qt/Zoom.h"
#include "setup/SettingsLocation.h"
#include "store/Backup.h"

namespace {

int Print(std::FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
    return 0;
}

std::filesystem::path StdPath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
#else
    return std::filesystem::path(path.toStdString());
#endif
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const QString& file : QDir(QStringLiteral(":/icons")).entryList(QDir::Files)) {
        icon.addFile(QStringLiteral(":/icons/") + file);
    }
    return icon;
}

std::filesystem::path SettingsFolderOf(const wb::gui::StartOptions& options) {
    return options.settingsFolder.value_or(
        wb::SettingsFolder(".", StdPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))));
}

// --export and --import, before any window object exists. The printed record needs fonts but
// no screen: without a display it is drawn on the offscreen platform.
int RecordCommand(int argc, char** argv, const wb::gui::StartOptions& options) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    std::ostringstream out;
    int code = 2;
    if (options.outcome == wb::gui::StartOptions::Outcome::Export) {
        QGuiApplication app(argc, argv);
        wb::gui::NameApplication();
        const wb::CalendarDate today = wb::LocalNow().date;
        code = wb::ExportCommand(
            options.exportTail, options.packageFile, options.dataFolder, SettingsFolderOf(options),
            [today](wb::Database& db, const std::string& tail, const std::filesystem::path& pdf,
                    wb::Progress& progress) { wb::gui::WriteRecordPdf(db, tail, pdf, progress, today); },
            out);
    } else {
        QCoreApplication app(argc, argv);
        wb::gui::NameApplication();
        code = wb::ImportCommand(options.packageFile, options.dataFolder, SettingsFolderOf(options), out);
    }
    std::fputs(out.str().c_str(), code == 0 ? stdout : stderr);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    using wb::gui::StartOptions;
    // The command line is answered before the window system is reached: --help, --help-all,
    // --version and a refusal work without a display.
    StartOptions options;
    {
        QCoreApplication probe(argc, argv);
        wb::gui::NameApplication();
        options = wb::gui::ReadCommandLine(QCoreApplication::arguments());
    }
    if (options.outcome == StartOptions::Outcome::Refused) {
        Print(stderr, options.text);
        return 2;
    }
    if (options.outcome == StartOptions::Outcome::Verify) {
        QCoreApplication probe(argc, argv);
        wb::gui::NameApplication();
        std::ostringstream out;
        const int code = wb::VerifyCommand(options.verifyFolder, SettingsFolderOf(options), out);
        std::fputs(out.str().c_str(), code == 0 ? stdout : stderr);
        return code;
    }
    if (options.outcome == StartOptions::Outcome::Export || options.outcome == StartOptions::Outcome::Import)
        return RecordCommand(argc, argv, options);
    if (options.outcome != StartOptions::Outcome::Run) return Print(stdout, options.text);

    QApplication app(argc, argv);
    wb::gui::NameApplication();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The window fills a comfortable part of the screen, or keeps the zoom chosen last.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize available = screen->availableGeometry().size();
        const int stored = wb::gui::StoredZoom();
        wb::gui::SetZoom(stored > 0 ? wb::gui::ClampZoom(stored, available)
                                    : wb::gui::FittingZoom(available));
    }
    QApplication::setFont(wb::gui::WindowFont());
    QApplication::setWindowIcon(ProgramIcon());

    wb::gui::QtDialogs dialogs;
    wb::gui::SystemClock clock;
    wb::MainForm form(dialogs, clock);
    form.workingFolder = SettingsFolderOf(options);
    if (options.dataFolder) form.dataFolderForRun = options.dataFolder->string();
    std::unique_ptr<wb::gui::MainWindow> window;

    wb::gui::SplashWindow splash;
    splash.onElapsed = [&] {
        window = std::make_unique<wb::gui::MainWindow>(form);
        dialogs.SetParent(window.get());
        dialogs.SetPrinter(&window->Printer());
        // The start-up body: the settings row, the main database, the company settings.
        window->onFirstActivation = [&form] { form.Activate(); };
        // The database check at start-up runs beside the window, which stays usable.
        form.runInBackground = [w = window.get()](wb::AsideWork work) {
            w->RunInBackground(std::move(work));
        };
        window->onZoomChanged = [](int percent) { wb::gui::StoreZoom(percent); };
        window->show();
        window->activateWindow();  // a display without a window manager would leave it inactive
    };
    splash.show();
    const int code = QApplication::exec();
    // Ending is immediate: every save is already committed, and tearing the widgets down would
    // wait for background work (the folder list's reader, the printer system) nobody needs.
    std::fflush(nullptr);
    std::_Exit(code);
}
