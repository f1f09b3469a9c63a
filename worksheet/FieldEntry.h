// How a single-line box takes an edit. The box edits as any desktop box does (caret,
// selection, cut, paste, undo); this decides what of the edit is kept, so the rules hold
// however the text arrived: the input limit and, in the tail number, capitals.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wb {

struct BoxRules {
    size_t limit = 0;       // input limit in characters, 0 = none
    bool capitals = false;  // letters a to z entering the box become capitals
};

// The box's text after an edit that turned `before` into `after`. What the edit inserted is
// the part of `after` that differs from `before`; with `caret` (in characters, where the caret
// stands after the edit) the inserted part is known to end there. Only the inserted part is
// changed: it is cut so that the text keeps to the limit (a longer text the program wrote
// stays whole until the mechanic shortens it) and takes capitals where the rules say.
std::string AcceptBoxEdit(std::string_view before, std::string_view after, BoxRules rules,
                          std::optional<size_t> caret = std::nullopt);

}  // namespace wb
