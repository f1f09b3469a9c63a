// A MainForm over real database files in a temporary folder, with helpers that fill in a
// Worksheet the way the editing rules leave it and that read the files directly.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "store/MainDatabase.h"
#include "store/Records.h"
#include "store/Scales.h"
#include "store/SettingsDatabase.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestServer.h"
#include "worksheet/Balance.h"

namespace wb::test {

class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        path = std::filesystem::temp_directory_path() /
               ("wb-store-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::filesystem::path path;
};

// A file's bytes.
inline std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every row of the tables, as text, for comparing a file before and after; `leaveOut` names one
// column ("Table.Column") that may differ.
inline std::vector<std::string> Dump(Database& db,
                                     std::initializer_list<const char*> tables = {"Aircraft", "Equipment",
                                                                                  "CompanyInfo"},
                                     std::string_view leaveOut = {}) {
    std::vector<std::string> rows;
    for (const char* table : tables) {
        std::string columns = "*";  // the local file's column list only when one is left out
        if (!leaveOut.empty()) {
            columns.clear();
            Statement names = db.Prepare("SELECT name FROM pragma_table_info(?) ORDER BY cid");
            names.Bind(1, std::string(table));
            while (names.Step()) {
                const std::string name = names.Text(0).value_or("");
                if (std::string(table) + "." + name == leaveOut) continue;
                columns += (columns.empty() ? "" : ", ") + Quoted(name);
            }
        }
        Statement s = db.Prepare("SELECT " + columns + " FROM " + table + " ORDER BY Id");
        while (s.Step()) {
            std::string row = table;
            for (int c = 0; c < s.ColumnCount(); ++c)
                row += "|" + s.Text(c).value_or("<null>");
            rows.push_back(row);
        }
    }
    return rows;
}

// A company row with every field the start-up asks for.
inline CompanyRow ShopCompany() {
    CompanyRow company;
    company.CompName = "Shop";
    company.CompAddress = "1 Field Rd";
    company.FormTitle = "Weight and Balance";
    company.Mechanic = "J. Smith";
    company.Cert = "A&P 123";
    return company;
}

// The statements that take a store back to the layout of version 3, which had no unit system
// or chord, no scales or weighing record, no loading data, no signed records and nothing imported.
inline std::string VersionThreeSql(Engine engine) {
    std::string sql =
        "DROP TABLE Scale; DROP INDEX Equipment_Changes; DROP TABLE Loading; DROP TABLE LoadingRevision;";
    for (const char* table : {"Aircraft", "AircraftRevision"}) {
        for (const char* column : {"Units", "Lemac", "Mac"})
            sql += "ALTER TABLE " + std::string(table) + " DROP COLUMN " + column + ";";
        for (const auto& [column, number] : WeighingColumns())
            sql += "ALTER TABLE " + std::string(table) + " DROP COLUMN " + std::string(column) + ";";
    }
    if (engine == Engine::File)
        return sql +
               "DROP TABLE Signature; DROP TABLE Signer; DROP TABLE Correction; DROP TABLE AuditTrail; "
               "DROP TABLE ImportedAudit; PRAGMA user_version = 3;";
    return sql +
           "DROP TABLE Signature, Signer, Correction, AuditTrail, ImportedAudit; UPDATE SchemaVersion SET Version = "
           "3;";
}

// A MainForm over a working folder in a temporary folder, with the presses a mechanic makes.
class FormDriver : public ::testing::Test {
  protected:
    FormDriver() : form(dialogs, clock) { form.workingFolder = temp.path; }

    std::filesystem::path DataFolder() const { return temp.path / "data"; }
    // Another run of the program over the same folders, talking to `told`: loaded and started.
    // `prepare` sets it up before it starts (a runner for work aside, say).
    std::unique_ptr<MainForm> StartAgain(ScriptedDialogs& told,
                                         const std::function<void(MainForm&)>& prepare = {}) {
        auto run = std::make_unique<MainForm>(told, clock);
        run->workingFolder = temp.path;
        if (prepare) prepare(*run);
        run->Load();
        run->Activate();
        return run;
    }
    std::filesystem::path MainFile() const { return DataFolder() / "VELK.MDB"; }
    Database& db() { return form.records->db(); }
    std::int64_t Count(const std::string& sql) {
        Statement s = db().Prepare(sql);
        s.Step();
        return s.Int(0);
    }

