#include "store/CaseFold.h"

#include <sqlite3.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <vector>

namespace wb {
namespace {

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::vector<UChar> ToUtf16(std::string_view utf8, UErrorCode& err) {
    int32_t length = 0;
    UErrorCode probe = U_ZERO_ERROR;
    u_strFromUTF8WithSub(nullptr, 0, &length, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr,
                         &probe);
    std::vector<UChar> out(static_cast<size_t>(length) + 1);
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &err);
    out.resize(static_cast<size_t>(length));
    return out;
}

// Runs a preflighting ICU call twice: once for the length, once into a buffer of that size.
template <typename Call>
std::vector<UChar> Transformed(const std::vector<UChar>& in, UErrorCode& err, Call call) {
    if (U_FAILURE(err)) return {};
    UErrorCode probe = U_ZERO_ERROR;
    const int32_t length = call(nullptr, 0, in, probe);
    std::vector<UChar> out(static_cast<size_t>(length) + 1);
    const int32_t written = call(out.data(), static_cast<int32_t>(out.size()), in, err);
    out.resize(U_SUCCESS(err) ? static_cast<size_t>(written) : 0);
    return out;
}

void FoldCaseSql(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int bytes = sqlite3_value_bytes(argv[0]);
    try {
        const std::string folded =
            FoldCase(std::string_view(text != nullptr ? text : "", static_cast<size_t>(bytes)));
        sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
    } catch (const std::exception&) {
        sqlite3_result_error_nomem(context);
    }
}

}  // namespace

std::string FoldCase(std::string_view utf8) {
    // Tail numbers are nearly always plain ASCII, whose folding is its lower case.
    if (IsAscii(utf8)) {
        std::string out(utf8);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    }
    UErrorCode err = U_ZERO_ERROR;
    const std::vector<UChar> wide = ToUtf16(utf8, err);
    const std::vector<UChar> folded = Transformed(
        wide, err, [](UChar* dest, int32_t capacity, const std::vector<UChar>& in, UErrorCode& e) {
            return u_strFoldCase(dest, capacity, in.data(), static_cast<int32_t>(in.size()),
                                 U_FOLD_CASE_DEFAULT, &e);
        });
    const UNormalizer2* nfc = unorm2_getNFCInstance(&err);
    const std::vector<UChar> composed = Transformed(
        folded, err, [nfc](UChar* dest, int32_t capacity, const std::vector<UChar>& in, UErrorCode& e) {
            return unorm2_normalize(nfc, in.data(), static_cast<int32_t>(in.size()), dest, capacity, &e);
        });
    if (U_FAILURE(err)) return std::string(utf8);
    int32_t length = 0;
    UErrorCode probe = U_ZERO_ERROR;
    u_strToUTF8(nullptr, 0, &length, composed.data(), static_cast<int32_t>(composed.size()), &probe);
    std::string out(static_cast<size_t>(length), '\0');
    u_strToUTF8(out.data(), length, &length, composed.data(), static_cast<int32_t>(composed.size()), &err);
    if (U_FAILURE(err)) return std::string(utf8);
    return out;
}

int RegisterFoldCase(sqlite3* db) {
    // Deterministic, so that an index can be built on it; innocuous, so that a schema that
    // uses it is trusted.
    return sqlite3_create_function_v2(db, kFoldCaseFunction, 1,
                                      SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                      FoldCaseSql, nullptr, nullptr, nullptr);
}

}  // namespace wb
