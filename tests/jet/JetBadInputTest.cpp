// Files that are not what they claim: a clear message back, no crash, nothing written.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>

#include "Fixtures.h"
#include "store/jet/JetFile.h"
#include "store/jet/LegacyFiles.h"

namespace wb::jet {
namespace {

namespace fs = std::filesystem;
using testing::FixtureDir;

class BadInput : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device seed;
        dir_ = fs::temp_directory_path() / ("wb-jet-" + std::to_string(seed()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::set<fs::path> Listing() const {
        std::set<fs::path> names;
        for (const auto& e : fs::recursive_directory_iterator(dir_))
            names.insert(e.path());
        return names;
    }

    // The first `size` bytes of a fixture, under the name the program looks for.
    fs::path CutCopy(const fs::path& fixture, size_t size, const char* name = "VELK.MDB") {
        std::ifstream in(FixtureDir() / fixture, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bytes.resize(std::min(size, bytes.size()));
        return Write(name, bytes);
    }

    fs::path Write(const char* name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }

    fs::path dir_;
};

// A memo stored over the long-value pages 40 to 50 of VELK_a, each link naming the next: a link
// turned back to an earlier page, or past the end of the file, is refused, never followed.
TEST_F(BadInput, ALongValueChainThatLoopsOrLeavesTheFileIsRefused) {
    WB_NEED_JET_FIXTURES();
    constexpr size_t kLinkOnPage45 = 45 * 4096 + 20;
    for (const std::uint32_t link : {0x2900u, 0xFFFF00u}) {
        SCOPED_TRACE(link);
        std::string bytes = testing::Contents(FixtureDir() / "VELK_a.MDB");
        ASSERT_EQ(static_cast<unsigned char>(bytes[kLinkOnPage45 + 1]), 0x2E);
        for (int i = 0; i < 4; ++i)
            bytes[kLinkOnPage45 + i] = static_cast<char>(link >> (8 * i));
        std::string error;
        EXPECT_FALSE(ReadLegacyMain(Write("VELK.MDB", bytes), error));
        EXPECT_NE(error.find("Table Aircraft of"), std::string::npos) << error;
        EXPECT_NE(error.find("is damaged"), std::string::npos) << error;
    }
}

// Files are told by their header, not their name; a file that is not an old main or settings
// database is refused with the reason.
TEST_F(BadInput, FilesThatAreNotWhatTheirNameSays) {
    WB_NEED_JET_FIXTURES();
    EXPECT_EQ(FormatOfFile(CutCopy("VELK_b.MDB", SIZE_MAX, "notes.txt")), JetFormat::Jet4);
    const fs::path text = Write("VELK.MDB", "Tail,Date\nN4521K,03-12-1996\n");
    EXPECT_EQ(FormatOfFile(text), JetFormat::NotJet);
    const fs::path setupAsMain = CutCopy("setup-configured/SetupVELKF.MDB", SIZE_MAX, "other.MDB");
    const auto before = Listing();
    struct Case {
        bool main;
        fs::path file;
        const char* says;
    };
    for (const Case& c : {Case{true, text, "is not an Access (Jet) database"},
                          Case{false, Write("SetupVELKF.MDB", ""), "is not an Access (Jet) database"},
                          Case{true, setupAsMain, "has no table Aircraft"},
                          Case{false, FixtureDir() / "VELK_a.MDB", "has no table Setup"}}) {
        std::string error;
        EXPECT_FALSE(c.main ? static_cast<bool>(ReadLegacyMain(c.file, error))
                            : static_cast<bool>(ReadLegacySetup(c.file, error)));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(JetFile::Open(dir_ / "missing.MDB", error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
    EXPECT_EQ(Listing().size(), before.size() + 1);  // only the empty file written above
}

}  // namespace
}  // namespace wb::jet
