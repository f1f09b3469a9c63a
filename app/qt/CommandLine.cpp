#include "app/qt/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
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
    parser.addOption(dataFolder);
    parser.addOption(settings);

    StartOptions options;
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        options.outcome = StartOptions::Outcome::Help;
        options.text = parser.helpText();
        return options;
    }
    if (parser.isSet(version)) {
        options.outcome = StartOptions::Outcome::Version;
        options.text = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                     QCoreApplication::applicationVersion());
        return options;
    }

    QString why;
    if (!parsed) {
        why = parser.errorText();
        options.unknownOption = !parser.unknownOptionNames().isEmpty();
    } else if (!parser.positionalArguments().isEmpty()) {
        why = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
    } else {
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
