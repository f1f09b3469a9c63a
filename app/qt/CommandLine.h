// The command line: --help, --version, and the folders a shop that starts the program from a
// script may give.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>

namespace wb::gui {

struct StartOptions {
    enum class Outcome { Run, Help, Version, Refused, Verify, Export, Import };
    Outcome outcome = Outcome::Run;
    QString text;  // what Help and Version print, or why the command line was refused
    std::optional<std::filesystem::path> settingsFolder;  // --settings: where "SetupVELKF.MDB" is kept
    std::optional<std::filesystem::path> dataFolder;      // --data-folder: this run's data folder
    std::optional<std::filesystem::path> verifyFolder;    // --verify FOLDER: the database to verify
    std::string exportTail;                               // --export TAIL FILE
    std::filesystem::path packageFile;                    // --export TAIL FILE, --import FILE
};

// Reads `arguments` (the program's name first) before the window system is reached, so that
// whatever answers without the window needs no display. The window system's own options
// (-platform, -style ...) are let through for it. --help and --help-all and --version win over
// anything else on the line; a folder option must name an existing folder, and comes back
// absolute.
StartOptions ReadCommandLine(const QStringList& arguments);

// The names --version and the application-data folder go by.
void NameApplication();

}  // namespace wb::gui
