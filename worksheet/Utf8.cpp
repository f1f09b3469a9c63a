#include "worksheet/Utf8.h"

namespace wb {
namespace {
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

size_t CharCount(std::string_view text) {
    size_t n = 0;
    for (char c : text)
        if (!IsContinuation(c)) ++n;
    return n;
}

std::string FirstChars(std::string_view text, size_t count) {
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsContinuation(text[i])) continue;
        if (seen == count) return std::string(text.substr(0, i));
        ++seen;
    }
    return std::string(text);
}

}  // namespace wb
