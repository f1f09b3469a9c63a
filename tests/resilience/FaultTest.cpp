// Files and disks that fail under the program: a full disk, and two copies of the program
// saving at once. The mechanic is told, the screen keeps what was typed, no file is left half
// written. (A database of a newer version: RevisionTest; a damaged one: DamagedFilesTest.)
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/Backup.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using test::Dump;

std::string Integrity(Database& db) {
    Statement s = db.Prepare("PRAGMA integrity_check");
    s.Step();
    return s.Text(0).value_or("");
}

class FaultTest : public test::StoreFormTest {
  protected:
    std::vector<std::string> Screen() const {
        std::vector<std::string> shown;
        for (GridId id : kAllGrids)
            shown.insert(shown.end(), form.ws.grid(id).cells.begin(), form.ws.grid(id).cells.end());
        for (const FieldInfo& f : AllFields())
            shown.push_back(form.ws.Get(f.field));
        return shown;
    }
};

// The kernel's file-size limit stands in for a full disk: writes past it are cut short, as
// on a disk without room, and no mount is needed.
template <class Body>
void WithFilesUpTo(rlim_t bytes, Body body) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tight = saved;
    tight.rlim_cur = bytes;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    body();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_DFL);
}

TEST_F(FaultTest, AFullDiskRefusesTheSaveLeavesTheFileAsItWasAndTheSameScreenSavesLater) {
    Store("N100A", "01-02-2003");
    const auto before = Dump(db());
    New();
    Set(Control::Text1, "N200B");
    Set(Control::Text7, "03-04-2005");
    for (int r = 0; r < 100; ++r)
        Item(r, "Item " + std::to_string(r), "1.5", "60");
    dialogs.Clear();
    const auto screen = Screen();
    WithFilesUpTo(std::filesystem::file_size(MainFile()) + 1000, [&] { Save(); });
    ASSERT_EQ(dialogs.Titles(), std::vector<std::string>{"Worksheet not saved"});
    EXPECT_NE(dialogs.shown[0].text.find("full"), std::string::npos) << dialogs.shown[0].text;
    EXPECT_EQ(form.ScreenSaved, 0);
    EXPECT_EQ(Screen(), screen);
    EXPECT_EQ(Dump(db()), before);
    EXPECT_EQ(Integrity(db()), "ok");

    dialogs.Clear();
    Save();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment WHERE Tail = 'N200B'"), 100);
}

// A backup cut short for want of room is removed, never left under a backup's name.
TEST_F(FaultTest, ABackupCutShortByAFullDiskIsRemoved) {
    form.records.reset();
    std::filesystem::remove_all(BackupFolderOf(MainFile()));
    std::filesystem::create_directory(BackupFolderOf(MainFile()));
    BackupResult full;
    WithFilesUpTo(4096, [&] { full = MakeBackup(MainFile(), {{2026, 12, 6}, 9, 30, 0}); });
    EXPECT_FALSE(full.made);
    EXPECT_EQ(full.failure, "the disk is full");
    EXPECT_TRUE(std::filesystem::is_empty(BackupFolderOf(MainFile())));
}

// Two copies of the program on one data folder, each saving its own Worksheets at the same
// moment: the busy wait lets both through and every Worksheet lands whole.
TEST_F(FaultTest, TwoProgramsSavingAtOnceBothLandWhole) {
    form.records.reset();
    constexpr int kEach = 25;
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    for (const char* prefix : {"P", "Q"}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The forked copy of this test's program saves on its own connection.
            form.Activate();
            char byte = 0;
            if (read(go[0], &byte, 1) != 1) std::_Exit(3);
            for (int i = 0; i < kEach; ++i) {
                New();
                Set(Control::Text1, prefix + std::to_string(i));
                Set(Control::Text7, "05-06-2007");
                for (int r = 0; r < 60; ++r)
                    Item(r, "Part " + std::to_string(r), "2", "10");
                dialogs.Clear();
                Save();
                if (!dialogs.shown.empty() || form.ScreenSaved != 1) std::_Exit(1);
            }
            std::_Exit(0);
        }
        children.push_back(child);
    }
    ASSERT_EQ(write(go[1], "gg", 2), 2);
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save was refused or failed";
    }
    close(go[0]);
    close(go[1]);

    form.Activate();
    EXPECT_EQ(Integrity(db()), "ok");
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft"), 2 * kEach);
    EXPECT_EQ(Count("SELECT count(*) FROM Equipment"), 2 * kEach * 60);
}

}  // namespace
}  // namespace wb
