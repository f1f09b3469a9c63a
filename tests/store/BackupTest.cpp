// Backups beside the main database: which ones rotation keeps, a backup that is a whole
// checked copy, restoring one with the current file kept, and recovering a damaged file.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "store/Backup.h"
#include "store/Recover.h"
#include "store/Schema.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/RecordingProgress.h"

namespace wb {
namespace {

using test::Contents;
using test::Dump;

DateTime At(int y, int mo, int d, int h = 12) {
    return {{y, mo, d}, h, 0, 0};
}

std::vector<std::string> DumpOf(const std::filesystem::path& file) {
    Database db(file, Database::Mode::ReadOnly);
    return Dump(db);
}

TEST(BackupNames, SortByAgeAndOnlyOursAreBackups) {
    EXPECT_EQ(BackupName({{2026, 12, 6}, 23, 48, 7}), "VELK-2026-12-06-234807.MDB");
    EXPECT_EQ(BackupTime("VELK-2026-12-06-234807.MDB"), (DateTime{{2026, 12, 6}, 23, 48, 7}));
    for (const char* other : {"VELK.MDB", "VELK-2026-02-30-120000.MDB", "VELK-2026-12-06-234807.MDB.part",
                              "velk-2026-12-06-234807.MDB", "VELK-2026-12-06-23480x.MDB"})
        EXPECT_FALSE(BackupTime(other)) << other;
}

// A backup a day for three years: the newest ten stay, with the newest of each of the 24
// months up to now; everything older goes.
TEST(BackupRotation, KeepsTheNewestTenAndOneAMonthForTwoYears) {
    std::vector<BackupFile> daily;
    for (int y = 2024; y <= 2026; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 31; ++d)
                if (IsRealDate({y, m, d}) && CalendarDate{y, m, d} <= CalendarDate{2026, 12, 6})
                    daily.push_back({BackupName(At(y, m, d)), At(y, m, d)});
    const DateTime now = At(2026, 12, 6, 13);
    std::set<std::string> removed;
    for (const BackupFile& b : BackupsToRemove(daily, now))
        removed.insert(b.file.string());
    EXPECT_EQ(daily.size() - removed.size(), 10u + 22u);  // Nov 27 .. Dec 6, and Jan 2025 .. Oct 2026
    for (const auto& [date, kept] : std::vector<std::pair<DateTime, bool>>{{At(2026, 12, 6), true},
                                                                           {At(2026, 11, 27), true},
                                                                           {At(2026, 11, 26), false},
                                                                           {At(2026, 10, 31), true},
                                                                           {At(2025, 1, 31), true},
                                                                           {At(2024, 12, 31), false}})
        EXPECT_EQ(removed.count(BackupName(date)) == 0, kept) << BackupName(date);

    // Only old backups: the newest ten of them stay, the newest above all.
    std::vector<BackupFile> old;
    for (int d = 1; d <= 12; ++d)
        old.push_back({BackupName(At(2019, 3, d)), At(2019, 3, d)});
    const auto gone = BackupsToRemove(old, now);
    ASSERT_EQ(gone.size(), 2u);
    EXPECT_EQ(gone[0].made, At(2019, 3, 2));
    EXPECT_EQ(gone[1].made, At(2019, 3, 1));
}

class BackupTest : public test::StoreFormTest {
  protected:
    void SetUp() override {
        StoreFormTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        // Start-up made one at today's date; these tests keep their own clock.
        std::filesystem::remove_all(BackupFolderOf(MainFile()));
        Store("N100A", "01-02-2003");
        Store("N200B", "02-03-2004", "Radio");
    }
};

// Made at start-up when the file changed, a checked copy with every row; rotation runs as
// backups are made day by day.
TEST_F(BackupTest, ABackupIsAWholeCheckedCopyAndRotationRunsAsTheyAreMade) {
    ASSERT_TRUE(ChangedSinceLastBackup(MainFile()));
    const BackupResult first = MakeBackup(MainFile(), At(2026, 12, 1));
    ASSERT_TRUE(first.made) << first.failure;
    EXPECT_EQ(first.made->filename(), "VELK-2026-12-01-120000.MDB");
    EXPECT_EQ(DumpOf(*first.made), Dump(db()));
    EXPECT_FALSE(ChangedSinceLastBackup(MainFile()));
    Store("N300C", "03-04-2005");
    EXPECT_TRUE(ChangedSinceLastBackup(MainFile()));

    // A second one in the same second gets a name of its own.
    const BackupResult again = MakeBackup(MainFile(), At(2026, 12, 1));
    ASSERT_TRUE(again.made);
    EXPECT_EQ(again.made->filename(), "VELK-2026-12-01-120001.MDB");
    for (int d = 2; d <= 11; ++d)
        ASSERT_TRUE(MakeBackup(MainFile(), At(2026, 12, d)).made);
    const auto left = ListBackups(MainFile());
    ASSERT_EQ(left.size(), 10u);
    EXPECT_EQ(left.front().made, At(2026, 12, 2));
    EXPECT_EQ(left.back().made, At(2026, 12, 11));
}

// The set-up panel's Backups button: one made now, then put back from the list, which
// names each backup by when it was made, its Worksheets and the one stored last; the file it
// replaces is kept.
TEST_F(BackupTest, TheBackupsButtonBacksUpNowAndRestoresTheChosenOne) {
    form.now = [] { return At(2026, 12, 4); };
    form.Clicked(Control::Command3D18);
    dialogs.Clear();
    dialogs.choices = {0};
    form.Clicked(Control::Command3D44);
    ASSERT_EQ(dialogs.Titles(), (std::vector<std::string>{"Backups", "Backup made"}));
    const auto made = ListBackups(MainFile()).back().file;
    form.Clicked(Control::Command3D18);
    Store("N300C", "03-04-2005");

    form.now = [] { return At(2026, 12, 5); };
    form.Clicked(Control::Command3D18);
    dialogs.Clear();
    dialogs.choices = {1};
    dialogs.picks = {0};
    dialogs.answers = {true};
    form.Clicked(Control::Command3D44);
    ASSERT_EQ(dialogs.Titles(), (std::vector<std::string>{"Backups", "Restore a backup", "Restore a backup",
                                                          "Backup restored"}));
    EXPECT_EQ(dialogs.offered[1],
              std::vector<std::string>{"12-04-2026 12:00:00, 2 Worksheets, last stored N200B 02-03-2004"});
    EXPECT_EQ(Dump(db()), DumpOf(made));
    EXPECT_TRUE(std::filesystem::exists(DataFolder() / "VELK.MDB.replaced-2026-12-05-120000"));
    Store("N400D", "04-05-2006");  // the restored file takes saves at once

    // A backup that is no sound database is refused, and the current file stays.
    form.records.reset();
    const std::string current = Contents(MainFile());
    { std::ofstream(temp.path / "junk.MDB", std::ios::binary) << "not a database"; }
    EXPECT_THROW(RestoreBackup(MainFile(), temp.path / "junk.MDB", At(2026, 12, 6)), std::runtime_error);
    EXPECT_EQ(Contents(MainFile()), current);
}

// One zeroed page of the Worksheet table: the rows on other pages come back unchanged, the
// lost ones are named by tail and date from the index, and the damaged file is kept.
TEST_F(BackupTest, RecoveryKeepsEveryReadableRowAndNamesWhatWasLost) {
    for (int n = 0; n < 30; ++n) {
        New();
        Set(Control::Text1, "N" + std::to_string(500 + n));
        Set(Control::Text7, "05-06-2007");
        Set(Control::Text13, "MEMO" + std::string(900, 'x'));
        Item(0, "Item", "1", "2");
        Save();
    }
    const auto original = Dump(db());
    form.records.reset();
    std::string bytes = Contents(MainFile());
    // A leaf page of the Worksheet table: it holds memo text.
    size_t page = 0;
    for (size_t p = 4096; p + 4096 <= bytes.size() && page == 0; p += 4096)
        if (bytes[p] == 0x0D && bytes.substr(p, 4096).find("MEMOxxxx") != std::string::npos) page = p;
    ASSERT_NE(page, 0u);
    std::fill(bytes.begin() + static_cast<long>(page), bytes.begin() + static_cast<long>(page) + 4096, '\0');
    { std::ofstream(MainFile(), std::ios::binary | std::ios::trunc) << bytes; }

    const Recovery r = RecoverMainDatabase(MainFile(), At(2026, 12, 3));
    EXPECT_EQ(Contents(r.keptAs), bytes);
    EXPECT_EQ(r.worksheetsSaved + r.worksheetsLost, 32);
    EXPECT_GT(r.worksheetsLost, 0);
    EXPECT_EQ(r.rowsSaved + r.rowsLost, 32);
    ASSERT_EQ(static_cast<int>(r.lost.size()), r.worksheetsLost);
    for (const std::string& line : r.lost)
        EXPECT_TRUE(line.starts_with("N") && line.ends_with(": the Worksheet could not be read")) << line;
    const auto recovered = DumpOf(MainFile());
    EXPECT_EQ(QuickCheck(*std::make_unique<Database>(MainFile(), Database::Mode::ReadOnly)), "");
    for (const std::string& row : recovered)
        EXPECT_NE(std::find(original.begin(), original.end(), row), original.end()) << row;
    EXPECT_EQ(static_cast<int>(recovered.size()),
              static_cast<int>(original.size()) - r.worksheetsLost - r.rowsLost);
}

// The schema text of `file` garbled as a damaged disk block would: a column renamed.
void GarbleLayout(const std::filesystem::path& file) {
    Database db(file, Database::Mode::OpenExisting);
    db.Exec("PRAGMA writable_schema = ON");
    db.Exec("UPDATE sqlite_schema SET sql = replace(sql, 'Memo TEXT', 'Mema TEXT') WHERE name = 'Aircraft'");
    db.Exec("PRAGMA writable_schema = OFF");
}

// A copy that would pass the structure check but not the start-up's layout check is no
// backup: none is made of such a file, and a newest backup like it is passed over, and named,
// when a damaged file is restored from the newest good one.
TEST_F(BackupTest, ABackupWithAGarbledLayoutIsRefusedWhenMadeAndPassedOverAtRestore) {
    const std::filesystem::path other = temp.path / "other" / "VELK.MDB";
    std::filesystem::create_directories(other.parent_path());
    std::filesystem::copy_file(MainFile(), other);
    GarbleLayout(other);
    const BackupResult refused = MakeBackup(other, At(2026, 12, 1));
    EXPECT_FALSE(refused.made);
    EXPECT_NE(refused.failure.find("did not pass its check"), std::string::npos) << refused.failure;
    EXPECT_TRUE(ListBackups(other).empty());

    const BackupResult good = MakeBackup(MainFile(), At(2026, 12, 1));
    ASSERT_TRUE(good.made) << good.failure;
    const std::filesystem::path bad = BackupFolderOf(MainFile()) / BackupName(At(2026, 12, 2));
    std::filesystem::copy_file(*good.made, bad);
    GarbleLayout(bad);
    form.records.reset();
    GarbleLayout(MainFile());  // the file in use is damaged too

    test::ScriptedDialogs told;
    told.choices = {0};  // Restore backup
    StartAgain(told);
    ASSERT_GE(told.Titles().size(), 2u);
    EXPECT_EQ(told.Titles()[0], "Database damaged");
    ASSERT_EQ(told.Titles()[1], "Backup restored") << told.shown[1].text;
    EXPECT_NE(told.shown[1].text.find("12-01-2026 12:00:00"), std::string::npos) << told.shown[1].text;
    EXPECT_NE(told.shown[1].text.find("passed over"), std::string::npos);
    EXPECT_NE(told.shown[1].text.find(bad.filename().string()), std::string::npos);
    EXPECT_EQ(DumpOf(MainFile()), DumpOf(*good.made));
}

// The set-up panel open over a restore shows the restored company row; closing it stores the
// change typed there and nothing of the file that was replaced.
TEST_F(BackupTest, SetUpClosedAfterARestoreKeepsTheRestoredCompanyRow) {
    ASSERT_TRUE(MakeBackup(MainFile(), At(2026, 12, 4)).made);
    form.Clicked(Control::Command3D18);
    form.TextChanged(Control::Text17, "Renamed Shop");
    form.Clicked(Control::Command3D18);  // closed: the new name is stored

    form.now = [] { return At(2026, 12, 5); };
    form.Clicked(Control::Command3D18);
    form.TextChanged(Control::Text18, "2 Hangar Way");  // typed before the restore
    dialogs.Clear();
    dialogs.choices = {1};
    dialogs.picks = {0};
    dialogs.answers = {true};
    form.Clicked(Control::Command3D44);
    ASSERT_EQ(dialogs.Titles().back(), "Backup restored");
    EXPECT_EQ(form.Text(Control::Text17), "Shop");
    EXPECT_EQ(form.Text(Control::Text18), "2 Hangar Way");
    form.Clicked(Control::Command3D18);
    ASSERT_FALSE(form.Visible(Control::Panel3D7));
    Statement company = db().Prepare("SELECT CompName, CompAddress FROM CompanyInfo ORDER BY Id LIMIT 1");
    ASSERT_TRUE(company.Step());
    EXPECT_EQ(company.Text(0), "Shop");
    EXPECT_EQ(company.Text(1), "2 Hangar Way");
}

// Every file under the data folder, backups included, with its bytes.
std::map<std::string, std::string> FilesUnder(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[e.path().lexically_relative(folder).string()] = Contents(e.path());
    return files;
}

// A file of some hundred pages: the long work has many steps to report.
class LongWorkTest : public BackupTest {
  protected:
    void SetUp() override {
        BackupTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        for (int n = 0; n < 80; ++n) {
            New();
            Set(Control::Text1, "N" + std::to_string(600 + n));
            Set(Control::Text7, "05-06-2007");
            Set(Control::Text13, std::string(3000, 'x'));
            Item(0, "Item", "1", "2");
            Save();
        }
        ASSERT_TRUE(MakeBackup(MainFile(), At(2026, 12, 1)).made);
        Store("N999Z", "01-01-2020");  // the backup is not the file it would replace
    }
};

struct LongWork {
    const char* name;
    const char* text;  // what the progress says first
    std::function<void(const std::filesystem::path& mainFile, Progress&)> run;
};

const LongWork kLongWork[] = {
    {"backup", "Backing up the database",
     [](const auto& file, Progress& p) {
         if (MakeBackup(file, At(2026, 12, 2), p).cancelled) throw WorkCancelled();
     }},
    {"restore", "Restoring the backup",
     [](const auto& file, Progress& p) {
         RestoreBackup(file, ListBackups(file).front().file, At(2026, 12, 2), "replaced", p);
     }},
    {"recovery", "Reading the damaged file",
     [](const auto& file, Progress& p) { RecoverMainDatabase(file, At(2026, 12, 2), p); }},
};

// Each says what it does and how far it is; stopped part of the way, it leaves every file
// of the data folder, backups included, as it was, and the same work then runs to its end.
TEST_F(LongWorkTest, ReportsHowFarItIsAndACancelLeavesEveryFileAsItWas) {
    form.records.reset();
    const auto before = FilesUnder(DataFolder());
    for (const LongWork& work : kLongWork) {
        SCOPED_TRACE(work.name);
        test::RecordingProgress stopped(3);
        EXPECT_THROW(work.run(MainFile(), stopped), WorkCancelled);
        ASSERT_TRUE(stopped.ShowedPartWay());
        EXPECT_EQ(stopped.Steps().front().text, work.text);
        EXPECT_EQ(FilesUnder(DataFolder()), before);

        test::RecordingProgress watched;
        work.run(MainFile(), watched);
        EXPECT_TRUE(watched.ShowedPartWay());
        for (const auto& step : watched.Steps())
            EXPECT_TRUE(step.total == 0 || (step.done >= 0 && step.done <= step.total)) << step.text;
        EXPECT_NE(FilesUnder(DataFolder()), before);
        // Put back for the next.
        for (const auto& e : std::filesystem::recursive_directory_iterator(DataFolder()))
            if (e.is_regular_file() && !before.count(e.path().lexically_relative(DataFolder()).string()))
                std::filesystem::remove(e.path());
        for (const auto& [name, bytes] : before)
            std::ofstream(DataFolder() / name, std::ios::binary | std::ios::trunc) << bytes;
    }
}

// The Backups button runs its work under a dialog that offers Cancel; cancelled, a backup
// says nothing more and a restore says that the database is as it was, which then takes saves.
TEST_F(LongWorkTest, TheBackupsButtonRunsUnderACancellableDialog) {
    test::RecordingRunner runner(2);
    form.runInBackground = runner.Runner();
    form.Clicked(Control::Command3D18);
    const auto before = FilesUnder(DataFolder());
    dialogs.Clear();
    dialogs.choices = {0, 1};
    dialogs.picks = {0};
    dialogs.answers = {true};
    form.Clicked(Control::Command3D44);
    form.Clicked(Control::Command3D44);
    EXPECT_EQ(runner.runs,
              (std::vector<test::AsideRun>{{"Backing up the database", true}, {"Restoring a backup", true}}));
    ASSERT_EQ(dialogs.Titles(), (std::vector<std::string>{"Backups", "Backups", "Restore a backup",
                                                          "Restore a backup", "Backup not restored"}));
    EXPECT_EQ(dialogs.shown.back().text,
              "The restore was cancelled. The database is as it was.\n\nPress OK "
              "to continue");
    EXPECT_EQ(FilesUnder(DataFolder()), before);
    ASSERT_TRUE(form.records);
    Store("N998Y", "02-02-2020");
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Tail = 'N998Y'"), 1);
}

// Two backups of one file at once (the one after the start-up check, and one asked for on
// the Backups button in the same second): each is whole under a name of its own.
TEST_F(LongWorkTest, TwoBackupsAtOnceEachMakeTheirOwnFile) {
    form.records.reset();
    // Each waits at its first report, once its copy file is open, until the other is there.
    class MeetingProgress : public Progress {
      public:
        explicit MeetingProgress(std::atomic<int>& met) : met_(met) {}
        void Report(std::int64_t, std::int64_t, std::string_view) override {
            if (first_) {
                first_ = false;
                ++met_;
                for (int i = 0; i < 300 && met_ < 2; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        bool Cancelled() const override { return false; }

      private:
        std::atomic<int>& met_;
        bool first_ = true;
    };
    std::atomic<int> met = 0;
    BackupResult made[2];
    {
        std::thread other([&] {
            MeetingProgress p(met);
            made[1] = MakeBackup(MainFile(), At(2026, 12, 3), p);
        });
        MeetingProgress p(met);
        made[0] = MakeBackup(MainFile(), At(2026, 12, 3), p);
        other.join();
    }
    ASSERT_TRUE(made[0].made) << made[0].failure;
    ASSERT_TRUE(made[1].made) << made[1].failure;
    EXPECT_NE(*made[0].made, *made[1].made);
    for (const BackupResult& r : made)
        EXPECT_EQ(DumpOf(*r.made), DumpOf(MainFile())) << r.made->string();
}

}  // namespace
}  // namespace wb
