#include "reports/NoteLines.h"

namespace wb {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool StartsChar(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

// Index just after the next UTF-8 character starting at i.
size_t NextChar(std::string_view s, size_t i) {
    ++i;
    while (i < s.size() && !StartsChar(s[i]))
        ++i;
    return i;
}

void WrapParagraph(std::string_view p, double width, const TextMeasure& measure,
                   std::vector<std::string>& out) {
    if (p.empty()) {
        out.emplace_back();
        return;
    }
    size_t lineStart = 0;
    size_t i = 0;
    size_t fitEnd = std::string_view::npos;  // end of the last word that fits on this line
    while (lineStart < p.size()) {
        // The next word; blanks that open a paragraph belong to its first word.
        size_t j = i;
        if (i == lineStart)
            while (j < p.size() && IsBlank(p[j]))
                ++j;
        while (j < p.size() && !IsBlank(p[j]))
            ++j;

        if (measure(p.substr(lineStart, j - lineStart)) <= width) {
            fitEnd = j;
            size_t k = j;
            while (k < p.size() && IsBlank(p[k]))
                ++k;
            if (k >= p.size()) {
                out.emplace_back(p.substr(lineStart, fitEnd - lineStart));
                return;
            }
            i = k;
            continue;
        }
        if (fitEnd != std::string_view::npos) {
            out.emplace_back(p.substr(lineStart, fitEnd - lineStart));
            lineStart = i;
            fitEnd = std::string_view::npos;
            continue;
        }
        // A word wider than the box: as many characters as fit, at least one.
        size_t end = NextChar(p, lineStart);
        while (end < j) {
            size_t next = NextChar(p, end);
            if (measure(p.substr(lineStart, next - lineStart)) > width) break;
            end = next;
        }
        out.emplace_back(p.substr(lineStart, end - lineStart));
        lineStart = i = end;
    }
}

}  // namespace

std::vector<std::string> WrapNotes(std::string_view text, double width, const TextMeasure& measure,
                                   size_t limit) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        size_t end = text.find_first_of("\r\n", start);
        WrapParagraph(text.substr(start, end == std::string_view::npos ? text.npos : end - start), width,
                      measure, lines);
        if (end == std::string_view::npos) break;
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    for (auto& line : lines)
        line = FirstChars(line, limit);
    return lines;
}

}  // namespace wb
