// Damaged copies of an old main database at start-up: bytes changed in every kind of page,
// files cut short, pages zeroed. Each ends converted with exactly the intact file's values or
// refused with a reason, within the reader's time limit, the old file unchanged; none ends the
// program.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "Fixtures.h"
#include "app/LegacyConversion.h"
#include "store/jet/ChildReader.h"
#include "store/jet/JetFile.h"
#include "tests/store/StoreFixture.h"

#ifndef WB_DAMAGED_VARIANTS
#define WB_DAMAGED_VARIANTS 500
#endif

namespace wb {
namespace {

namespace fs = std::filesystem;
using jet::testing::Contents;
using jet::testing::FilesIn;
using jet::testing::FixtureDir;

constexpr size_t kPage = 4096;

enum class Damage { TableDefinition, Catalogue, RowOffsets, LongValue, Truncated, ZeroedPage, Count };
constexpr const char* kDamageNames[] = {"table definition", "catalogue", "row offsets",
                                        "long-value page",  "cut short", "zeroed page"};

// Makes the damaged copies of one file; the same seed makes the same copies. Bytes of stored
// values are left alone: a changed value is not damage the reader could see.
class Damager {
  public:
    Damager(std::string bytes, unsigned seed) : intact_(std::move(bytes)), random_(seed) {
        for (size_t p = 0; p < intact_.size() / kPage; ++p) {
            const auto* page = reinterpret_cast<const unsigned char*>(intact_.data() + p * kPage);
            if (page[0] == 0x02) tdefs_.push_back(p);
            if (page[0] != 0x01) continue;
            if (std::string_view(intact_.data() + p * kPage + 4, 4) == "LVAL")
                longValues_.push_back(p);
            else
                (Int32At(p * kPage + 4) == 2 ? catalogue_ : data_).push_back(p);
        }
    }

    std::string Make(Damage damage) {
        std::string bytes = intact_;
        const size_t pages = bytes.size() / kPage;
        switch (damage) {
            case Damage::TableDefinition: {
                const size_t page = Pick(tdefs_);
                Flip(bytes, page * kPage + Below(std::min<size_t>(kPage, 8 + Int32At(page * kPage + 8))));
                break;
            }
            case Damage::Catalogue:
                Flip(bytes, Pick(catalogue_) * kPage + Below(kPage));
                break;
            case Damage::RowOffsets: {
                const size_t page = Pick(data_);
                Flip(bytes, page * kPage + 12 + Below(2 + 2 * RowCount(page)));
                break;
            }
            case Damage::LongValue: {
                // The page's header and offsets, or the link at the head of a row of a chain (a
                // row of one value holds only text).
                const size_t page = Pick(longValues_), rows = RowCount(page);
                const size_t start = Int16At(page * kPage + 14 + 2 * Below(rows)) & 0x1FFF;
                const size_t link = start + 4 <= kPage ? Int32At(page * kPage + start) : 1;
                const bool chained =
                    link == 0 || std::count(longValues_.begin(), longValues_.end(), link >> 8);
                if (rows > 0 && chained && Below(2) == 0) {
                    Flip(bytes, page * kPage + start + Below(4));
                } else {
                    Flip(bytes, page * kPage + Below(14 + 2 * rows));
                }
                break;
            }
            case Damage::Truncated:
                bytes.resize(Below(2) == 0 ? Below(pages) * kPage : Below(bytes.size()));
                break;
            case Damage::ZeroedPage:
                std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>((1 + Below(pages - 1)) * kPage),
                            kPage, '\0');
                break;
            case Damage::Count:
                break;
        }
        return bytes;
    }

  private:
    size_t Below(size_t n) { return n == 0 ? 0 : random_() % n; }
    size_t Pick(const std::vector<size_t>& pages) { return pages[Below(pages.size())]; }
    void Flip(std::string& bytes, size_t at) { bytes[at] = static_cast<char>(bytes[at] ^ (1 + Below(255))); }
    size_t Int16At(size_t at) const {
        return static_cast<unsigned char>(intact_[at]) | static_cast<unsigned char>(intact_[at + 1]) << 8;
    }
    size_t Int32At(size_t at) const { return Int16At(at) | Int16At(at + 2) << 16; }
    size_t RowCount(size_t page) const { return std::min<size_t>(Int16At(page * kPage + 12), 1000); }

    std::string intact_;
    std::mt19937 random_;
    std::vector<size_t> tdefs_, catalogue_, data_, longValues_;
};

// Runs the start-up conversion on `bytes` as the main database in `folder`, the mechanic
// answering Yes. (The settings file goes through the same reader.)
LegacyFileOutcome Convert(const fs::path& folder, const std::string& bytes, test::ScriptedDialogs& dialogs) {
    fs::create_directories(folder);
    std::ofstream(folder / "VELK.MDB", std::ios::binary) << bytes;
    dialogs.answers = {true};
    return OfferConversion(dialogs, folder / "VELK.MDB", LegacyDatabase::Main, WB_JET_READER);
}

TEST(DamagedFile, IsConvertedWhole_OrRefusedWithAReason_AndTheOldFileIsKept) {
    WB_NEED_JET_FIXTURES();
    const std::string intact = Contents(FixtureDir() / "VELK_a.MDB");
    test::TempFolder temp;
    test::ScriptedDialogs dialogs;
    ASSERT_EQ(Convert(temp.path / "intact", intact, dialogs), LegacyFileOutcome::Converted);
    // The same values make the same records; only the audit trail's time and place differ.
    const auto RecordsOf = [](const fs::path& file) {
        Database db(file, Database::Mode::ReadOnly);
        return test::Dump(db,
                          {"Aircraft", "Equipment", "CompanyInfo", "AircraftRevision", "EquipmentRevision"});
    };
    const auto converted = RecordsOf(temp.path / "intact" / "VELK.MDB");

    const auto limit = jet::LimitsForFile(intact.size()).time + std::chrono::seconds(2);
    Damager damager(intact, 20261207);
    for (int i = 0; i < WB_DAMAGED_VARIANTS; ++i) {
        const int damage = i % static_cast<int>(Damage::Count);
        const std::string bytes = damager.Make(static_cast<Damage>(damage));
        SCOPED_TRACE("variant " + std::to_string(i) + " (" + kDamageNames[damage] + ")");
        const fs::path folder = temp.path / std::to_string(i);
        test::ScriptedDialogs told;
        const auto start = std::chrono::steady_clock::now();
        const LegacyFileOutcome outcome = Convert(folder, bytes, told);
        EXPECT_LT(std::chrono::steady_clock::now() - start, limit);
        if (outcome == LegacyFileOutcome::NotLegacy || told.shown.size() == 1) {
            // The damage reached the header: no longer an old file of a version that converts.
            EXPECT_NE(jet::FormatOfFile(folder / "VELK.MDB"), jet::JetFormat::Jet4);
            EXPECT_TRUE(Contents(folder / "VELK.MDB") == bytes);
        } else if (outcome == LegacyFileOutcome::Converted) {
            EXPECT_TRUE(RecordsOf(folder / "VELK.MDB") == converted);
            EXPECT_TRUE(Contents(folder / "VELK.MDB.jet") == bytes);
        } else {
            ASSERT_EQ(told.shown.size(), 2u);
            EXPECT_NE(told.shown[1].text.find("Nothing has been changed"), std::string::npos)
                << told.shown[1].text;
            EXPECT_EQ(FilesIn(folder), std::set<std::string>{"VELK.MDB"});
            EXPECT_TRUE(Contents(folder / "VELK.MDB") == bytes);
        }
        fs::remove_all(folder);
    }
}

}  // namespace
}  // namespace wb
