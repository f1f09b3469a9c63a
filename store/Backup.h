// Backups of the main database in a "Backups" folder beside it, the check that finds a
// damaged file, and putting a backup back. Copies are made with the engine's online backup,
// never by copying the file, so that a copy taken while another program saves is whole.
#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "worksheet/Dates.h"
#include "worksheet/Progress.h"

namespace wb {

struct DateTime {
    CalendarDate date;
    int hour = 0, minute = 0, second = 0;
    auto operator<=>(const DateTime&) const = default;
};

// The local date and time, to the second.
DateTime LocalNow();

inline constexpr std::string_view kBackupFolderName = "Backups";
std::filesystem::path BackupFolderOf(const std::filesystem::path& mainFile);

// "VELK-2026-12-06-234846.MDB": named by when it was made, so that names sort by age.
std::string BackupName(const DateTime& made);
// When a backup of that name was made; nothing for any other file.
std::optional<DateTime> BackupTime(std::string_view fileName);

struct BackupFile {
    std::filesystem::path file;
    DateTime made;
};
// The backups of `mainFile`, oldest first. Files of other names are not backups of ours.
std::vector<BackupFile> ListBackups(const std::filesystem::path& mainFile);

// The backups rotation removes: all but the newest ten and the newest one of each of the
// 24 months up to `now`. The newest backup is never among them.
std::vector<BackupFile> BackupsToRemove(const std::vector<BackupFile>& backups, const DateTime& now);

// Whether the main file was written after its newest backup was made (or has none).
bool ChangedSinceLastBackup(const std::filesystem::path& mainFile);

struct BackupResult {
    std::optional<std::filesystem::path> made;  // the new backup
    std::string failure;                        // why none could be made; empty when made
    bool copyDamaged = false;                   // the copy failed its check: the original is damaged
    bool cancelled = false;                     // the mechanic stopped it; nothing was made
    std::vector<std::filesystem::path> removed;
};
// Copies `mainFile` into a new backup, checks the copy, then removes what rotation removes.
// A half-made copy never keeps a backup's name, also when `progress` is cancelled. Never throws.
BackupResult MakeBackup(const std::filesystem::path& mainFile, const DateTime& now,
                        Progress& progress = NoProgress());

// What a piece of start-up work found, run away from the window since it may take a while
// on a large file.
struct StartupCheck {
    std::string damage;  // what was found wrong with the main file; empty for a sound file
    bool backupTried = false;
    BackupResult backup;
};
// Checks the main file, opened read-only: its structure, and the layout and rules of
// every row. Never throws.
StartupCheck CheckMainFile(const std::filesystem::path& mainFile);
// Backs up a file that passed the check. A copy that fails its own check shows damage
// the check of the original did not see: that is told as damage. Never throws.
StartupCheck BackUpChecked(const std::filesystem::path& mainFile, const DateTime& now);

// A line of the restore list.
struct BackupSummary {
    BackupFile backup;
    bool readable = false;
    std::int64_t worksheets = 0;
    std::string lastTail, lastDate;  // the Worksheet stored last, its date as shown
};
BackupSummary DescribeBackup(const BackupFile& backup);
// "12-06-2026 23:48:46"
std::string ShownDateTime(const DateTime& t);
// "12-06-2026 23:48:46, 20 Worksheets, last stored N123AB 03-04-2005".
std::string SummaryLine(const BackupSummary& s);

// Moves a file (and a journal left beside it) out of the way under a new name,
// "VELK.MDB.<why>-2026-12-06-234846"; returns that name. Throws std::runtime_error.
std::filesystem::path SetAside(const std::filesystem::path& file, std::string_view why, const DateTime& now);

// Puts `backup` in the place of `mainFile`, which is first kept under a new name (returned;
// nothing when there was no main file). The copy is made and checked before the current
// file is moved, so a failure or a cancel (WorkCancelled) leaves it where it was. The main
// file must not be open. Throws std::runtime_error saying why.
std::optional<std::filesystem::path> RestoreBackup(const std::filesystem::path& mainFile,
                                                   const std::filesystem::path& backup, const DateTime& now,
                                                   std::string_view keptAs = "replaced",
                                                   Progress& progress = NoProgress());

}  // namespace wb
