// What only a shared server has: two workstations saving at once, a connection cut in the
// middle of a save, a server that stops answering, a Worksheet changed at another workstation,
// the "Test" answers, and the server's case folding agreeing with the program's.
#include <atomic>
#include <thread>

#include "store/Schema.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/RecordingProgress.h"

namespace wb {
namespace {

using test::TestServerAddress;

Worksheet Sheet(const std::string& tail, const std::string& date, int items) {
    Worksheet ws;
    ws.Set(Field::Tail, tail);
    ws.Set(Field::Date, date);
    for (int n = 0; n < items; ++n) {
        ws.EquipmentList().At(n, equipment::Description) = "Item " + std::to_string(n);
        ws.EquipmentList().At(n, equipment::Weight) = "1.5";
        ws.EquipmentList().At(n, equipment::Arm) = "10";
    }
    return ws;
}

std::int64_t Count(Database& db, const std::string& sql) {
    Statement s = db.Prepare(sql);
    s.Step();
    return s.Int(0);
}

class ShopServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WB_REQUIRE_TEST_SERVER();
        test::FreshServerDatabase();
        admin = OpenServer(TestServerAddress());
    }
    Database admin;
};

// Two workstations storing the same Tail and Date, each agreeing to replace it, 200 times at
// once: one Worksheet stays, and every save but the first kept the version it replaced.
TEST_F(ShopServerTest, SimultaneousSavesOfOneTailAndDateLeaveOneWorksheet) {
    constexpr int kSaves = 200;
    std::atomic<int> failures{0};
    auto workstation = [&](int items) {
        try {
            Database db = OpenServer(TestServerAddress());
            const Worksheet ws = Sheet("N1", "06-10-2001", items);
            SaveRequest request;
            request.replaceSamePair = true;
            for (int i = 0; i < kSaves; ++i)
                SaveWorksheet(db, ws, request);
        } catch (const std::exception&) {
            ++failures;
        }
    };
    std::thread a(workstation, 2), b(workstation, 3);
    a.join();
    b.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(Count(admin, "SELECT count(*) FROM Aircraft"), 1);
    EXPECT_EQ(Count(admin, "SELECT count(*) FROM AircraftRevision"), 2 * kSaves - 1);
    // The list under it is one save's, whole.
    const std::int64_t items = Count(admin, "SELECT count(*) FROM Equipment");
    EXPECT_TRUE(items == 2 || items == 3) << items;
}

// A save whose connection is cut half way (after it kept the old version, while it waits to
// remove the old rows) leaves the old Worksheet whole and keeps nothing of itself.
TEST_F(ShopServerTest, AConnectionCutMidSaveLeavesTheOldVersionWhole) {
    SaveRequest request;
    SaveWorksheet(admin, Sheet("N1", "06-10-2001", 4), request);
    const std::vector<std::string> before = test::Dump(admin);

    Database blocker = ConnectServer(TestServerAddress());
    blocker.Exec("BEGIN; LOCK TABLE Equipment IN EXCLUSIVE MODE");
    std::atomic<bool> lost{false};
    std::thread save([&] {
        try {
            Database db = OpenServer(TestServerAddress());
            db.Exec("SET application_name = 'cut-me'");
            SaveRequest replace;
            replace.replaceSamePair = true;
            SaveWorksheet(db, Sheet("N1", "06-10-2001", 9), replace);
        } catch (const EngineError& e) {
            lost = e.kind() == EngineError::Kind::ServerLost;
        }
    });
    // Cut it once it waits on the lock, with its first rows written in its transaction.
    for (int i = 0; i < 500; ++i) {
        if (Count(admin,
                  "SELECT count(*) FROM pg_stat_activity WHERE application_name = 'cut-me' AND "
                  "wait_event_type = 'Lock'") == 1)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    admin.Exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = 'cut-me'");
    save.join();
    blocker.Exec("ROLLBACK");
    EXPECT_TRUE(lost);
    EXPECT_EQ(test::Dump(admin), before);
    EXPECT_EQ(Count(admin, "SELECT count(*) FROM AircraftRevision"), 0);
}

// The "Test" action and the start-up name what is wrong in plain words.
TEST_F(ShopServerTest, TheTestSaysWhatIsWrong) {
    ServerAddress noServer = TestServerAddress();
    noServer.host = "127.0.0.1";
    noServer.port = "1";
    EXPECT_NE(TestServer(noServer).find("No shop server answers at"), std::string::npos);
    admin.Exec("UPDATE SchemaVersion SET Version = Version + 1");
    EXPECT_NE(TestServer(TestServerAddress()).find("newer version"), std::string::npos);
    try {
        OpenServer(TestServerAddress());
        ADD_FAILURE() << "a newer layout was opened";
    } catch (const ServerRefused& e) {
        EXPECT_EQ(e.reason(), ServerRefused::Reason::Newer);
    }
}

// Over the network the server wants a password: the test and the start-up ask for it, and a
// wrong one or a refused TLS connection is named as such.
class ShopServerLoginTest : public test::FormDriver {
  protected:
    void SetUp() override {
        WB_REQUIRE_TEST_SERVER();
        test::FreshServerDatabase();
        Database admin = OpenServer(TestServerAddress());
        try {
            const char* user = std::getenv("PGUSER");
            admin.Exec("CREATE ROLE wbpass LOGIN PASSWORD 'secret' IN ROLE " +
                       std::string(user ? user : "postgres"));
        } catch (const EngineError&) {
            // Made by an earlier case of this run.
        }
        tcp = TestServerAddress();
        tcp.host = "127.0.0.1";
        const char* port = std::getenv("PGPORT");
        tcp.port = port ? port : "5432";
        tcp.user = "wbpass";
    }
    ServerAddress tcp;
};

TEST_F(ShopServerLoginTest, APasswordIsAskedForAndAWrongOneOrRefusedTlsIsNamed) {
    EXPECT_NE(TestServer(tcp).find("asks for a password"), std::string::npos);
    EXPECT_NE(TestServer(tcp, "wrong").find("refused the user name or password"), std::string::npos);
    EXPECT_EQ(TestServer(tcp, "secret"), "");
    ServerAddress verified = tcp;
    verified.sslmode = "verify-full";
    EXPECT_NE(TestServer(verified, "secret").find("secure (TLS) connection"), std::string::npos);

    // The start-up asks, and the password opens the records; it is stored nowhere.
    std::filesystem::create_directories(DataFolder());
    SettingsDatabase(temp.path).SetDataPath(ServerPath(tcp));
    dialogs.passwords.push_back("secret");
    form.Load();
    form.Activate();
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.front().kind, test::Shown::Password);
    EXPECT_TRUE(form.records);
    EXPECT_EQ(SettingsDatabase(temp.path).DataPath().value_or("").find("secret"), std::string::npos);
}

