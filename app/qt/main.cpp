// The program: the splash window, then the main window over one MainForm until the form ends.
#include <QApplication>
#include <QStyleFactory>
#include <memory>

#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtDialogs.h"
#include "app/qt/SplashWindow.h"
#include "app/qt/SystemClock.h"
#include "app/qt/Units.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
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
        // The database check at start-up runs beside the window, which stays usable.
        form.runInBackground = [w = window.get()](auto job, auto done) {
            w->RunInBackground(std::move(job), std::move(done));
        };
        window->show();
        window->activateWindow();  // a display without a window manager would leave it inactive
    };
    splash.show();
    return QApplication::exec();
}
