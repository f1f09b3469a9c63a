#include "app/LegacyConversion.h"

#include "store/jet/ChildReader.h"
#include "store/jet/Convert.h"
#include "store/jet/JetFile.h"

namespace wb {

// The reader sits beside the program in a build folder, and in the library folder of an
// installed one (a helper, not a command of its own).
static std::filesystem::path InstalledReader() {
    const std::filesystem::path folder = RunningProgramFolder();
    std::error_code ec;
    if (std::filesystem::exists(folder / jet::kJetReaderProgram, ec)) return folder / jet::kJetReaderProgram;
    return folder.parent_path() / "libexec" / "weightbalance" / jet::kJetReaderProgram;
}

LegacyFileOutcome OfferConversion(Dialogs& dialogs, const std::filesystem::path& file, LegacyDatabase which,
                                  const std::filesystem::path& reader, const AsideRunner& run) {
    const jet::JetFormat format = jet::FormatOfFile(file);
    if (format == jet::JetFormat::NotJet) return LegacyFileOutcome::NotLegacy;
    const bool settings = which == LegacyDatabase::Settings;
    if (format != jet::JetFormat::Jet4) {
        dialogs.Notice("Database could not be opened",
                       file.string() +
                           "\n\nThis is an Access database of a version this program cannot convert; only "
                           "Access 2000 files can be. It has been left as it is.\n\nPress OK to continue",
                       Icon::Critical);
        return LegacyFileOutcome::LeftAsItIs;
    }

    const std::string question =
        file.string() + "\n\nThis " + (settings ? "settings" : "database") +
        " file was written by the earlier program (an Access 2000 database). It must be converted before "
        "this program can use it.\n\nConvert it now? The old file is kept unchanged beside the new one as " +
        jet::KeptName(file).filename().string() + ".\n\nIf you answer No, nothing is changed" +
        (settings ? " and the program starts without the stored settings."
                  : " and you can choose another data folder.");
    if (!dialogs.AskYesNo("Convert old database?", question)) return LegacyFileOutcome::LeftAsItIs;

    try {
        jet::ConversionReport report;
        const std::filesystem::path program = reader.empty() ? InstalledReader() : reader;
        if (settings) {
            // Two rows: over before a dialog could show.
            const auto process = SystemChildProcess();
            report = jet::ConvertSettingsDatabase(file, {}, jet::ChildTableReader(*process, program));
        } else {
            RunWithProgress(run, "Converting the old database", true, [&report, file, program](Progress& p) {
                const auto process = SystemChildProcess();
                report = jet::ConvertMainDatabase(file, {}, jet::ChildTableReader(*process, program), p);
            });
        }
        dialogs.Notice("Database converted", jet::ReportText(report), Icon::Information);
        return LegacyFileOutcome::Converted;
    } catch (const WorkCancelled&) {
        dialogs.Notice("Database not converted",
                       file.string() +
                           "\n\nThe conversion was cancelled. Nothing has been changed: the old "
                           "file is where it was.\n\nPress OK to continue",
                       Icon::Exclamation);
        return LegacyFileOutcome::LeftAsItIs;
    } catch (const jet::ConversionError& e) {
        dialogs.Notice("Database could not be converted", file.string() + "\n\n" + e.what(), Icon::Critical);
        return LegacyFileOutcome::LeftAsItIs;
    }
}

}  // namespace wb
