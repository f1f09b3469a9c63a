// What the reading child hands back to the program: the tables it read, or the reason it
// refused the file, in a plain text form that starts with a version line. Before each table the
// child says what it is about to read, so that a child that dies part way still tells where.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/jet/JetTable.h"

namespace wb::jet {

// The child's side: each piece is written and flushed as soon as it is known.
std::string AnswerStart();
std::string AnswerStep(std::string_view what);  // what the child reads next
std::string AnswerTable(const JetTable& table);
std::string AnswerRefused(std::string_view reason);
std::string AnswerEnd();

struct ReaderAnswer {
    bool understood = false;  // a version this program reads, well formed as far as it goes
    bool complete = false;    // it reached its end line
    std::string lastStep;     // what the child was reading when the answer stopped
    std::optional<std::string> refused;
    std::vector<JetTable> tables;
};

// Never throws: a text cut short or garbled yields an answer that is not complete.
ReaderAnswer ParseAnswer(std::string_view text);

}  // namespace wb::jet
