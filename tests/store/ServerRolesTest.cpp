// The README's GRANTs, run as written: with them the shop's role does a whole day's work on the
// shop server (saves, loading data, scales, signers, signatures, an imported record) and still
// cannot change or remove a row of the trail, nor the triggers that keep it.
#include <fstream>
#include <regex>
#include <sstream>

#include "package/RecordPackage.h"
#include "store/Audit.h"
#include "store/Canonical.h"
#include "store/Scales.h"
#include "store/Signing.h"
#include "store/Verify.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/LoadingSample.h"

namespace wb {
namespace {

// The administrator's SQL from the README, for the role `shop`.
std::string ReadmeGrants(const std::string& shop) {
    std::ifstream in(std::filesystem::path(WB_SOURCE_DIR) / "README.md");
    std::string line, sql;
    bool inside = false;
    while (std::getline(in, line)) {
        const auto text = line.substr(std::min(line.find_first_not_of(' '), line.size()));
        if (inside && text == "SQL") break;
        if (inside) sql += text + "\n";
        if (text.find("<<'SQL'") != std::string::npos) inside = true;
    }
    return std::regex_replace(sql, std::regex("\\bshop\\b"), shop);
}

void StandInPdf(Database&, const std::string&, const std::filesystem::path& pdf, Progress&) {
    std::ofstream(pdf) << "%PDF-1.4\n";
}

class ServerRolesTest : public test::FormDriver {};

TEST_F(ServerRolesTest, TheReadmesGrantsLetTheShopWorkAndKeepTheTrailAppendOnly) {
    WB_REQUIRE_TEST_SERVER();
    test::FreshServerDatabase();
    const std::string shop = "shop_" + test::TestServerAddress().database;
    const std::string owner = "owner_" + test::TestServerAddress().database;
    Database admin = ConnectServer(test::TestServerAddress());
    admin.Exec("CREATE ROLE " + shop + " LOGIN; GRANT CREATE, USAGE ON SCHEMA public TO " + shop);
    ServerAddress asShop = test::TestServerAddress();
    asShop.user = shop;
    // The first start makes the tables; then the administrator does as the README says.
    MainDatabase(OpenServer(asShop)).WriteCompanyRow(test::ShopCompany());
    const std::string grants = ReadmeGrants(shop);
    ASSERT_NE(grants.find("GRANT"), std::string::npos);
    admin.Exec("CREATE ROLE " + owner + " NOLOGIN; REASSIGN OWNED BY " + shop + " TO " + owner + ";" +
               grants + "REVOKE CREATE ON SCHEMA public FROM " + shop);

    // A record from another shop, signed there, to import.
    std::filesystem::create_directories(temp.path / "other");
    const auto package = temp.path / "N7.zip";
    {
        MainDatabase other(temp.path / "other" / MainDatabase::kFileName);
        other.db().Exec(
            "INSERT INTO Aircraft (Tail, \"Date\", FoldedTail, Empty, CG) VALUES ('N7', '2010-01-01', 'n7', "
            "1000, "
            "30)");
        {
            Transaction tx(other.db());
            AppendAudit(other.db(), audit::kSave, "N7", "2010-01-01");
            tx.Commit();
        }
        SealingCost() = {1, 8192};
        const auto signer = AddSigner(other.db(), "A. Jones", "IA", "77", "long passphrase");
        ASSERT_EQ(SignWorksheet(other.db(), 1, signer, "long passphrase"), SignOutcome::Signed);
        ExportTail(other.db(), "N7", package, StandInPdf);
    }

    // A day's work as the shop's role.
    SettingsDatabase(temp.path).SetDataPath(ServerPath(asShop));
    form.Load();
    form.Activate();
    ASSERT_TRUE(form.records);
    New();
    FillWorksheet();
    form.ws.loading = test::Figure10Loading();
    Save();
    ASSERT_EQ(form.ScreenSaved, 1) << (dialogs.shown.empty() ? "" : dialogs.shown.back().text);
    LoadBySearch("O'NEIL");
    Set(Control::Text3, "Piper Aircraft");
    Save();
    ASSERT_EQ(form.ScreenSaved, 1) << (dialogs.shown.empty() ? "" : dialogs.shown.back().text);
    ShopScale scale;
    scale.serial = "A-100";
    StoreScale(db(), scale);
    const auto signer = AddSigner(db(), "J. Smith", "A&P", "1", "long passphrase");
    ASSERT_EQ(
        SignWorksheet(db(), *CanonicalReader(db()).Find("O'NEIL", "2001-06-10"), signer, "long passphrase"),
        SignOutcome::Signed);
    RetireSigner(db(), signer);
    EXPECT_EQ(ImportPackage(db(), package).imported, 1);
    EXPECT_TRUE(VerifyRecords(db()).Passed()) << FindingsText(VerifyRecords(db()));

    // What the shop's role cannot do.
    for (const char* sql :
         {"UPDATE AuditTrail SET UserName = 'x'", "DELETE FROM AuditTrail", "TRUNCATE AuditTrail",
          "DELETE FROM ImportedAudit", "UPDATE Signature SET Statement = 'x'", "DELETE FROM Correction",
          "DROP TRIGGER AuditTrail_Kept ON AuditTrail", "ALTER TABLE AuditTrail DISABLE TRIGGER USER",
          "UPDATE Signer SET Name = 'x'"}) {
        SCOPED_TRACE(sql);
        EXPECT_THROW(db().Exec(sql), EngineError);
    }

    form.records.reset();
    test::FreshServerDatabase();
    try {
        admin.Exec("DROP OWNED BY " + shop + ", " + owner + "; DROP ROLE " + shop + "; DROP ROLE " + owner);
    } catch (const EngineError&) {
        // The throwaway server goes with the run.
    }
}

}  // namespace
}  // namespace wb