// The address kept in the settings row takes any text back as it was given.
TEST(ShopServerAddress, KeepsItsTextWhateverItHolds) {
    ServerAddress odd{"/run/it's here\\", "5433", "shop db", "o'neil", "verify-full"};
    EXPECT_EQ(ParseServerPath(ServerPath(odd)), odd);
    EXPECT_EQ(ParseServerPath("C:\\data"), std::nullopt);
}

// On a shop server's screen: a lost server is told in plain words and the screen kept; the
// next press reconnects by itself. A Worksheet replaced at another workstation since it was
// loaded is not overwritten without the mechanic's Yes.
class ShopServerFormTest : public test::StoreFormTest {
  protected:
    test::Engine engine() const override { return test::Engine::Server; }
    void CutTheConnection(bool allowAgain) {
        ServerAddress maintenance;
        maintenance.database = "postgres";
        Database admin = ConnectServer(maintenance);
        const std::string name = TestServerAddress().database;
        admin.Exec("ALTER DATABASE " + name + " ALLOW_CONNECTIONS " + (allowAgain ? "true" : "false"));
        if (!allowAgain)
            admin.Exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" + name +
                       "'");
    }
};

TEST_F(ShopServerFormTest, ALostServerIsToldTheScreenKeptAndTheNextSaveReconnects) {
    New();
    Set(Control::Text1, "N9");
    Set(Control::Text7, "06-10-2001");
    Item(0, "Battery", "25", "10");
    CutTheConnection(false);
    dialogs.shown.clear();
    Save();
    CutTheConnection(true);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back().title, "Worksheet not saved");
    EXPECT_NE(dialogs.shown.back().text.find("The shop server did not answer"), std::string::npos);
    EXPECT_EQ(form.ScreenSaved, 0);
    EXPECT_EQ(form.Text(Control::Text1), "N9");
    EXPECT_EQ(form.ws.EquipmentList().At(0, equipment::Description).Text(), "Battery");
    Save();
    EXPECT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Count("SELECT count(*) FROM Aircraft"), 1);
}

