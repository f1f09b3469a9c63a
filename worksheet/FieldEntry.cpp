#include "worksheet/FieldEntry.h"

#include <algorithm>

#include "worksheet/Utf8.h"

namespace wb {
namespace {

bool StartsChar(std::string_view s, size_t i) {
    return i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80;
}

// Byte offset of the character `chars` characters into s (s.size() when past its end).
size_t OffsetOfChar(std::string_view s, size_t chars) {
    return FirstChars(s, chars).size();
}

}  // namespace

std::string AcceptBoxEdit(std::string_view before, std::string_view after, BoxRules rules,
                          std::optional<size_t> caret) {
    // The unchanged head and tail, on character boundaries, never overlapping.
    size_t tail = 0;
    size_t caretAt = after.size();
    if (caret) caretAt = OffsetOfChar(after, *caret);
    const std::string_view afterCaret = after.substr(caretAt);
    const bool caretFits = caret && before.size() >= afterCaret.size() &&
                           before.substr(before.size() - afterCaret.size()) == afterCaret;
    if (caretFits) {
        tail = afterCaret.size();
    } else {
        while (tail < before.size() && tail < after.size() &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
        while (tail > 0 && !StartsChar(after, after.size() - tail))
            --tail;
    }
    const size_t headRoom = std::min(before.size(), after.size()) - tail;
    size_t head = 0;
    while (head < headRoom && before[head] == after[head])
        ++head;
    while (head > 0 && !StartsChar(after, head))
        --head;

    std::string inserted(after.substr(head, after.size() - tail - head));
    const size_t kept = CharCount(after.substr(0, head)) + CharCount(after.substr(after.size() - tail));
    const size_t total = kept + CharCount(inserted);
    const size_t allowed = std::max(rules.limit, CharCount(before));
    if (rules.limit > 0 && total > allowed)
        inserted = FirstChars(inserted, allowed > kept ? allowed - kept : 0);
    if (rules.capitals)
        for (char& ch : inserted)
            if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');

    std::string result(after.substr(0, head));
    result += inserted;
    result += after.substr(after.size() - tail);
    return result;
}

}  // namespace wb
