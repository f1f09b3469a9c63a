// The container's checks: a package is used only when every file is exactly what its manifest
// says, and nothing in it can reach outside its folder or unpack beyond the limits.
#include <gtest/gtest.h>
#include <zip.h>

#include <cctype>
#include <cstdlib>
#include <functional>

#include "package/Container.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using test::TempFolder;

const std::vector<PackageFile> kFiles = {
    {"record.pdf", "%PDF-1.4 pages"}, {"record.json", R"({"tail":"N123"})"}, {"record.schema.json", "{}"}};

// A zip holding exactly these entries, as an outside tool might have made it.
void WriteRawZip(const std::filesystem::path& file, const std::vector<PackageFile>& entries) {
    int code = 0;
    zip_t* zip = zip_open(file.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(zip, nullptr);
    for (const auto& e : entries) {
        zip_source_t* source = zip_source_buffer(zip, e.bytes.data(), e.bytes.size(), 0);
        ASSERT_GE(zip_file_add(zip, e.name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

std::vector<PackageFile> WithManifest(std::vector<PackageFile> files) {
    files.push_back({std::string(kManifestName), ManifestText(files)});
    return files;
}

TEST(ContainerTest, APackageWrittenReadsBackWithAManifestThatSha256sumAccepts) {
    TempFolder temp;
    auto file = temp.path / "N123.wbpkg";
    WritePackage(file, kFiles);
    EXPECT_FALSE(std::filesystem::exists(temp.path / "N123.wbpkg.part"));
    auto read = ReadPackage(file);
    ASSERT_EQ(read.size(), kFiles.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].name, kFiles[i].name);
        EXPECT_EQ(read[i].bytes, kFiles[i].bytes);
    }
    // Checked from outside, by the tools of any system.
    auto dir = temp.path / "out";
    std::filesystem::create_directory(dir);
    std::string cmd = "python3 -m zipfile -e '" + file.string() + "' '" + dir.string() + "' && cd '" +
                      dir.string() + "' && sha256sum -c --quiet " + std::string(kManifestName);
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

struct BadPackage {
    const char* what;
    std::function<void(const std::filesystem::path&)> make;
    const char* told;  // a part of the message that names what is wrong
    PackageLimits limits = {};
};

class BadPackageTest : public ::testing::TestWithParam<BadPackage> {};

TEST_P(BadPackageTest, IsRefusedNamingWhatIsWrong) {
    TempFolder temp;
    auto file = temp.path / "bad.wbpkg";
    GetParam().make(file);
    try {
        ReadPackage(file, GetParam().limits);
        FAIL() << GetParam().what << " was read";
    } catch (const PackageError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().told), std::string::npos) << e.what();
    }
}

// A written package with one byte of its zip changed, `offset` bytes after where the name of
// "record.json" starts in its local header.
void FlipByteOfZip(const std::filesystem::path& file, int offset) {
    WritePackage(file, kFiles);
    std::string bytes = test::Contents(file);
    bytes[bytes.find("record.json") + offset] ^= 0x55;
    std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<PackageFile> Changed(std::size_t which) {
    auto entries = WithManifest(kFiles);
    entries[which].bytes[1] ^= 1;
    return entries;
}

// A changed byte of the data, a path leaving the folder, a zip bomb and what is no zip at all
// are refused through the import too: RecordPackageFileTest.EveryBadPackageIsRefused...
INSTANTIATE_TEST_SUITE_P(
    Packages, BadPackageTest,
    ::testing::Values(
        BadPackage{"a changed byte in the PDF", [](auto& f) { WriteRawZip(f, Changed(0)); },
                   "\"record.pdf\" does not match"},
        BadPackage{"a changed byte in the schema", [](auto& f) { WriteRawZip(f, Changed(2)); },
                   "\"record.schema.json\" does not match"},
        BadPackage{"a changed checksum", [](auto& f) { WriteRawZip(f, Changed(3)); }, "does not match"},
        BadPackage{"a changed byte in a file's header", [](auto& f) { FlipByteOfZip(f, -8); },
                   "is not a record package that can be read"},
        BadPackage{"a changed byte in a file's packed data", [](auto& f) { FlipByteOfZip(f, 14); },
                   "\"record.json\" cannot be read whole"},
        BadPackage{"a missing file",
                   [](auto& f) {
                       auto entries = WithManifest(kFiles);
                       entries.erase(entries.begin() + 1);
                       WriteRawZip(f, entries);
                   },
                   "\"record.json\" is missing"},
        BadPackage{"no manifest", [](auto& f) { WriteRawZip(f, kFiles); }, "no list of checksums"},
        BadPackage{"a file not in the manifest",
                   [](auto& f) {
                       auto entries = WithManifest(kFiles);
                       entries.push_back({"extra.txt", "x"});
                       WriteRawZip(f, entries);
                   },
                   "\"extra.txt\" is not in its list"},
        BadPackage{"an absolute path",
                   [](auto& f) {
                       auto entries = kFiles;
                       entries.push_back({"/tmp/evil", "x"});
                       WriteRawZip(f, WithManifest(entries));
                   },
                   "\"/tmp/evil\""},
        BadPackage{"a file over the size limit", [](auto& f) { WriteRawZip(f, WithManifest(kFiles)); },
                   "more than a record package may hold", PackageLimits{.maxFileBytes = 10}}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

}  // namespace
}  // namespace wb
