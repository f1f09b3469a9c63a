// A main database damaged in a few hundred ways (bytes flipped in the header and in every page,
// pages zeroed, the file cut at and between page boundaries), each started on: it is read whole
// or the damage is told once (at start-up, or when a press first meets it), a save over it is
// refused with the reason, and the file is never written. (Restoring a backup: BackupTest.)
#include <fstream>
#include <optional>
#include <random>
#include <set>

#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using test::Contents;

constexpr size_t kPage = 4096;

struct Variant {
    std::string name;
    std::string bytes;
};

// The damaged copies of `whole`, the same every run.
std::vector<Variant> Variants(const std::string& whole) {
    std::mt19937 random(20);
    const size_t pages = whole.size() / kPage;
    std::vector<Variant> out;
    auto flip = [&](size_t offset) {
        std::string bytes = whole;
        bytes[offset] = static_cast<char>(bytes[offset] ^ static_cast<char>(1 + random() % 255));
        out.push_back(
            {"byte " + std::to_string(offset) + " of page " + std::to_string(offset / kPage + 1), bytes});
    };
    for (int i = 0; i < 50; ++i)
        flip(random() % 100);  // the header
    for (int i = 0; i < 200; ++i)
        flip(100 + random() % (whole.size() - 100));
    for (size_t page = 0; page < pages; ++page) {
        std::string bytes = whole;
        std::fill_n(bytes.begin() + static_cast<long>(page * kPage), kPage, '\0');
        out.push_back({"page " + std::to_string(page + 1) + " zeroed", bytes});
    }
    for (size_t page = 1; page < pages; ++page) {
        out.push_back({"cut at page " + std::to_string(page + 1), whole.substr(0, page * kPage)});
        const size_t between = page * kPage - 1 - random() % (kPage - 1);
        out.push_back({"cut at byte " + std::to_string(between), whole.substr(0, between)});
    }
    return out;
}

constexpr const char* kIndexDisagrees = "an index entry that disagrees with its row";

// The whole file with one tail number changed inside the page of the tail index only: the
// index stays well-formed and in order, but no longer matches its table.
Variant IndexDisagreeing(const std::string& whole, std::int64_t indexPage) {
    std::string bytes = whole;
    const size_t start = static_cast<size_t>(indexPage - 1) * kPage;
    const size_t at = bytes.find("N105X", start);
    EXPECT_LT(at, start + kPage);
    bytes[at + 4] = 'Y';
    return {kIndexDisagrees, bytes};
}

class DamagedFilesTest : public test::StoreFormTest {
  protected:
    // `count` Worksheets of four items and long notes; `again`: each saved twice, so that
    // each has an earlier version.
    void StoreMany(int count, size_t notes, bool again) {
        for (int n = 0; n < count; ++n) {
            New();
            Set(Control::Text1, "N" + std::to_string(100 + n) + "X");
            Set(Control::Text7, "0" + std::to_string(1 + n % 9) + "-1" + std::to_string(n % 10) + "-2004");
            Set(Control::Text13, "Notes " + std::string(notes, static_cast<char>('a' + n)));
            for (int r = 0; r < 4; ++r)
                Item(r, "Item " + std::to_string(r), "1.5", "60");
            Save();
            if (again) {
                Set(Control::Text3, "Piper");
                Save();
            }
            ASSERT_EQ(form.ScreenSaved, 1);
        }
    }
};

