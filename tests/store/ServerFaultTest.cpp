// The shop server misbehaving under a save: a server process that hangs is told within the
// time limit and the next save reconnects; a commit whose answer is lost is told as unknown
// and then settled; the first save after an immediate restart reconnects and stores. These
// stop, restart and reconfigure the shared test server, so they run alone (RUN_SERIAL).
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using Clock = std::chrono::steady_clock;

class ServerFaultTest : public test::StoreFormTest {
  protected:
    test::Engine engine() const override { return test::Engine::Server; }
    void SetUp() override {
        ::setenv("WB_SERVER_STATEMENT_TIMEOUT", "2", 1);
        test::StoreFormTest::SetUp();
    }
    void TearDown() override { ::unsetenv("WB_SERVER_STATEMENT_TIMEOUT"); }

    static void Admin(const std::string& sql) {
        ServerAddress admin;
        admin.database = "postgres";
        ConnectServer(admin).Exec(sql);
    }
    void Typed(const std::string& tail) {
        New();
        Set(Control::Text1, tail);
        Set(Control::Text7, "03-04-2026");
        Item(0, "Battery", "25", "10");
    }
    std::int64_t Stored(const std::string& tail) {
        return Count("SELECT count(*) FROM Aircraft WHERE Tail = '" + tail + "'");
    }
};

TEST_F(ServerFaultTest, AHungServerIsToldWithinTheLimitAndTheNextSaveReconnects) {
    Store("N1", "01-02-2026");
    Typed("N2");
    const auto backend = static_cast<pid_t>(Count("SELECT pg_backend_pid()"));
    ASSERT_EQ(::kill(backend, SIGSTOP), 0);
    dialogs.Clear();
    const auto started = Clock::now();
    Save();
    const auto waited = Clock::now() - started;
    ::kill(backend, SIGCONT);
    EXPECT_LT(waited, std::chrono::seconds(4));
    ASSERT_EQ(dialogs.Titles(), std::vector<std::string>{"Worksheet not saved"});
    EXPECT_NE(dialogs.shown[0].text.find("did not answer within 2 s"), std::string::npos)
        << dialogs.shown[0].text;
    EXPECT_EQ(form.ScreenSaved, 0);
    EXPECT_EQ(OnScreen(), "N2 03-04-2026");
    Save();
    EXPECT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Stored("N2"), 1);
}

// A commit that waits for a standby that never comes: its answer is lost, yet the server has
// stored it once the wait is cancelled.
TEST_F(ServerFaultTest, ALostCommitAnswerIsToldAsUnknownAndThenSettled) {
    Store("N1", "01-02-2026");
    Typed("N2");
    Admin("ALTER SYSTEM SET synchronous_standby_names = 'nobody'");
    Admin("SELECT pg_reload_conf()");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    dialogs.Clear();
    Save();
    Admin("ALTER SYSTEM RESET synchronous_standby_names");
    Admin("SELECT pg_reload_conf()");
    ASSERT_EQ(dialogs.Titles(), std::vector<std::string>{"Worksheet may not be saved"});
    EXPECT_EQ(form.ScreenSaved, 0);
    // The next presses ask the server; it can tell once the old server process has ended.
    const auto settled = [&] {
        for (const std::string& t : dialogs.Titles())
            if (t == "Worksheet stored" || t == "Worksheet not saved") return t;
        return std::string();
    };
    for (int i = 0; i < 50 && settled().empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        form.Clicked(Control::Command3D19);  // New, answered No: the screen stays
    }
    EXPECT_EQ(settled(), "Worksheet stored");
    EXPECT_EQ(OnScreen(), "N2 03-04-2026");
    EXPECT_EQ(Stored("N2"), 1);
}

// A statement too long for the socket's buffers, sent to a server process that has hung: the
// wait for room to send is held to the limit as the wait for the answer is.
TEST_F(ServerFaultTest, AHungServerIsToldWithinTheLimitWhenTheStatementFillsTheSocket) {
    Database db = ConnectServer(test::TestServerAddress());
    Statement length = db.Prepare("SELECT length(?)");
    length.Bind(1, std::string("short"));
    ASSERT_TRUE(length.Step());  // prepared on this connection: the next run sends only the text
    Statement pid = db.Prepare("SELECT pg_backend_pid()");
    ASSERT_TRUE(pid.Step());
    const auto backend = static_cast<pid_t>(pid.Int(0));
    ASSERT_EQ(::kill(backend, SIGSTOP), 0);
    std::thread watchdog([backend] {
        std::this_thread::sleep_for(std::chrono::seconds(6));
        ::kill(backend, SIGCONT);
    });
    length.Reset();
    length.Bind(1, std::string(4 << 20, 'P'));
    const auto started = Clock::now();
    EXPECT_THROW(length.Step(), EngineError);
    const auto waited = Clock::now() - started;
    ::kill(backend, SIGCONT);
    watchdog.join();
    EXPECT_LT(waited, std::chrono::seconds(4));
}

// The server cannot tell at once (the old server process is still there): the mechanic starts
// a fresh Worksheet meanwhile, and the answer that comes at its save must not make that save
// replace the Worksheet in doubt.
TEST_F(ServerFaultTest, ASaveInDoubtSettledLaterIsNotReplacedByTheNextScreen) {
    Store("N1", "01-02-2026");
    Typed("N2");
    const auto backend = static_cast<pid_t>(Count("SELECT pg_backend_pid()"));
    Admin("ALTER SYSTEM SET synchronous_standby_names = 'nobody'");
    Admin("SELECT pg_reload_conf()");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    dialogs.Clear();
    // Stopped while its commit waits: it is still there when the next presses ask.
    std::thread stopper([backend] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        ::kill(backend, SIGSTOP);
    });
    Save();
    stopper.join();
    Admin("ALTER SYSTEM RESET synchronous_standby_names");
    Admin("SELECT pg_reload_conf()");
    ASSERT_EQ(dialogs.Titles(), std::vector<std::string>{"Worksheet may not be saved"});
    New();
    ::kill(backend, SIGCONT);
    const std::string gone = "SELECT count(*) FROM pg_stat_activity WHERE pid = " + std::to_string(backend);
    for (int i = 0; i < 50 && Count(gone) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(Count(gone), 0);
    Set(Control::Text1, "N3");
    Set(Control::Text7, "03-04-2026");
    Item(0, "Battery", "25", "10");
    dialogs.Clear();
    Save();
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{"Worksheet stored"});
    EXPECT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Stored("N2"), 1);
    EXPECT_EQ(Stored("N3"), 1);
}

TEST_F(ServerFaultTest, TheFirstSaveAfterAnImmediateRestartReconnectsAndStores) {
    const char* ctl = std::getenv("WB_TEST_PG_CTL");
    ASSERT_NE(ctl, nullptr) << "scripts/pg-test-server.sh names pg_ctl in WB_TEST_PG_CTL";
    Store("N1", "01-02-2026");
    Typed("N2");
    ASSERT_EQ(std::system((std::string(ctl) + " -m immediate restart >/dev/null").c_str()), 0);
    dialogs.Clear();
    Save();
    EXPECT_EQ(dialogs.Titles(), std::vector<std::string>{});
    EXPECT_EQ(form.ScreenSaved, 1);
    EXPECT_EQ(Stored("N2"), 1);
}

}  // namespace
}  // namespace wb
