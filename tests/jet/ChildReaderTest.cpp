// Reading an old file through a child: what a child wrote reaches the program, every way a child
// can misbehave ends in time with the right outcome, the tables come back exactly as read, and
// whatever became of the child, the program gets a plain reason naming where the file is damaged.
#include <gtest/gtest.h>
#include <signal.h>

#include <cmath>
#include <limits>

#include "store/jet/ChildReader.h"
#include "store/jet/ReaderAnswer.h"

namespace wb::jet {
namespace {

using End = ChildOutcome::End;
using namespace std::chrono_literals;

ChildOutcome RunChild(const std::string& mode, ChildLimits limits = {1500ms, 64u << 20, 1u << 20}) {
    return SystemChildProcess()->Run(WB_MISBEHAVING_CHILD, {mode}, limits);
}

TEST(ChildProcess, HandsBackWhatTheChildWroteAndHowItEnded) {
    const ChildOutcome answer = RunChild("answer");
    EXPECT_EQ(answer.end, End::Exited);
    EXPECT_EQ(answer.exitCode, 0);
    EXPECT_EQ(answer.output, "every byte\nof the answer");
    EXPECT_EQ(answer.errors, "said on the side");

    const ChildOutcome failed = RunChild("fail");
    EXPECT_EQ(failed.end, End::Exited);
    EXPECT_EQ(failed.exitCode, 3);

    const ChildOutcome missing = SystemChildProcess()->Run("/nonexistent/reader", {}, {1000ms, 0, 0});
    EXPECT_EQ(missing.end, End::NotStarted);
    EXPECT_FALSE(missing.detail.empty());
}

TEST(ChildProcess, EveryMisbehaviourEndsWithinItsLimit) {
    struct Case {
        const char* mode;
        End end;
    };
    for (const Case& c : {Case{"crash", End::Crashed}, Case{"hang", End::TimedOut},
                          Case{"hang-silently", End::TimedOut}, Case{"flood", End::TooMuchOutput}}) {
        SCOPED_TRACE(c.mode);
        const auto start = std::chrono::steady_clock::now();
        const ChildOutcome outcome = RunChild(c.mode);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
        EXPECT_EQ(outcome.end, c.end);
    }
    // A child past its memory never finishes its work, whichever way the system stops it.
    const ChildOutcome memory = RunChild("memory", {20s, 96u << 20, 1u << 20});
    EXPECT_FALSE(memory.end == End::Exited && memory.exitCode == 0);
}

// Answers every run with one outcome.
class FakeProcess : public ChildProcess {
  public:
    ChildOutcome Run(const std::filesystem::path&, const std::vector<std::string>&,
                     const ChildLimits&) override {
        return outcome;
    }
    ChildOutcome outcome;
};

JetTable EveryKindOfValue() {
    JetTable t;
    t.name = "Aircraft";
    t.columns = {{"Tail", JetType::Text, 10, {}},    {"Memo", JetType::Memo, 0, {}},
                 {"Empty", JetType::Double, 0, {}},  {"Arm", JetType::Single, 0, {}},
                 {"RowNum", JetType::Long, 0, {}},   {"Install", JetType::Boolean, 0, {}},
                 {"Date", JetType::DateTime, 0, {}}, {"Odd", JetType::Other, 0, "type code 11"}};
    t.rows = {{std::string("N4521K"), std::string("two lines\nwith 3:colons and spaces "), 1476.8, -6.8f,
               std::numeric_limits<std::int32_t>::min(), true, CalendarDate{1996, 3, 12}, JetValue{}},
              {std::string(), JetValue{}, -0.0, std::numeric_limits<float>::denorm_min(), 0, false,
               CalendarDate{100, 1, 1}, JetValue{}}};
    t.problems = {{0, "Odd", "stored with a type code 11 that is not read"}, {2, "Arm", "a problem"}};
    return t;
}

std::string Answer(const std::vector<JetTable>& tables) {
    std::string out = AnswerStart() + AnswerStep("its table list");
    for (const JetTable& t : tables)
        out += AnswerStep("table " + t.name) + AnswerTable(t);
    return out + AnswerEnd();
}

TEST(ChildReader, TablesComeBackBitForBit) {
    FakeProcess process;
    const JetTable table = EveryKindOfValue();
    process.outcome = {End::Exited, 0, 0, Answer({table, JetTable{"Equipment", {}, {}, {}}}), "", ""};
    std::string error;
    const auto tables =
        ChildTableReader(process, "/opt/reader").Read("VELK.MDB", {"Aircraft", "Equipment"}, error);
    ASSERT_TRUE(tables) << error;
    ASSERT_EQ(tables->size(), 2u);
    // Written again, the table read gives the very answer it came from: every value, column and problem.
    EXPECT_EQ(AnswerTable((*tables)[0]), AnswerTable(table));
    EXPECT_EQ((*tables)[0].rows, table.rows);
    EXPECT_TRUE(std::signbit(std::get<double>((*tables)[0].rows[1][2])));
}

TEST(ChildReader, EveryFailureSaysWhereTheFileIsDamaged) {
    const std::string start = AnswerStart() + AnswerStep("its table list") + AnswerStep("table Aircraft") +
                              AnswerTable(EveryKindOfValue()) + AnswerStep("table Equipment");
    const std::string cutInTable = start + AnswerTable(EveryKindOfValue()).substr(0, 40);
    struct Case {
        ChildOutcome outcome;
        const char* says;
    };
    const Case cases[] = {
        {{End::Crashed, 0, SIGSEGV, cutInTable, "", ""},
         "\"VELK.MDB\" is damaged: reading table Equipment failed."},
        {{End::Exited, 0, 0, cutInTable, "", ""}, "\"VELK.MDB\" is damaged: reading table Equipment failed."},
        {{End::TimedOut, 0, 0, AnswerStart() + AnswerStep("its table list"), "", ""},
         "\"VELK.MDB\" is damaged: reading its table list did not finish within 4 seconds."},
        {{End::TooMuchOutput, 0, 0, start, "", ""},
         "\"VELK.MDB\" is damaged: table Equipment reads as far more data than the file holds."},
        {{End::Exited, 0, 0,
          AnswerStart() + AnswerRefused("Table Equipment has no column Arm.") + AnswerEnd(), "", ""},
         "Table Equipment has no column Arm."},
        {{End::NotStarted, 0, 0, "", "", "No such file or directory"},
         "\"VELK.MDB\" could not be read: the reader \"/opt/reader\" could not be started (No such file or "
         "directory)."},
    };
    for (const Case& c : cases) {
        FakeProcess process;
        process.outcome = c.outcome;
        std::string error;
        EXPECT_FALSE(
            ChildTableReader(process, "/opt/reader").Read("VELK.MDB", {"Aircraft", "Equipment"}, error));
        EXPECT_EQ(error, c.says);
    }
}

TEST(ChildReader, AnAnswerCutAnywhereIsNeverTakenAsComplete) {
    const std::string whole = Answer({EveryKindOfValue()});
    for (size_t size = 0; size < whole.size(); ++size) {
        const ReaderAnswer answer = ParseAnswer(std::string_view(whole).substr(0, size));
        EXPECT_FALSE(answer.complete) << size;
    }
    EXPECT_TRUE(ParseAnswer(whole).complete);
    // Counts from a confused child are believed only as far as the rows that follow them.
    EXPECT_FALSE(ParseAnswer(AnswerStart() + "table 1:x 0 4000000000 0\nend\n").complete);
}

}  // namespace
}  // namespace wb::jet
