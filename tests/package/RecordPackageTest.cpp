// The record package end to end on both engines: a tail exported from one store and imported
// into an empty one holds every value, version, signature and audit entry it held; a second
// import changes nothing; every bad package is refused before anything is stored; and the
// package checks from outside with tools that are not ours.
#include <gtest/gtest.h>
#include <sodium.h>
#include <zip.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

#include "package/RecordPackage.h"
#include "package/RecordRows.h"
#include "store/Audit.h"
#include "store/Canonical.h"
#include "store/Signing.h"
#include "store/Verify.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/LoadingSample.h"

namespace wb {
namespace {

using nlohmann::json;

// The printed record is Qt's; here a stand-in file, as the core only carries it.
void FakePdf(Database&, const std::string& tail, const std::filesystem::path& pdf, Progress&) {
    std::ofstream(pdf, std::ios::binary) << "%PDF-1.4 the record of " << tail << "\n";
}

json RecordOf(const std::filesystem::path& package) {
    for (const PackageFile& f : ReadPackage(package))
        if (f.name == kRecordJsonFile) return json::parse(f.bytes);
    return {};
}

class RecordPackageTest : public test::BothEnginesTest {
  protected:
    void SetUp() override {
        SealingCost() = {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
        test::BothEnginesTest::SetUp();
    }

    void Load(const std::string& tail, const std::string& date) {
        New();
        ClearCriteria();
        Set(Control::Text1, tail);
        Set(Control::Text7, date);
        Next();
        ASSERT_EQ(form.Text(Control::Text1), tail);
    }

    // A tail with a history: a weighing with loading data, replaced once (an earlier version)
    // and signed; a later Worksheet; a deleted one; and another tail that must stay out.
    void StoreHistory() {
        New();
        FillWorksheet();
        form.ws.loading = test::Figure10Loading();
        Save();
        Load("O'NEIL", "06-10-2001");
        Set(Control::Text3, "Piper Aircraft");
        Save();
        Load("O'NEIL", "06-10-2001");
        const std::int64_t signer = AddSigner(db(), "J. Smith", "A&P", "3456789", "correct horse battery");
        ASSERT_EQ(SignWorksheet(db(), *CanonicalReader(db()).Find("O'NEIL", "2001-06-10"), signer,
                                "correct horse battery"),
                  SignOutcome::Signed);
        Store("O'NEIL", "03-02-2005", "Strobe");
        Store("o'neil", "04-04-2006", "Seat");
        Load("o'neil", "04-04-2006");
        Set(Control::Text1, "0");  // deleted: its last version stays in the history
        Save();
        Store("N2", "01-01-2010");
        ASSERT_GT(Count("SELECT count(*) FROM Loading"), 0);
    }

    std::filesystem::path Export(const std::string& tail = "O'NEIL") {
        const auto file = temp.path / PackageFileName(tail);
        ExportTail(db(), tail, file, FakePdf);
        return file;
    }

    // An empty store of the engine under test, in place of the form's.
    std::unique_ptr<MainDatabase> EmptyStore() {
        form.records.reset();
        if (engine() == test::Engine::Server) {
            test::FreshServerDatabase();
            return std::make_unique<MainDatabase>(OpenServer(test::TestServerAddress()));
        }
        std::filesystem::create_directories(temp.path / "other");
        return std::make_unique<MainDatabase>(temp.path / "other" / MainDatabase::kFileName);
    }
};

class RecordPackageFileTest : public RecordPackageTest {
  protected:
    test::Engine engine() const override { return test::Engine::File; }
};

TEST_P(RecordPackageTest, ARoundTripKeepsEveryValueVersionSignatureAndAuditEntry) {
    StoreHistory();
    const auto file = Export();
    const json sent = RecordOf(file);
    ASSERT_EQ(sent["worksheets"].size(), 2u);
    ASSERT_EQ(sent["deletedVersions"].size(), 1u);
    ASSERT_EQ(sent["worksheets"][0]["versions"].size(), 1u);
    ASSERT_TRUE(sent["worksheets"][0].contains("signature"));

    auto other = EmptyStore();
    Database& into = other->db();
    const ImportOutcome first = ImportPackage(into, file);
    EXPECT_EQ(first.imported, 2);
    EXPECT_EQ(first.versions, 2);
    EXPECT_EQ(first.signatures, 1);
    EXPECT_EQ(first.Text(), "2 Worksheets of O'NEIL imported, with 2 earlier versions, 1 signature and " +
                                std::to_string(sent["auditTrail"].size()) +
                                " audit entries. Every signature verifies.");
    EXPECT_TRUE(VerifyRecords(into).Passed()) << FindingsText(VerifyRecords(into));
    EXPECT_TRUE(ListSigners(into).empty());  // a signer from elsewhere never signs here

    // Exported again from the store it went into: the same records, the same audit entries
    // first, then one "import" entry per Worksheet that says where it came from.
    const auto again = temp.path / "again.zip";
    ExportTail(into, "O'NEIL", again, FakePdf);
    const json back = RecordOf(again);
    EXPECT_EQ(back["worksheets"], sent["worksheets"]);
    EXPECT_EQ(back["deletedVersions"], sent["deletedVersions"]);
    const json& trail = back["auditTrail"];
    ASSERT_EQ(trail.size(), sent["auditTrail"].size() + 2);
    for (size_t i = 0; i < sent["auditTrail"].size(); ++i)
        EXPECT_EQ(trail[i], sent["auditTrail"][i]);
    EXPECT_EQ(trail.back()["event"], "import");
    EXPECT_NE(trail.back()["detail"].get<std::string>().find("from \"O'NEIL weight and balance record.zip\""),
              std::string::npos);

    // Again: nothing new, nothing written, not even to the audit trail.
    const auto before = test::Dump(into, {"Aircraft", "Equipment", "AircraftRevision", "Signature", "Signer",
                                          "AuditTrail", "ImportedAudit", "Loading"});
    const ImportOutcome second = ImportPackage(into, file);
    EXPECT_EQ(second.imported, 0);
    EXPECT_EQ(second.skipped, 2);
    EXPECT_EQ(test::Dump(into, {"Aircraft", "Equipment", "AircraftRevision", "Signature", "Signer",
                                "AuditTrail", "ImportedAudit", "Loading"}),
              before);
}

// A version-4 store gains what an import keeps, with a copy kept beside it.
TEST_P(RecordPackageTest, AVersionFourStoreIsUpgraded) {
    Store("N1", "03-15-2026");
    form.records.reset();
    const std::string drop =
        "DROP TABLE ImportedAudit; ALTER TABLE Signer DROP COLUMN Origin; ALTER TABLE AuditTrail DROP COLUMN "
        "Detail;";
    if (engine() == test::Engine::File)
        Database(MainFile(), Database::Mode::OpenExisting).Exec(drop + "PRAGMA user_version = 4;");
    else
        ConnectServer(test::TestServerAddress()).Exec(drop + "UPDATE SchemaVersion SET Version = 4;");
    form.Activate();
    ASSERT_TRUE(form.records);
    if (engine() == test::Engine::File) {
        EXPECT_TRUE(std::filesystem::exists(DataFolder() / "VELK.MDB.v4"));
    }
    EXPECT_EQ(Count("SELECT count(*) FROM ImportedAudit"), 0);
    EXPECT_TRUE(VerifyRecords(db()).Passed());
    Store("N1", "03-16-2026");
    EXPECT_EQ(Count("SELECT count(*) FROM AuditTrail WHERE Detail IS NULL"),
              Count("SELECT count(*) FROM AuditTrail"));
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordPackageTest, test::BothEngines(), test::EngineName);

// The files of a package, changed by `change`, written back with or without a manifest made anew.
std::vector<PackageFile> Files(const std::filesystem::path& file) {
    return ReadPackage(file);
}
void Rewrite(const std::filesystem::path& file, std::vector<PackageFile> files) {
    WritePackage(file, files);
}
void RewriteJson(const std::filesystem::path& file, const std::function<void(json&)>& change) {
    auto files = Files(file);
    for (PackageFile& f : files)
        if (f.name == kRecordJsonFile) {
            json doc = json::parse(f.bytes);
            change(doc);
            f.bytes = doc.dump(1, '\t');
        }
    Rewrite(file, files);
}
// A zip of these entries as an outside tool might have made it, the manifest as given.
void RawZip(const std::filesystem::path& file, const std::vector<PackageFile>& entries) {
    int code = 0;
    zip_t* zip = zip_open(file.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(zip, nullptr);
    for (const auto& e : entries)
        zip_file_add(zip, e.name.c_str(), zip_source_buffer(zip, e.bytes.data(), e.bytes.size(), 0),
                     ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    ASSERT_EQ(zip_close(zip), 0);
}

struct BadPackage {
    const char* what;
    std::function<void(const std::filesystem::path&)> spoil;
    const char* told;
};

TEST_F(RecordPackageFileTest, EveryBadPackageIsRefusedBeforeAnythingIsStored) {
    StoreHistory();
    const auto good = Export();
    const std::string goodBytes = test::Contents(good);
    // The store it goes into already holds N2: a refusal must leave it exactly as it was.
    auto other = EmptyStore();
    Database& into = other->db();
    const auto before = test::Dump(into, {"Aircraft", "Equipment", "AuditTrail", "Signature", "Signer"});

    const std::vector<BadPackage> cases = {
        {"a changed byte in record.json, the manifest as it was",
         [&](const auto& f) {
             auto files = Files(f);
             std::string& json = files[1].bytes;
             json[json.find("Battery")] = 'b';
             files.push_back({"SHA256SUMS", ManifestText(Files(good))});
             RawZip(f, files);
         },
         "record.json"},
        {"a missing file",
         [&](const auto& f) {
             auto files = Files(f);
             files.erase(files.begin());
             Rewrite(f, files);
         },
         "lacks record.pdf"},
        {"JSON that does not follow the schema",
         [&](const auto& f) {
             RewriteJson(f, [](json& d) { d["worksheets"][0]["recordHash"] = "not a hash"; });
         },
         "does not follow the record schema: worksheets[0].recordHash: does not match"},
        {"a member the program does not keep",
         [&](const auto& f) {
             RewriteJson(f, [](json& d) { d["deletedVersions"][0]["aircraft"]["colour"] = "red"; });
         },
         "has a member \"colour\" that this program does not keep"},
        {"a record changed, its hash as it was",
         [&](const auto& f) {
             RewriteJson(f, [](json& d) { d["worksheets"][1]["record"]["aircraft"]["maxwt"] = 9999; });
         },
         "does not match its record hash"},
        {"a record and its hash changed under a signature",
         [&](const auto& f) {
             RewriteJson(f, [](json& d) {
                 json& w = d["worksheets"][0];
                 w["record"]["aircraft"]["maxwt"] = 9999;
                 w["recordHash"] = Sha256Hex(record::Canonical(w["record"]));
             });
         },
         "The signature of O'NEIL 06-10-2001 by J. Smith does not verify"},
        {"a signature that does not verify",
         [&](const auto& f) {
             RewriteJson(f, [](json& d) {
                 std::string s = d["worksheets"][0]["signature"]["ed25519"];
                 s[10] = s[10] == '0' ? '1' : '0';
                 d["worksheets"][0]["signature"]["ed25519"] = s;
             });
         },
         "The signature of O'NEIL 06-10-2001 by J. Smith does not verify"},
        {"an audit entry changed",
         [&](const auto& f) { RewriteJson(f, [](json& d) { d["auditTrail"][0]["user"] = "someone else"; }); },
         "was changed after it was made"},
        {"a path that leaves the folder",
         [&](const auto& f) {
             auto files = Files(f);
             files[2].name = "../record.schema.json";
             files.push_back({"SHA256SUMS", ManifestText(files)});
             RawZip(f, files);
         },
         "../record.schema.json"},
        {"a zip bomb",
         [&](const auto& f) {
             auto files = Files(f);
             files[0].bytes = std::string(64u << 20, '\0');
             files.push_back({"SHA256SUMS", ManifestText(files)});
             RawZip(f, files);  // packed, as a hostile tool would
         },
         "record.pdf"},
        {"not a package at all", [&](const auto& f) { std::ofstream(f) << "PK nothing"; }, "not"},
    };
    for (const BadPackage& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = temp.path / "bad.zip";
        std::ofstream(file, std::ios::binary | std::ios::trunc) << goodBytes;
        c.spoil(file);
        try {
            ImportPackage(into, file);
            ADD_FAILURE() << "imported";
        } catch (const PackageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.told), std::string::npos) << e.what();
        }
        EXPECT_EQ(test::Dump(into, {"Aircraft", "Equipment", "AuditTrail", "Signature", "Signer"}), before);
    }

    // A Worksheet held here with other figures is never overwritten.
    ImportPackage(into, good);
    into.Exec("DROP TRIGGER AuditTrail_NotRemoved");
    into.Exec("UPDATE Aircraft SET MaxWt = 2400 WHERE \"Date\" = '2005-03-02'");
    const auto held = test::Dump(into, {"Aircraft", "Equipment", "Signature"});
    try {
        ImportPackage(into, good);
        ADD_FAILURE() << "imported over a held Worksheet";
    } catch (const PackageError& e) {
        EXPECT_NE(std::string(e.what()).find("O'NEIL 03-02-2005 is held here with other figures"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_EQ(test::Dump(into, {"Aircraft", "Equipment", "Signature"}), held);
}

// Checked with tools that are not ours: the manifest by sha256sum, the JSON by Python's
// jsonschema against the schema shipped in the package, which is the repository's.
TEST_F(RecordPackageFileTest, ThePackageChecksFromOutside) {
    StoreHistory();
    const auto file = temp.path / "package.zip";  // a name the shell needs no quoting for
    std::filesystem::rename(Export(), file);
    const auto dir = temp.path / "unpacked";
    std::filesystem::create_directory(dir);
    const std::string unpack = "python3 -m zipfile -e '" + file.string() + "' '" + dir.string() + "'";
    ASSERT_EQ(std::system(unpack.c_str()), 0);
    EXPECT_EQ(std::system(("cd '" + dir.string() + "' && sha256sum -c --quiet SHA256SUMS").c_str()), 0);
    EXPECT_EQ(test::Contents(dir / "record.schema.json"),
              test::Contents(std::filesystem::path(WB_SOURCE_DIR) / "package" / "record.schema.json"));
    const std::string validate = "cd '" + dir.string() +
                                 "' && python3 -c 'import json, jsonschema; "
                                 "jsonschema.Draft202012Validator(json.load(open(\"record.schema.json\")))."
                                 "validate(json.load(open(\"record.json\")))'";
    EXPECT_EQ(std::system(validate.c_str()), 0);
}

}  // namespace
}  // namespace wb
