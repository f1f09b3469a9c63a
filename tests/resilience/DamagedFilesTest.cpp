// A main database damaged in a few hundred ways (bytes flipped in the header, the schema page,
// table and index pages; pages zeroed; the file cut at and between page boundaries), each
// started on: it is read whole or the damage is told once at start-up, the file is never
// written, and later presses tell nothing more. (Restoring a backup: BackupTest.)
#include <fstream>
#include <iterator>
#include <random>
#include <set>

#include "store/Backup.h"
#include "store/Schema.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using test::Dump;

constexpr size_t kPage = 4096;
const DateTime kBackupMade{{2026, 12, 1}, 8, 0, 0};
const DateTime kNow{{2026, 12, 6}, 9, 30, 0};

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

struct Variant {
    std::string name;
    std::string bytes;
};

// The damaged copies of `whole`, the same every run.
std::vector<Variant> Variants(const std::string& whole) {
    std::mt19937 random(20);
    const size_t pages = whole.size() / kPage;
    std::vector<Variant> out;
    auto flip = [&](const std::string& where, size_t offset) {
        std::string bytes = whole;
        bytes[offset] = static_cast<char>(bytes[offset] ^ static_cast<char>(1 + random() % 255));
        out.push_back({where + " byte " + std::to_string(offset), bytes});
    };
    for (int i = 0; i < 50; ++i)
        flip("header", random() % 100);
    for (int i = 0; i < 50; ++i)
        flip("schema page", 100 + random() % (kPage - 100));
    for (int i = 0; i < 150; ++i) {
        const size_t page = 1 + random() % (pages - 1);
        const unsigned char kind = static_cast<unsigned char>(whole[page * kPage]);
        const std::string what = kind == 0x0D || kind == 0x05   ? "table page"
                                 : kind == 0x0A || kind == 0x02 ? "index page"
                                                                : "page";
        flip(what + " " + std::to_string(page + 1), page * kPage + random() % kPage);
    }
    for (size_t page = 0; page < pages; ++page) {
        std::string bytes = whole;
        std::fill(bytes.begin() + static_cast<long>(page * kPage),
                  bytes.begin() + static_cast<long>((page + 1) * kPage), '\0');
        out.push_back({"page " + std::to_string(page + 1) + " zeroed", bytes});
    }
    for (size_t page = 1; page < pages; ++page) {
        out.push_back({"cut at page " + std::to_string(page + 1), whole.substr(0, page * kPage)});
        const size_t between = page * kPage - 1 - random() % (kPage - 1);
        out.push_back({"cut at byte " + std::to_string(between), whole.substr(0, between)});
    }
    return out;
}

class DamagedFilesTest : public test::StoreFormTest {
  protected:
    // A fresh program started on the data folder.
    struct Run {
        test::ScriptedDialogs dialogs;
        test::FixedClock clock;
        MainForm form{dialogs, clock};
    };
    std::unique_ptr<Run> Start() {
        auto run = std::make_unique<Run>();
        run->form.workingFolder = temp.path;
        run->form.now = [] { return kNow; };
        run->form.Load();
        run->form.Activate();
        return run;
    }
    // Only the one good backup: each variant starts from the same folder.
    void KeepOnlyBackup(const std::filesystem::path& backup) {
        for (const auto& entry : std::filesystem::directory_iterator(DataFolder()))
            if (entry.path() != MainFile() && entry.path() != BackupFolderOf(MainFile()))
                std::filesystem::remove_all(entry.path());
        for (const auto& entry : std::filesystem::directory_iterator(BackupFolderOf(MainFile())))
            if (entry.path() != backup) std::filesystem::remove(entry.path());
    }
};

TEST_F(DamagedFilesTest, EachDamagedFileIsReadWholeOrToldOnceAndNeverWritten) {
    for (int n = 0; n < 20; ++n) {
        New();
        Set(Control::Text1, "N" + std::to_string(100 + n) + "X");
        Set(Control::Text7, "0" + std::to_string(1 + n % 9) + "-1" + std::to_string(n % 10) + "-2004");
        Set(Control::Text13, "Notes " + std::string(400, static_cast<char>('a' + n)));
        for (int r = 0; r < 4; ++r)
            Item(r, "Item " + std::to_string(r), "1.5", "60");
        Save();
        ASSERT_EQ(form.ScreenSaved, 1);
    }
    form.records.reset();
    std::filesystem::remove_all(BackupFolderOf(MainFile()));
    const auto backup = MakeBackup(MainFile(), kBackupMade).made;
    ASSERT_TRUE(backup);
    const std::string whole = Contents(MainFile());
    ASSERT_EQ(whole.size() % kPage, 0u);

    const std::vector<Variant> variants = Variants(whole);
    ASSERT_GT(variants.size(), 250u);
    int toldOnce = 0;
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        KeepOnlyBackup(*backup);
        Write(MainFile(), v.bytes);
        auto run = Start();
        EXPECT_EQ(Contents(MainFile()), v.bytes);
        ASSERT_LE(run->dialogs.shown.size(), 1u) << run->dialogs.shown.back().title;
        const bool told = run->dialogs.shown.size() == 1;
        const std::string title = told ? run->dialogs.shown[0].title : "";
        if (told) {
            ++toldOnce;
            EXPECT_TRUE(title == "Database damaged" || title == "Database could not be opened")
                << run->dialogs.shown[0].text;
        } else {
            EXPECT_EQ(run->form.Health(), MainForm::StoreHealth::Sound);
        }
        // Every press after start-up: no box about the database again.
        run->dialogs.Clear();
        for (Control c : {Control::Text6, Control::Text22, Control::Text7})
            run->form.SetText(c, "");
        std::set<std::string> seen;
        for (int press = 0; press < 21; ++press) {
            run->form.Clicked(Control::Command3D16);
            if (!run->form.Text(Control::Text1).empty()) seen.insert(run->form.Text(Control::Text1));
        }
        for (const std::string& later : run->dialogs.Titles())
            EXPECT_EQ(later, "No records this direction.");
        if (!told) {
            EXPECT_EQ(seen.size(), 20u);
        }
        run.reset();
        EXPECT_EQ(Contents(MainFile()), v.bytes);
    }
    EXPECT_GT(toldOnce, 50);
}

// After damage the title says read-only, saving is refused with the reason, and the damage
// box is not shown again.
TEST_F(DamagedFilesTest, ReadOnlyAfterDamageRefusesSavesWithTheReason) {
    Store("N100A", "01-02-2003");
    form.records.reset();
    std::string bytes = Contents(MainFile());
    // The equipment table's page, which opening the file does not read: the check finds it.
    bytes[4 * kPage + 3] = '\x7f';
    Write(MainFile(), bytes);
    auto run = Start();
    ASSERT_EQ(run->dialogs.Titles(), std::vector<std::string>{"Database damaged"});
    EXPECT_EQ(run->dialogs.offered[0], (std::vector<std::string>{"Restore backup", "Recover", "Read-only"}));
    EXPECT_EQ(run->form.StoreStatus(), "read-only: the database is damaged");
    run->dialogs.Clear();
    run->form.SetText(Control::Text1, "N9");
    run->form.Clicked(Control::Command3D13);
    ASSERT_EQ(run->dialogs.Titles(), std::vector<std::string>{"Worksheet not saved"});
    EXPECT_NE(run->dialogs.shown[0].text.find("damaged"), std::string::npos);
    EXPECT_EQ(Contents(MainFile()), bytes);
}

}  // namespace
}  // namespace wb