TEST_F(ShopServerFormTest, AWorksheetChangedAtAnotherWorkstationIsReplacedOnlyOnYes) {
    Store("N7", "06-10-2001");
    // The other workstation replaces it (search path, same Tail and Date).
    {
        Records other(OpenServer(TestServerAddress()));
        other.ReopenSearchSet();
        Worksheet ws = Sheet("N7", "06-10-2001", 2);
        SaveRequest request;
        request.replaceSamePair = true;
        SaveWorksheet(other.db(), ws, request);
    }
    for (bool yes : {false, true}) {
        dialogs.shown.clear();
        dialogs.answers.push_back(yes);
        Set(Control::Text2, yes ? "S-YES" : "S-NO");
        Save();
        ASSERT_FALSE(dialogs.shown.empty());
        EXPECT_EQ(dialogs.shown.front().title, "Worksheet changed elsewhere");
        EXPECT_EQ(form.ScreenSaved, yes ? 1 : 0);
        EXPECT_EQ(Count("SELECT count(*) FROM Aircraft"), 1);
        EXPECT_EQ(Count("SELECT count(*) FROM Aircraft WHERE Serial = 'S-YES'"), yes ? 1 : 0);
    }
}

// The capability end to end: from the set-up panel, the server is tested, the local records
// are moved up, the choice saved, and the next start works on the server.
class MoveUpTest : public test::StoreFormTest {};

TEST_F(MoveUpTest, TheLocalRecordsMoveUpAndTheNextStartUsesTheServer) {
    WB_REQUIRE_TEST_SERVER();
    test::FreshServerDatabase();
    Store("N5", "06-10-2001");
    for (Control c : {Control::Command3D18, Control::Command3D40, Control::Command3D45})
        form.Clicked(c);
    ASSERT_TRUE(form.Visible(Control::Panel3D13));
    Set(Control::Text33, TestServerAddress().database);
    dialogs.Clear();
    dialogs.answers = {true};
    for (Control c : {Control::Command3D46, Control::Command3D48, Control::Command3D47})
        form.Clicked(c);
    ASSERT_EQ(dialogs.Titles(), std::vector<std::string>(4, "Shop server"));
    EXPECT_NE(dialogs.shown[0].text.find("can be used"), std::string::npos);
    EXPECT_NE(dialogs.shown[2].text.find("1 Worksheets, 1 equipment rows"), std::string::npos)
        << dialogs.shown[2].text;
    EXPECT_EQ(SettingsDatabase(temp.path).DataPath(), ServerPath(TestServerAddress()));
    // A second move finds the server holding records and merges nothing.
    dialogs.answers = {true};
    form.Clicked(Control::Command3D48);
    EXPECT_NE(dialogs.shown.back().text.find("already holds Worksheets"), std::string::npos);
    Database server = OpenServer(TestServerAddress());
    EXPECT_EQ(wb::Count(server, "SELECT count(*) FROM Equipment"), 1);

    test::ScriptedDialogs again;
    const auto next = StartAgain(again);
    ASSERT_TRUE(next->records);
    EXPECT_TRUE(next->records->db().OnServer());
    EXPECT_EQ(next->records->AircraftSet.Size(), 1);
    EXPECT_TRUE(again.shown.empty());
}

// Stopped part of the way, a move up leaves the server's database as it was; run again, it
// says how many rows are up until all are.
TEST_F(MoveUpTest, ACancelledMoveLeavesTheServerAsItWas) {
    WB_REQUIRE_TEST_SERVER();
    test::FreshServerDatabase();
    for (int n = 0; n < 150; ++n)
        Store("N" + std::to_string(700 + n), "06-10-2001");
    for (Control c : {Control::Command3D18, Control::Command3D40, Control::Command3D45})
        form.Clicked(c);
    Set(Control::Text33, TestServerAddress().database);
    Database server = OpenServer(TestServerAddress());
    const auto before = test::Dump(server);
    for (size_t stopAfter : {2, 0}) {
        SCOPED_TRACE(stopAfter);
        test::RecordingRunner runner(stopAfter);
        form.runInBackground = runner.Runner();
        dialogs.Clear();
        dialogs.answers = {true};
        form.Clicked(Control::Command3D48);
        EXPECT_EQ(runner.runs, (std::vector<test::AsideRun>{{"Moving up to the shop server", true}}));
        ASSERT_EQ(dialogs.Titles(), std::vector<std::string>(2, "Shop server"));
        const std::string told = dialogs.shown.back().text;
        if (stopAfter != 0) {
            EXPECT_TRUE(told.starts_with("The move was cancelled. Nothing was copied")) << told;
            EXPECT_EQ(test::Dump(server), before);
        } else {
            EXPECT_TRUE(told.starts_with("Copied to the shop server: 150 Worksheets")) << told;
            EXPECT_TRUE(runner.progress.ShowedPartWay());
            const auto last = runner.progress.Steps().back();
            EXPECT_EQ(last.done, last.total);
            EXPECT_EQ(test::Dump(server), test::Dump(db()));
        }
    }
}

}  // namespace
}  // namespace wb
