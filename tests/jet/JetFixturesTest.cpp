// Every value of every fixture file, read through JetFile, against EXPECTED.json.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "Fixtures.h"
#include "store/jet/JetFile.h"

namespace wb::jet {
namespace {

using nlohmann::json;
using testing::Expected;
using testing::FixtureDir;

std::string Describe(const JetValue& v) {
    struct {
        std::string operator()(std::monostate) const { return "Null"; }
        std::string operator()(const std::string& s) const { return "text \"" + s + "\""; }
        std::string operator()(double d) const { return "double " + std::to_string(d); }
        std::string operator()(float f) const { return "float " + std::to_string(f); }
        std::string operator()(std::int32_t i) const { return "integer " + std::to_string(i); }
        std::string operator()(bool b) const { return b ? "Yes" : "No"; }
        std::string operator()(const CalendarDate& d) const { return "date " + IsoDate(d); }
    } visitor;
    return std::visit(visitor, v);
}

// Whether the value read matches the expected JSON value for a column of this type.
bool Matches(JetType type, const json& want, const JetValue& got) {
    if (want.is_null()) return IsNull(got);
    switch (type) {
        case JetType::Text:
        case JetType::Memo: {
            const auto* s = std::get_if<std::string>(&got);
            return s && *s == want.get<std::string>();
        }
        case JetType::Double: {
            const auto* d = std::get_if<double>(&got);
            return d && *d == want.get<double>();
        }
        case JetType::Single: {
            const auto* f = std::get_if<float>(&got);
            return f && *f == static_cast<float>(want.get<double>());
        }
        case JetType::Byte:
        case JetType::Integer:
        case JetType::Long: {
            const auto* i = std::get_if<std::int32_t>(&got);
            return i && *i == want.get<std::int32_t>();
        }
        case JetType::Boolean: {
            const auto* b = std::get_if<bool>(&got);
            return b && *b == want.get<bool>();
        }
        case JetType::DateTime: {
            const auto* d = std::get_if<CalendarDate>(&got);
            return d && IsoDate(*d) == want.get<std::string>();
        }
        case JetType::Other:
            break;
    }
    return false;
}

class FixtureFile : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureFile, EveryColumnAndValueMatchesExpected) {
    WB_NEED_JET_FIXTURES();
    const json& file = Expected()["files"][GetParam()];
    ASSERT_FALSE(file.is_null()) << GetParam() << " is not described in EXPECTED.json";
    std::string error;
    auto jet = JetFile::Open(FixtureDir() / GetParam(), error);
    ASSERT_TRUE(jet) << error;

    std::vector<std::string> wantTables;
    for (const auto& [name, _] : file["tables"].items())
        wantTables.push_back(name);
    auto gotTables = jet->Tables();
    std::sort(wantTables.begin(), wantTables.end());
    std::sort(gotTables.begin(), gotTables.end());
    EXPECT_EQ(gotTables, wantTables);

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
                EXPECT_TRUE(Matches(col.type, values[col.name], table->rows[r][c]))
                    << name << " row " << r + 1 << " " << col.name << ": expected " << values[col.name].dump()
                    << ", read " << Describe(table->rows[r][c]);
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
