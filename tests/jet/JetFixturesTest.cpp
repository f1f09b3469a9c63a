// Every value of every fixture file, read through JetFile, against EXPECTED.json.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "Fixtures.h"
#include "store/jet/JetFile.h"

namespace wb::jet {
namespace {

using nlohmann::json;
using testing::Expected;
using testing::FixtureDir;

// A value read, in the form EXPECTED.json writes it: Singles compared at float precision.
json AsJson(const JetValue& v) {
    struct {
        json operator()(std::monostate) const { return nullptr; }
        json operator()(const std::string& s) const { return s; }
        json operator()(double d) const { return d; }
        json operator()(float f) const { return f; }
        json operator()(std::int32_t i) const { return i; }
        json operator()(bool b) const { return b; }
        json operator()(const CalendarDate& d) const { return IsoDate(d); }
    } visitor;
    return std::visit(visitor, v);
}

json Want(JetType type, const json& want) {
    if (type == JetType::Single && want.is_number()) return static_cast<float>(want.get<double>());
    return want;
}

class FixtureFile : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureFile, EveryColumnAndValueMatchesExpected) {
    WB_NEED_JET_FIXTURES();
    const json& file = Expected()["files"][GetParam()];
    ASSERT_FALSE(file.is_null()) << GetParam() << " is not described in EXPECTED.json";
    std::string error;
    auto jet = JetFile::Open(FixtureDir() / GetParam(), error);
    ASSERT_TRUE(jet) << error;

    std::set<std::string> wantTables;
    for (const auto& [name, _] : file["tables"].items())
        wantTables.insert(name);
    const auto gotTables = jet->Tables();
    EXPECT_EQ(std::set<std::string>(gotTables.begin(), gotTables.end()), wantTables);

    for (const auto& [name, want] : file["tables"].items()) {
        SCOPED_TRACE(name);
        auto table = jet->Read(name, error);
        ASSERT_TRUE(table) << error;
        EXPECT_TRUE(table->problems.empty());
        ASSERT_EQ(table->columns.size(), want["columns"].size());
        for (size_t c = 0; c < table->columns.size(); ++c) {
            const json& col = want["columns"][c];
            EXPECT_EQ(table->columns[c].name, col["name"].get<std::string>());
            EXPECT_EQ(JetTypeName(table->columns[c].type), col["type"].get<std::string>()) << col["name"];
            if (col.contains("length")) {
                EXPECT_EQ(table->columns[c].textLength, col["length"].get<int>()) << col["name"];
            }
        }
        ASSERT_EQ(table->rows.size(), want["row_count"].get<size_t>());
        for (size_t r = 0; r < table->rows.size(); ++r) {
            const json& values = want["rows"][r]["values"];
            ASSERT_EQ(want["rows"][r]["row"].get<size_t>(), r + 1);
            for (size_t c = 0; c < table->columns.size(); ++c) {
                const JetColumn& col = table->columns[c];
                EXPECT_EQ(AsJson(table->rows[r][c]), Want(col.type, values[col.name]))
                    << name << " row " << r + 1 << " " << col.name;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllFiles, FixtureFile,
                         ::testing::Values("VELK_a.MDB", "VELK_b.MDB", "setup-configured/SetupVELKF.MDB",
                                           "setup-firstrun/SetupVELKF.MDB"),
                         [](const auto& info) {
                             std::string name;
                             for (char c : info.param)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

}  // namespace
}  // namespace wb::jet
