// A program killed in the middle of saving: whenever the process dies, the database still
// opens, passes the integrity check, and each Worksheet is either the old or the new copy.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "store/MainDatabase.h"
#include "store/WorksheetRows.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

constexpr int kSeeded = 4;

// Two full contents that differ in every part a save writes.
Worksheet Version(const std::string& tail, bool second) {
    Worksheet ws;
    ClearWorksheet(ws, false);
    ws.Set(Field::Tail, tail);
    ws.Set(Field::Date, "06-10-2001");
    ws.Set(Field::Make, second ? "Brisk" : "Arden");
    for (int n = 0; n < 5; ++n)
        ws.ScaleRows().At(n, scale::Wgt) = second ? "620" : "610";
    for (int r = 0; r < (second ? 30 : 12); ++r)
        ws.InstalledList().At(r, installed::Description) = (second ? "New " : "Old ") + std::to_string(r);
    for (int r = 0; r < (second ? 100 : 40); ++r)
        ws.EquipmentList().At(r, equipment::Description) = (second ? "Item B" : "Item A") + std::to_string(r);
    return ws;
}

[[noreturn]] void SaveForever(const std::filesystem::path& file, unsigned seed) {
    MainDatabase main(file);
    std::mt19937 random(seed);
    SaveRequest replace;
    replace.replaceSamePair = true;
    for (int i = 0;; ++i) {
        const bool added = random() % 3 == 0;
        const std::string tail = added ? "A" + std::to_string(seed % 10000) + std::to_string(i % 10)
                                       : "K" + std::to_string(random() % kSeeded);
        SaveWorksheet(main.db(), Version(tail, random() % 2 == 0), replace);
    }
}

TEST(KillDuringSave, EveryWorksheetIsWholeAfterAKillAtAnyPoint) {
    test::TempFolder temp;
    const auto file = temp.path / "VELK.MDB";
    {
        MainDatabase main(file);
        for (int k = 0; k < kSeeded; ++k)
            SaveWorksheet(main.db(), Version("K" + std::to_string(k), false), {});
    }

    std::mt19937 random(std::random_device{}());
    const auto start = std::chrono::steady_clock::now();
    int runs = 0;
    for (; runs < 400 && std::chrono::steady_clock::now() - start < std::chrono::seconds(25); ++runs) {
        const unsigned seed = static_cast<unsigned>(random());
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) SaveForever(file, seed);
        usleep(static_cast<useconds_t>(random() % 40000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself: a save failed";

        MainDatabase main(file);
        Statement check = main.db().Prepare("PRAGMA integrity_check");
        ASSERT_TRUE(check.Step());
        ASSERT_EQ(check.Text(0), "ok") << "after run " << runs;
        for (int k = 0; k < kSeeded; ++k) {
            const auto ids = WorksheetsWithPair(main.db(), "K" + std::to_string(k), "2001-06-10");
            ASSERT_EQ(ids.size(), 1u) << "K" << k << " after run " << runs;
        }
        // The make tells the copy; each copy has its own number of rows in each list.
        Statement all = main.db().Prepare(
            "SELECT a.Tail, a.Make, count(e.Id), count(CASE e.List WHEN 'changes' THEN 1 END) "
            "FROM Aircraft a LEFT JOIN Equipment e ON e.Tail = a.Tail AND e.\"Date\" = a.\"Date\" "
            "GROUP BY a.Id");
        while (all.Step()) {
            const bool second = all.Text(1) == "Brisk";
            ASSERT_EQ(all.Int(2), second ? 130 : 52) << *all.Text(0) << " is half saved after run " << runs;
            ASSERT_EQ(all.Int(3), second ? 30 : 12) << *all.Text(0) << " is half saved after run " << runs;
        }
        Statement strays = main.db().Prepare(
            "SELECT count(*) FROM Equipment e WHERE NOT EXISTS "
            "(SELECT 1 FROM Aircraft a WHERE a.Tail = e.Tail AND a.\"Date\" = e.\"Date\")");
        ASSERT_TRUE(strays.Step());
        ASSERT_EQ(strays.Int(0), 0) << "equipment rows without their Worksheet after run " << runs;
    }
    EXPECT_GE(runs, 50) << "too few runs to mean anything";
}

}  // namespace
}  // namespace wb
