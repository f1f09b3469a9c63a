// Any record.json, well formed or not, through an import: the package is refused with a
// PackageError and the store left as it was, or it is stored and every record verifies. Each
// input either mutates a real export (members replaced, removed or added anywhere) or is taken
// as the JSON text itself.
#include <fuzzer/FuzzedDataProvider.h>
#include <sodium.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "package/RecordPackage.h"
#include "store/MainDatabase.h"
#include "store/Signing.h"
#include "store/Verify.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Fixture {
    fs::path folder, emptyStore;
    json record;
    std::string pdf, schema;
};

void StandInPdf(wb::Database&, const std::string&, const fs::path& pdf, wb::Progress&) {
    std::ofstream(pdf, std::ios::binary) << "%PDF-1.4 stand-in\n";
}

// A store with one signed Worksheet and its rows, exported once; and an empty store to copy.
const Fixture& Made() {
    static const Fixture fixture = [] {
        Fixture f;
        f.folder = fs::temp_directory_path() / ("wb-fuzz-record-" + std::to_string(std::random_device()()));
        fs::create_directories(f.folder);
        static const fs::path made = f.folder;
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(made, ec);
        });
        f.emptyStore = f.folder / "empty.MDB";
        { wb::MainDatabase empty(f.emptyStore); }
        wb::MainDatabase source(f.folder / "source.MDB");
        wb::Database& db = source.db();
        db.Exec(
            "INSERT INTO Aircraft (Tail, \"Date\", FoldedTail, Empty, CG, Memo) VALUES ('N1', '2001-06-10', "
            "'n1', "
            "1200.5, 35.25, 'Weighed \"as is\"');"
            "INSERT INTO Equipment (Tail, \"Date\", RowNum, Description, Weight, Arm, List, FoldedTail) "
            "VALUES "
            "('N1', '2001-06-10', 0, 'Battery', 25, 10, 'equipment', 'n1');"
            "INSERT INTO Aircraft (Tail, \"Date\", FoldedTail, Empty, CG) VALUES ('N1', '2003-01-02', 'n1', "
            "1210, "
            "35.5);");
        wb::SealingCost() = {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
        const std::int64_t signer = wb::AddSigner(db, "J. Smith", "A&P", "1", "fuzz passphrase");
        wb::SignWorksheet(db, 1, signer, "fuzz passphrase");
        const fs::path package = f.folder / "source.zip";
        wb::ExportTail(db, "N1", package, StandInPdf);
        for (const wb::PackageFile& file : wb::ReadPackage(package)) {
            if (file.name == wb::kRecordJsonFile) f.record = json::parse(file.bytes);
            if (file.name == wb::kRecordPdfFile) f.pdf = file.bytes;
            if (file.name == wb::kRecordSchemaFile) f.schema = file.bytes;
        }
        return f;
    }();
    return fixture;
}

json Anything(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
        case 0:
            return nullptr;
        case 1:
            return in.ConsumeBool();
        case 2:
            return in.ConsumeIntegral<std::int64_t>();
        case 3:
            return in.ConsumeFloatingPoint<double>();
        case 4:
            return json::array({in.ConsumeRandomLengthString(8)});
        case 5:
            return json::object({{in.ConsumeRandomLengthString(8), in.ConsumeRandomLengthString(8)}});
        default:
            return in.ConsumeRandomLengthString(70);
    }
}

// Walks down from `v` to a member or item chosen by the input and changes it.
void Mutate(json& v, FuzzedDataProvider& in) {
    json* at = &v;
    for (int depth = 0; depth < 8 && (at->is_object() || at->is_array()) && !at->empty(); ++depth) {
        const size_t pick = in.ConsumeIntegralInRange<size_t>(0, at->size() - 1);
        json* next = at->is_array() ? &(*at)[pick] : &std::next(at->begin(), static_cast<long>(pick)).value();
        if (in.ConsumeIntegralInRange(0, 3) == 0) break;
        at = next;
    }
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            if (at->is_object() && !at->empty()) at->erase(at->begin());
            break;
        case 1:
            if (at->is_object()) (*at)[in.ConsumeRandomLengthString(12)] = Anything(in);
            if (at->is_array()) at->push_back(Anything(in));
            break;
        default:
            *at = Anything(in);
    }
}

std::int64_t Rows(wb::Database& db) {
    wb::Statement s = db.Prepare(
        "SELECT (SELECT count(*) FROM Aircraft) + (SELECT count(*) FROM Equipment) + (SELECT count(*) FROM "
        "Signature) + (SELECT count(*) FROM AuditTrail) + (SELECT count(*) FROM ImportedAudit)");
    return s.Step() ? s.Int(0) : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Fixture& f = Made();
    FuzzedDataProvider in(data, size);
    std::string text;
    if (in.ConsumeBool()) {
        json doc = f.record;
        for (int n = in.ConsumeIntegralInRange(1, 4); n > 0; --n)
            Mutate(doc, in);
        text = doc.dump(-1, ' ', false, json::error_handler_t::replace);
    } else {
        text = in.ConsumeRemainingBytesAsString();
    }
    const fs::path package = f.folder / "input.zip", store = f.folder / "store.MDB";
    wb::WritePackage(package, {{std::string(wb::kRecordPdfFile), f.pdf},
                               {std::string(wb::kRecordJsonFile), text},
                               {std::string(wb::kRecordSchemaFile), f.schema}});
    fs::copy_file(f.emptyStore, store, fs::copy_options::overwrite_existing);
    wb::MainDatabase main(store);
    const std::int64_t before = Rows(main.db());
    try {
        wb::ImportPackage(main.db(), package);
        if (!wb::VerifyRecords(main.db()).Passed()) std::abort();  // stored, but not sound
    } catch (const wb::PackageError&) {
        if (Rows(main.db()) != before) std::abort();  // refused, but something was stored
    }
    return 0;
}
