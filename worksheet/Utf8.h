// Limits are counted in characters, never bytes: a cut never splits a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wb {

size_t CharCount(std::string_view text);
std::string FirstChars(std::string_view text, size_t count);
void AppendUtf8(std::string& text, char32_t c);
// Removes the last character, never half of one.
void RemoveLastChar(std::string& text);

}  // namespace wb
