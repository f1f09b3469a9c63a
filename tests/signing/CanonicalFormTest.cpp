// The canonical form as the README documents it, rebuilt from the rows with a JSON library and
// checked with libsodium alone: a record verifies without any of the program's own code for
// canonical JSON, hashing or verifying. And numbers are written as ECMAScript writes them.
#include <sodium.h>

#include <nlohmann/json.hpp>

#include "store/Canonical.h"
#include "store/Signing.h"
#include "tests/store/StoreFixture.h"

namespace wb {
namespace {

using nlohmann::json;

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// One row by the README's rules: every column but Id, WorksheetId and the Folded ones, names
// in lower case, Null left out, a whole number written without a fraction.
json RowJson(Statement& s) {
    json row = json::object();
    for (int c = 0; c < s.ColumnCount(); ++c) {
        const std::string name = Lower(s.ColumnName(c));
        if (name == "id" || name == "worksheetid" || name.rfind("folded", 0) == 0 || s.IsNull(c)) continue;
        const Value v = s.Get(c);
        if (const auto* i = std::get_if<std::int64_t>(&v))
            row[name] = *i;
        else if (const auto* d = std::get_if<double>(&v))
            row[name] = *d == static_cast<double>(static_cast<std::int64_t>(*d))
                            ? json(static_cast<std::int64_t>(*d))
                            : json(*d);
        else
            row[name] = std::get<std::string>(v);
    }
    return row;
}

std::vector<unsigned char> Bytes(const std::string& hex) {
    std::vector<unsigned char> out(hex.size() / 2);
    sodium_hex2bin(out.data(), out.size(), hex.data(), hex.size(), nullptr, nullptr, nullptr);
    return out;
}

class CanonicalFormTest : public test::StoreFormTest {};

TEST_F(CanonicalFormTest, ASignedRecordVerifiesFromTheDocumentedFormWithLibsodiumAlone) {
    SealingCost() = {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
    New();
    FillWorksheet();  // quotes, control characters, right-to-left text, fractions
    Save();
    const std::int64_t signer = AddSigner(db(), "J. Smith", "IA", "3456789", "long passphrase");
    const std::int64_t id = *form.records->OnScreen();
    ASSERT_EQ(SignWorksheet(db(), id, signer, "long passphrase"), SignOutcome::Signed);

    Statement aircraft = db().Prepare("SELECT * FROM Aircraft WHERE Id = ?");
    aircraft.Bind(1, id);
    ASSERT_TRUE(aircraft.Step());
    json record;
    record["aircraft"] = RowJson(aircraft);
    Statement equipment = db().Prepare("SELECT * FROM Equipment WHERE Tail = ? AND \"Date\" = ?");
    equipment.BindAll({std::string("O'NEIL"), std::string("2001-06-10")});
    std::vector<std::string> rows;
    while (equipment.Step())
        rows.push_back(RowJson(equipment).dump());
    std::sort(rows.begin(), rows.end());
    record["equipment"] = json::array();
    for (const std::string& r : rows)
        record["equipment"].push_back(json::parse(r));

    Statement sig = db().Prepare(
        "SELECT SignerName, CertKind, CertNumber, PublicKey, Statement, Signed, Form, Previous, Hash, "
        "Ed25519 "
        "FROM Signature");
    ASSERT_TRUE(sig.Step());
    json signedText = {{"form", sig.Int(6)},
                       {"record", record},
                       {"signed", *sig.Text(5)},
                       {"statement", *sig.Text(4)},
                       {"signer",
                        {{"name", *sig.Text(0)},
                         {"kind", *sig.Text(1)},
                         {"certificate", *sig.Text(2)},
                         {"key", *sig.Text(3)}}}};
    ASSERT_TRUE(sig.IsNull(7));  // the tail's first signed record names none before it
    const std::string text = signedText.dump();

    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    char hex[2 * sizeof digest + 1];
    sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
    EXPECT_EQ(std::string(hex), *sig.Text(8)) << text;
    const auto key = Bytes(*sig.Text(3));
    const auto signature = Bytes(*sig.Text(9));
    EXPECT_EQ(
        crypto_sign_verify_detached(signature.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                    text.size(), key.data()),
        0);
}

TEST(JsonNumber, NumbersAreWrittenAsECMAScriptWritesThem) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},           {-0.0, "0"},           {25, "25"},
        {612.5, "612.5"},   {-3.25, "-3.25"},      {0.1, "0.1"},
        {1e-6, "0.000001"}, {1e-7, "1e-7"},        {123456789012345680000.0, "123456789012345680000"},
        {1e21, "1e+21"},    {1.5e300, "1.5e+300"}, {2.0 / 3, "0.6666666666666666"},
        {4.35, "4.35"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(JsonNumber(value), text) << value;
    EXPECT_EQ(JsonString("a\"b\\c\n\x01\x7f"), "\"a\\\"b\\\\c\\n\\u0001\x7f\"");
}

}  // namespace
}  // namespace wb
