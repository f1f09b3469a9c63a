// The seams through which the core reaches the outside: message boxes and choosers, and
// today's date. Each has a real implementation in the window and a scripted one in tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "worksheet/Company.h"
#include "worksheet/Dates.h"

namespace wb {

// None: a box with only its text and an OK button.
enum class Icon { Information, Critical, Question, Exclamation, None };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal notice with an OK button.
    virtual void Notice(std::string_view title, std::string_view text, Icon icon) = 0;
    // A modal Yes/No question with the question icon; No is the default button.
    // Returns true for Yes.
    virtual bool AskYesNo(std::string_view title, std::string_view text) = 0;
    // The font chooser, started at `initial`; nothing when the user cancels.
    virtual std::optional<ReportFont> ChooseFont(const ReportFont& initial) {
        (void)initial;
        return std::nullopt;
    }
    // The printer chooser; later reports go to the printer chosen there.
    virtual void ChoosePrinter() {}
    // The name of a PDF file to print into, where the system has no printer; nothing when
    // the user cancels.
    virtual std::optional<std::string> ChoosePdfFile(const std::string& suggested) {
        (void)suggested;
        return std::nullopt;
    }
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual CalendarDate Today() const = 0;
};

}  // namespace wb
