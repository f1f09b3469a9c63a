#include "app/NumberNotice.h"

#include <string>

#include "worksheet/LeadingNumber.h"

namespace wb {

void NoticeIfMisread(Dialogs& dialogs, std::string_view caption, std::string_view text,
                     std::string_view unit) {
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos || NumericText(text)) return;
    // A thousands separator, a unit or a second number: only the leading number counts.
    const std::string read = NumberText(LeadingNumber(text));
    dialogs.Notice(
        std::string(caption) + " \"" + std::string(text) + "\" is read as " + read + " " + std::string(unit),
        "Type the number alone, without separators or units.\n\nPress OK to continue", Icon::Exclamation);
}

}  // namespace wb
