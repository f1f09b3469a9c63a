// The program: the splash window, then the main window over one MainForm until the form ends.
#include <QApplication>
#include <QScreen>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtDialogs.h"
#include "app/qt/SplashWindow.h"
#include "app/qt/SystemClock.h"
#include "app/qt/Units.h"
#include "app/qt/Zoom.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The window fills a comfortable part of the screen, or keeps the zoom chosen last.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize available = screen->availableGeometry().size();
        const int stored = wb::gui::StoredZoom();
        wb::gui::SetZoom(stored > 0 ? wb::gui::ClampZoom(stored, available)
                                    : wb::gui::FittingZoom(available));
    }
    QApplication::setFont(wb::gui::WindowFont());

    wb::gui::QtDialogs dialogs;
    wb::gui::SystemClock clock;
    wb::MainForm form(dialogs, clock);
    std::unique_ptr<wb::gui::MainWindow> window;

    wb::gui::SplashWindow splash;
    splash.onElapsed = [&] {
        window = std::make_unique<wb::gui::MainWindow>(form);
        dialogs.SetParent(window.get());
        dialogs.SetPrinter(&window->Printer());
        // The start-up body: the settings row, the main database, the company settings.
        window->onFirstActivation = [&form] { form.Activate(); };
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
