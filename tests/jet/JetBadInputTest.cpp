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

TEST_F(BadInput, TruncatedMainDatabaseIsRefusedAtEveryCut) {
    WB_NEED_JET_FIXTURES();
    const size_t whole = fs::file_size(FixtureDir() / "VELK_a.MDB");
    for (size_t cut : {size_t{0}, size_t{100}, size_t{4096}, size_t{3 * 4096}, whole / 2, whole / 2 + 1000,
                       whole - 4096, whole - 8192, whole - 1}) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const fs::path path = CutCopy("VELK_a.MDB", cut);
        const auto before = Listing();
        std::string error;
        EXPECT_FALSE(ReadLegacyMain(path, error));
        EXPECT_NE(error.find("VELK.MDB"), std::string::npos) << error;
        if (cut % 4096 == 0 && cut > whole / 2) {
            EXPECT_NE(error.find("is damaged"), std::string::npos) << error;
        }
        EXPECT_EQ(Listing(), before);
    }
}

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

TEST_F(BadInput, FileWithTheRightNameButOtherContent) {
    const fs::path text = Write("VELK.MDB", "Tail,Date\nN4521K,03-12-1996\n");
    std::string error;
    EXPECT_FALSE(ReadLegacyMain(text, error));
    EXPECT_NE(error.find("is not an Access (Jet) database"), std::string::npos) << error;
    EXPECT_EQ(FormatOfFile(text), JetFormat::NotJet);

    const fs::path empty = Write("SetupVELKF.MDB", "");
    EXPECT_FALSE(ReadLegacySetup(empty, error));
    EXPECT_NE(error.find("is not an Access (Jet) database"), std::string::npos) << error;

    EXPECT_FALSE(JetFile::Open(dir_ / "missing.MDB", error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
    EXPECT_EQ(Listing(), (std::set<fs::path>{text, empty}));
}

TEST_F(BadInput, RecognisedByHeaderNotByName) {
    WB_NEED_JET_FIXTURES();
    EXPECT_EQ(FormatOfFile(CutCopy("VELK_b.MDB", SIZE_MAX, "notes.txt")), JetFormat::Jet4);
    EXPECT_EQ(FormatOfFile(FixtureDir() / "setup-firstrun/SetupVELKF.MDB"), JetFormat::Jet4);
}

TEST_F(BadInput, SettingsDatabaseOpenedAsTheMainOne) {
    WB_NEED_JET_FIXTURES();
    const fs::path setupAsMain = CutCopy("setup-configured/SetupVELKF.MDB", SIZE_MAX);
    const auto before = Listing();
    std::string error;
    EXPECT_FALSE(ReadLegacyMain(setupAsMain, error));
    EXPECT_NE(error.find("has no table Aircraft"), std::string::npos) << error;

    EXPECT_FALSE(ReadLegacySetup(FixtureDir() / "VELK_a.MDB", error));
    EXPECT_NE(error.find("has no table Setup"), std::string::npos) << error;
    EXPECT_EQ(Listing(), before);
}

}  // namespace
}  // namespace wb::jet