    void New() {
        if (form.ScreenSaved == 0) dialogs.answers.push_back(true);
        form.Clicked(Control::Command3D19);
    }
    void Set(Control c, const std::string& text) { form.SetText(c, text); }
    // Types a row's cells as the editing rules leave them and works out its moment.
    void Fill(GridId id, int n, std::initializer_list<int> cols, std::initializer_list<std::string> texts) {
        auto text = texts.begin();
        for (int c : cols)
            form.ws.store(id).At(n, c) = *text++;
        CommitRowMoment(form.ws, id, n);
    }
    void Scale(int n, const char* dsc, const char* tar, const char* wgt, const char* arm) {
        Fill(GridId::Grid2, n, {scale::Dsc, scale::Tar, scale::Wgt, scale::Arm}, {dsc, tar, wgt, arm});
    }
    void Fluid(int n, const char* dsc, const char* wgt, const char* arm) {
        Fill(GridId::Grid4, n, {fluid::Dsc, fluid::Wgt, fluid::Arm}, {dsc, wgt, arm});
    }
    void Change(int n, const std::string& desc, const char* wgt, const char* arm, const char* in,
                const char* out) {
        using namespace installed;
        Fill(GridId::Grid1, n, {Description, Serial, Weight, Arm, Install, Remove},
             {desc, "S" + std::to_string(n), wgt, arm, in, out});
    }
    void Item(int n, const std::string& desc, const char* wgt, const char* arm) {
        using namespace equipment;
        Fill(GridId::Grid3, n, {Description, Serial, Weight, Arm}, {desc, "E" + std::to_string(n), wgt, arm});
    }
    void Save() { form.Clicked(Control::Command3D13); }
    // A fresh Worksheet with the given identity and one equipment item, saved.
    void Store(const std::string& tail, const std::string& date, const std::string& item = "Battery") {
        New();
        Set(Control::Text1, tail);
        Set(Control::Text7, date);
        Item(0, item, "25", "10");
        Save();
        ASSERT_EQ(form.ScreenSaved, 1) << tail << " " << date;
    }
    // A weighed Worksheet with fluids, equipment changes, an equipment list and texts that would
    // break a store built carelessly.
    void FillWorksheet() {
        Set(Control::Text1, "O'NEIL");
        Set(Control::Text7, "6/10/2001");
        Set(Control::Text2, "28-7890");
        Set(Control::Text3, "Piper");
        Set(Control::Text5, "1978");
        Set(Control::Text8, "1234.5");
        Set(Control::Text11, "2325");
        Set(Control::Text12, "WO-77");
        Set(Control::Text14, "82.0 to 93.0");
        // Quotes, an SQL fragment, control characters and right-to-left text, stored as typed.
        Set(Control::Text13,
            "Weighed \"as is\";\nfuel drained.\r\n'); DROP TABLE Aircraft;--\t\x01\x7f "
            "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xE2\x80\x8F\xD8\xB9");
        Scale(0, "Right Main", "2.5", "612.5", "80");
        Scale(1, "Left Main", "2.5", "610", "80");
        Scale(2, "Nose", "0", "290", "30");
        Fluid(0, "Forward Tanks", "30", "95");
        Change(1, "Radio 5\" panel", "12", "40", "X", "");
        Change(2, "Old ADF", "5", "60", "", "X");
        Item(0, "Battery", "25", "10");
        Item(1, "ELT 50% off_", "3", "200");
        Recalculate(form.ws);
    }
    // Empties the nine identity boxes, so that a browse press on a fresh Worksheet browses all.
    void ClearCriteria() {
        for (Control c : {Control::Text1, Control::Text2, Control::Text3, Control::Text4, Control::Text5,
                          Control::Text6, Control::Text22, Control::Text12, Control::Text7})
            Set(c, "");
    }
    // The stored Worksheet of this tail (and date, if given) on screen, found by a search.
    void LoadBySearch(const std::string& tail, const std::string& date = "") {
        New();
        ClearCriteria();
        Set(Control::Text1, tail);
        Set(Control::Text7, date);
        Next();
        ASSERT_EQ(form.Text(Control::Text1), tail);
        ASSERT_EQ(form.SearchActive, 1);
    }
    void Next() { form.Clicked(Control::Command3D16); }
    void Previous() { form.Clicked(Control::Command3D17); }
    std::string OnScreen() const { return form.Text(Control::Text1) + " " + form.Text(Control::Text7); }

    TempFolder temp;
    ScriptedDialogs dialogs;
    FixedClock clock{{2026, 12, 6}};
    MainForm form;
};

// The driver over a data folder (or, for the cases that run on both engines, a shop server)
// whose company row is complete, started.
class StoreFormTest : public FormDriver {
  protected:
    virtual Engine engine() const { return Engine::File; }

    void SetUp() override {
        std::filesystem::create_directories(DataFolder());
        const CompanyRow company = ShopCompany();
        if (engine() == Engine::Server) {
            WB_REQUIRE_TEST_SERVER();
            FreshServerDatabase();
            SettingsDatabase(temp.path).SetDataPath(ServerPath(TestServerAddress()));
            MainDatabase(OpenServer(TestServerAddress())).WriteCompanyRow(company);
        } else {
            SettingsDatabase(temp.path).SetDataPath(DataFolder().string());
            MainDatabase(MainFile()).WriteCompanyRow(company);
        }
        form.Load();
        form.Activate();
        ASSERT_TRUE(form.records) << "the record store did not open";
    }
};

// A suite of StoreFormTest cases that runs once on each engine (instantiate it with
// INSTANTIATE_TEST_SUITE_P(Engines, Suite, test::BothEngines(), test::EngineName)).
class BothEnginesTest : public StoreFormTest, public ::testing::WithParamInterface<Engine> {
  protected:
    Engine engine() const override { return GetParam(); }
};

}  // namespace wb::test
