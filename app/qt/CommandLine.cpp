#include "app/qt/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <iterator>
#include <system_error>

namespace wb::gui {
namespace {

std::filesystem::path FolderPath(const QString& text) {
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(text.toStdString());
#endif
}

// An existing folder, made absolute; otherwise why not.
std::optional<std::filesystem::path> ExistingFolder(const QString& option, const QString& value,
                                                    QString& why) {
    std::error_code ec;
    const std::filesystem::path folder = FolderPath(value);
    if (value.isEmpty() || !std::filesystem::is_directory(folder, ec)) {
        why = QStringLiteral("--%1: no such folder: %2").arg(option, value);
        return std::nullopt;
    }
    std::filesystem::path absolute = std::filesystem::absolute(folder, ec).lexically_normal();
    if (ec) return folder;
    // "data/" and "data/.." leave a trailing separator; the folder reads better without it.
    if (!absolute.has_filename() && absolute.has_relative_path()) absolute = absolute.parent_path();
    return absolute;
}

// The options the window system takes for itself, with whether a value follows. They are
// accepted with one dash or two, and a value also after "=".
struct WindowSystemOption {
    const char* name;
    bool value;
    const char* help;
};
constexpr WindowSystemOption kWindowSystemOptions[] = {
    {"platform", true, "The window system plugin: xcb, wayland, offscreen ..."},
    {"platformpluginpath", true, "Where the window system plugins are looked for."},
    {"platformtheme", true, "The platform theme."},
    {"plugin", true, "An additional plugin to load."},
    {"display", true, "The X display to open."},
    {"geometry", true, "The main window's size and place, as WIDTHxHEIGHT+X+Y."},
    {"qwindowgeometry", true, "The same as -geometry."},
    {"qwindowicon", true, "The window icon."},
    {"qwindowtitle", true, "The window title."},
    {"title", true, "The window title."},
    {"name", true, "The application's resource name."},
    {"style", true, "The widget style: Fusion, Windows ..."},
    {"stylesheet", true, "A style sheet to apply."},
    {"session", true, "A session to restore."},
    {"reverse", false, "Lay the window out right to left."},
    {"widgetcount", false, "Count the widgets left at the end."},
    {"nograb", false, "Never grab the mouse or keyboard."},
    {"dograb", false, "Grab even under a debugger."},
    {"sync", false, "Talk to the X server synchronously."},
};

// What the window system takes for itself is left out; the rest is the program's.
QStringList WithoutWindowSystemOptions(const QStringList& arguments) {
    QStringList own;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (i == 0 || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("--")) {
            own << a;
            continue;
        }
        QString name = a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1);
        const bool valueAttached = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        const auto* known =
            std::find_if(std::begin(kWindowSystemOptions), std::end(kWindowSystemOptions),
                         [&](const WindowSystemOption& o) { return name == QLatin1String(o.name); });
        if (known == std::end(kWindowSystemOptions)) {
            own << a;
            continue;
        }
        if (known->value && !valueAttached) ++i;  // its value goes with it
    }
    return own;
}

QString WindowSystemHelp() {
    QString text = QStringLiteral("\nOptions of the window system (one dash or two):\n");
    for (const WindowSystemOption& o : kWindowSystemOptions) {
        const QString option = QStringLiteral("-%1%2").arg(QLatin1String(o.name),
                                                           o.value ? QStringLiteral(" <value>") : QString());
        text += QStringLiteral("  %1%2\n").arg(option, -29).arg(QLatin1String(o.help));
    }
    return text;
}

}  // namespace

void NameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("weightbalance"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WB_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(WB_APP_ID));
}