TEST_F(DamagedFilesTest, EachDamagedFileIsReadWholeOrToldOnceAndNeverWritten) {
    StoreMany(20, 400, false);
    std::int64_t indexPage = 0;
    {
        Statement root = db().Prepare("SELECT rootpage FROM sqlite_schema WHERE name = 'Aircraft_Worksheet'");
        ASSERT_TRUE(root.Step());
        indexPage = root.Int(0);
    }
    form.records.reset();
    const std::string whole = Contents(MainFile());
    ASSERT_EQ(whole.size() % kPage, 0u);

    int toldOnce = 0;
    std::vector<Variant> variants = Variants(whole);
    variants.push_back(IndexDisagreeing(whole, indexPage));
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        // Each variant starts from a folder holding only the file: no journal, no backups.
        for (const auto& entry : std::filesystem::directory_iterator(DataFolder()))
            if (entry.path() != MainFile()) std::filesystem::remove_all(entry.path());
        std::ofstream(MainFile(), std::ios::binary | std::ios::trunc) << v.bytes;
        test::ScriptedDialogs told;
        auto run = StartAgain(told);
        ASSERT_LE(told.shown.size(), 1u) << told.shown.back().title;
        if (v.name == kIndexDisagrees) {
            // Told at start-up, not when a press first goes through the index.
            ASSERT_EQ(told.Titles(), std::vector<std::string>{"Database damaged"});
            EXPECT_NE(told.shown[0].text.find("Aircraft_Worksheet"), std::string::npos) << told.shown[0].text;
        }
        // A byte changed inside a value that still reads as one: no damage to the file, but the
        // record no longer matches its audit trail, and the window says so once.
        if (told.Titles() == std::vector<std::string>{"Records changed"}) continue;
        if (!told.shown.empty()) {
            // Open read-only over the damage, or not open at all: a save is refused with the reason.
            run->SetText(Control::Text1, "N9");
            run->Clicked(Control::Command3D13);
            ASSERT_EQ(told.shown.size(), 2u);
            EXPECT_EQ(told.shown[1].title, "Worksheet not saved");
            EXPECT_NE(told.shown[1].text.find(run->records ? "damaged" : "could not be opened"),
                      std::string::npos)
                << told.shown[1].text;
        }
        for (Control c : {Control::Text1, Control::Text6, Control::Text22, Control::Text7})
            run->SetText(c, "");
        std::set<std::string> seen;
        for (int press = 0; press < 21; ++press) {
            run->Clicked(Control::Command3D16);
            if (!run->Text(Control::Text1).empty()) seen.insert(run->Text(Control::Text1));
        }
        // Damage is told once, at start-up or when a press first meets it.
        int boxes = 0;
        for (const std::string& title : told.Titles()) {
            if (title == "Database damaged" || title == "Database could not be opened") {
                ++boxes;
            } else {
                EXPECT_TRUE(title == "No records this direction." || title == "Worksheet not saved") << title;
            }
        }
        EXPECT_LE(boxes, 1);
        toldOnce += boxes;
        if (boxes == 0) {
            EXPECT_EQ(seen.size(), 20u);
        }
        run.reset();
        EXPECT_EQ(Contents(MainFile()), v.bytes);
    }
    EXPECT_GT(toldOnce, 50);
}

// Every row of the tables a recovery copies. Which Worksheet an earlier version belongs to is
// left out: the versions of a Worksheet that was lost stand as those of a deleted one.
std::vector<std::string> Rows(const std::filesystem::path& file) {
    Database db(file, Database::Mode::ReadOnly);
    return test::Dump(db, {"Aircraft", "Equipment", "AircraftRevision", "EquipmentRevision"},
                      "AircraftRevision.WorksheetId");
}

// With each page zeroed in turn, Recover, chosen where the damage is told, gives a file that
// opens, takes a save and starts again without a word, holding only rows of the intact file
// (earlier versions included), and says what it kept and lost.
TEST_F(DamagedFilesTest, EachZeroedPageIsRecoveredIntoAFileThatSavesAndStartsAgain) {
    StoreMany(12, 600, true);
    form.records.reset();
    const std::string whole = Contents(MainFile());
    const std::vector<std::string> intact = Rows(MainFile());
    int recovered = 0;
    for (size_t page = 0; page < whole.size() / kPage; ++page) {
        SCOPED_TRACE("page " + std::to_string(page + 1) + " zeroed");
        for (const auto& entry : std::filesystem::directory_iterator(DataFolder()))
            std::filesystem::remove_all(entry.path());
        std::string bytes = whole;
        std::fill_n(bytes.begin() + static_cast<long>(page * kPage), kPage, '\0');
        std::ofstream(MainFile(), std::ios::binary | std::ios::trunc) << bytes;
        test::ScriptedDialogs told;
        told.choices = {0};  // no backup: the first way on is Recover
        {
            const auto started = StartAgain(told);
            MainForm& run = *started;
            if (told.Titles().empty()) continue;  // damage a start reads past is the other test's
            ASSERT_GE(told.Titles().size(), 2u);
            ASSERT_EQ(told.Titles()[0], "Database damaged");
            ASSERT_EQ(told.Titles()[1], "Database recovered") << told.shown[1].text;
            EXPECT_NE(told.shown[1].text.find("earlier versions were recovered"), std::string::npos);
            ++recovered;
            for (const std::string& row : Rows(MainFile()))
                EXPECT_NE(std::find(intact.begin(), intact.end(), row), intact.end()) << row;
            if (run.Visible(Control::Panel3D7)) run.Clicked(Control::Command3D18);
            run.SetText(Control::Text1, "N999Z");
            run.SetText(Control::Text7, "01-01-2020");
            run.Clicked(Control::Command3D13);
            EXPECT_EQ(run.ScreenSaved, 1) << told.Titles().back() << ": " << told.shown.back().text;
        }
        test::ScriptedDialogs again;
        EXPECT_TRUE(StartAgain(again)->records);
        for (const std::string& title : again.Titles())
            EXPECT_TRUE(title != "Database damaged" && title != "Database could not be opened") << title;
    }
    EXPECT_GT(recovered, 10);
}

}  // namespace
}  // namespace wb
