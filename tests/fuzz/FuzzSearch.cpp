// Byte strings as search criteria over a real database: up to nine typed texts, one per
// identity field. The result must be exactly the stored Worksheets whose texts begin with
// each typed text (letters of either case, in any script) and whose date is the typed date.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "store/CaseFold.h"
#include "store/Records.h"
#include "store/Search.h"
#include "store/WorksheetRows.h"
#include "worksheet/Dates.h"

namespace {

using wb::Field;

// clang-format off
constexpr const char* kStored[] = {
    "N1", "n12", "N1%", "N1_", "a'b", "\"q\"", "%", "_", "\\", "x\\%", "\xC3\xA9t\xC3\xA9",
    "",   "*",   "?#",  "N1*", "\xC3\x89" "COLE", "Stra\xC3\x9F" "e", "\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3"};
// clang-format on

// A text box only ever holds whole UTF-8 characters: bytes past ASCII stand for letters beyond
// it, in both cases, and the dotted and dotless i.
constexpr const char* kLetters[] = {"\xC3\xA9", "\xC3\x89", "\xC3\x9F", "\xCE\xA3",
                                    "\xCF\x83", "\xCF\x82", "\xC4\xB0", "\xC4\xB1"};

wb::Records& Store() {
    static wb::Records* records = [] {
        const auto file =
            std::filesystem::temp_directory_path() / ("wb-fuzz-search-" + std::to_string(getpid()) + ".db");
        std::filesystem::remove(file);
        auto* r = new wb::Records(file);
        int n = 0;
        for (const char* a : kStored) {
            for (const char* b : {"A", "b'", "%"}) {
                wb::Worksheet ws;
                wb::ClearWorksheet(ws, false);
                ws.Set(Field::Tail, a);
                for (Field f : {Field::Serial, Field::Make, Field::Model, Field::Year, Field::By, Field::Cert,
                                Field::Work})
                    ws.Set(f, std::string(b) + a);
                ws.Set(Field::Date, "01-" + std::to_string(1 + n % 28) + "-2001");
                wb::SaveRequest request;
                request.replaceSamePair = true;
                wb::SaveWorksheet(r->db(), ws, request);
                ++n;
            }
        }
        return r;
    }();
    return *records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    wb::Records& records = Store();
    // Field texts are separated by a zero byte; the first byte picks which fields are used.
    std::vector<std::string> typed(9);
    const unsigned used = size > 0 ? data[0] : 0;
    for (size_t i = 1, f = 0; i < size && f < 9; ++i) {
        if (data[i] == 0) {
            ++f;
        } else if ((used >> (f % 8)) & 1u) {
            typed[f] += data[i] < 0x80 ? std::string(1, static_cast<char>(data[i])) : kLetters[data[i] % 8];
        }
    }

    records.ReopenSearchSet();
    for (size_t f = 0; f < 9; ++f) {
        const wb::SearchField& field = wb::SearchFields()[f];
        if (typed[f].empty()) continue;
        (void)wb::CriterionText(field, typed[f]);
        records.NarrowSearchSet(wb::SearchCondition(field, typed[f]));
    }

    // The same search done by hand over every row.
    std::set<std::int64_t> expected;
    wb::Statement all = records.db().Prepare(
        "SELECT Id, Tail, Serial, Make, Model, \"Year\", \"By\", Cert, Work, \"Date\" FROM Aircraft");
    while (all.Step()) {
        bool match = true;
        for (size_t f = 0; f < 8 && match; ++f) {
            if (typed[f].empty()) continue;
            const std::string stored = wb::FoldCase(all.Text(static_cast<int>(f) + 1).value_or(""));
            const std::string prefix = wb::FoldCase(typed[f]);
            match = stored.compare(0, prefix.size(), prefix) == 0;
        }
        if (match && !typed[8].empty()) {
            const auto d = wb::ParseTypedDate(typed[8]);
            match = d && wb::IsoDate(*d) == all.Text(9).value_or("");
        }
        if (match) expected.insert(all.Int(0));
    }
    const std::set<std::int64_t> found(records.SearchSet.Ids().begin(), records.SearchSet.Ids().end());
    if (found != expected || found.size() != records.SearchSet.Ids().size()) std::abort();
    return 0;
}