StartOptions ReadCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Works out, records and prints the weight and balance of an aircraft."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption dataFolder(
        QStringLiteral("data-folder"),
        QStringLiteral("Open the main database in DIR for this run; the stored data folder stays as it is."),
        QStringLiteral("DIR"));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Keep the settings file SetupVELKF.MDB in DIR instead of the folder the program "
                       "is started from or the user's application-data folder."),
        QStringLiteral("DIR"));
    const QCommandLineOption verify(
        QStringLiteral("verify"),
        QStringLiteral(
            "Verify the signatures and the audit trail of the database in FOLDER (without one, the "
            "data folder or shop server chosen in the settings), name each failure, and exit: 0 "
            "when everything verifies. Needs no display."));
    const QCommandLineOption exportRecord(
        QStringLiteral("export"),
        QStringLiteral("Export the record of the aircraft TAIL into the package FILE (the printed record as "
                       "PDF/A, the records as data, a SHA256SUMS list), from the data folder given with "
                       "--data-folder or chosen in the settings, and exit: 0 when written, 1 when refused. "
                       "Needs no display."));
    const QCommandLineOption importRecord(
        QStringLiteral("import"),
        QStringLiteral("Check the record package FILE whole and store the Worksheets the database does not "
                       "hold yet, in the data folder given with --data-folder or chosen in the settings, and "
                       "exit: 0 when imported, 1 when the package is refused (nothing stored)."));
    parser.addOption(dataFolder);
    parser.addOption(settings);
    parser.addOption(verify);
    parser.addOption(exportRecord);
    parser.addOption(importRecord);
    parser.addPositionalArgument(
        QStringLiteral("ARGUMENTS"),
        QStringLiteral("With --verify: FOLDER, the data folder (optional). With --export: TAIL FILE, the "
                       "aircraft and the package to write. With --import: FILE, the package to read."),
        QStringLiteral("[FOLDER | TAIL FILE | FILE]"));

    StartOptions options;
    const bool parsed = parser.parse(WithoutWindowSystemOptions(arguments));
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        options.outcome = StartOptions::Outcome::Help;
        options.text = parser.helpText();
        if (parser.isSet(QStringLiteral("help-all"))) options.text += WindowSystemHelp();
        return options;
    }
    if (parser.isSet(version)) {
        options.outcome = StartOptions::Outcome::Version;
        options.text = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                     QCoreApplication::applicationVersion());
        return options;
    }

    QString why;
    const QStringList positional = parser.positionalArguments();
    const int verbs = (parser.isSet(verify) ? 1 : 0) + (parser.isSet(exportRecord) ? 1 : 0) +
                      (parser.isSet(importRecord) ? 1 : 0);
    if (!parsed) {
        why = parser.errorText();
    } else if (verbs > 1) {
        why = QStringLiteral("--verify, --export and --import each run alone");
    } else if (parser.isSet(exportRecord) && positional.size() != 2) {
        why = QStringLiteral("--export takes the aircraft and the package file: --export TAIL FILE");
    } else if (parser.isSet(importRecord) && positional.size() != 1) {
        why = QStringLiteral("--import takes the package file: --import FILE");
    } else if (verbs == 0 && !positional.isEmpty()) {
        why = QStringLiteral("unexpected argument: %1").arg(positional.last());
    } else if (parser.isSet(verify) && positional.size() > 1) {
        why = QStringLiteral("unexpected argument: %1").arg(positional.last());
    } else {
        if (parser.isSet(exportRecord)) {
            options.outcome = StartOptions::Outcome::Export;
            options.exportTail = positional[0].trimmed().toStdString();
            options.packageFile = FolderPath(positional[1]);
            if (options.exportTail.empty()) why = QStringLiteral("--export: no aircraft named");
        }
        if (parser.isSet(importRecord)) {
            options.outcome = StartOptions::Outcome::Import;
            options.packageFile = FolderPath(positional[0]);
        }
        if (parser.isSet(verify)) {
            options.outcome = StartOptions::Outcome::Verify;
            if (!parser.positionalArguments().isEmpty())
                options.verifyFolder =
                    ExistingFolder(verify.names().first(), parser.positionalArguments().first(), why);
        }
        if (parser.isSet(dataFolder))
            options.dataFolder = ExistingFolder(dataFolder.names().first(), parser.value(dataFolder), why);
        if (why.isEmpty() && parser.isSet(settings))
            options.settingsFolder = ExistingFolder(settings.names().first(), parser.value(settings), why);
    }
    if (!why.isEmpty()) {
        options.outcome = StartOptions::Outcome::Refused;
        options.text = QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                           .arg(QCoreApplication::applicationName(), why);
    }
    return options;
}

}  // namespace wb::gui
