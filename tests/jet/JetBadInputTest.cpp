// Files that are not what they claim: a clear message back, no crash, nothing written.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "Fixtures.h"
#include "store/jet/JetFile.h"
#include "store/jet/LegacyFiles.h"

namespace wb::jet {
namespace {

namespace fs = std::filesystem;
using testing::FixtureDir;

class BadInput : public ::testing::Test {
  protected:
    fs::path Write(const char* name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }
    fs::path Copy(const fs::path& fixture, const char* name) {
        return Write(name, testing::Contents(FixtureDir() / fixture));
    }

    const fs::path dir_ = [] {
        const fs::path dir = fs::temp_directory_path() / ("wb-jet-" + std::to_string(std::random_device()()));
        fs::create_directories(dir);
        return dir;
    }();
    ~BadInput() override { fs::remove_all(dir_); }
};

// Files are told by their header, not their name; a file that is not an old main or settings
// database is refused with the reason.
TEST_F(BadInput, FilesThatAreNotWhatTheirNameSays) {
    WB_NEED_JET_FIXTURES();
    EXPECT_EQ(FormatOfFile(Copy("VELK_b.MDB", "notes.txt")), JetFormat::Jet4);
    const fs::path text = Write("VELK.MDB", "Tail,Date\nN4521K,03-12-1996\n");
    const fs::path setupAsMain = Copy("setup-configured/SetupVELKF.MDB", "other.MDB");
    const auto before = testing::FilesIn(dir_);
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
    EXPECT_EQ(testing::FilesIn(dir_).size(), before.size() + 1);  // only the empty file written above
}

}  // namespace
}  // namespace wb::jet
