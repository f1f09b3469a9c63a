// The notes as a multi-line edit box of a given width shows them, line by line, so that the
// printed notes break where the box would have broken them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "worksheet/Utf8.h"  // FirstChars

namespace wb {

inline constexpr double kNotesBoxWidth = 7900;      // twips
inline constexpr std::size_t kNoteLineLimit = 160;  // characters read per line

using TextMeasure = std::function<double(std::string_view)>;

// Breaks text into the lines the box shows: hard line breaks (CR LF, LF or CR) always end a
// line; a line is otherwise wrapped after the last blank at which it still fits the width
// (the blanks stay behind, unprinted); a word wider than the box is broken inside it. Each
// line is then cut to limit characters, as a line buffer of that size would cut it. An empty
// text is one empty line, as the box shows it.
std::vector<std::string> WrapNotes(std::string_view text, double width, const TextMeasure& measure,
                                   std::size_t limit = kNoteLineLimit);

}  // namespace wb
