// The seams through which the core reaches the outside: message boxes and choosers, and
// today's date. Each has a real implementation in the window and a scripted one in tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    // A password box (the typing is not shown); nothing when the user cancels. Never stored.
    virtual std::optional<std::string> AskPassword(std::string_view title, std::string_view text) {
        (void)title;
        (void)text;
        return std::nullopt;
    }
    // A line of text typed (a name, a reason); nothing when the user cancels.
    virtual std::optional<std::string> AskText(std::string_view title, std::string_view text) {
        (void)title;
        (void)text;
        return std::nullopt;
    }
    // The font chooser, started at `initial`; nothing when the user cancels.
    virtual std::optional<ReportFont> ChooseFont(const ReportFont& initial) {
        (void)initial;
        return std::nullopt;
    }
    // A modal box with one button per choice; the index of the one pressed. Escape and the
    // close box pick the last choice, which should be the one that changes nothing.
    virtual size_t Choose(std::string_view title, std::string_view text,
                          const std::vector<std::string>& choices, Icon icon) {
        (void)title;
        (void)text;
        (void)icon;
        return choices.empty() ? 0 : choices.size() - 1;
    }
    // A list to pick one line from; nothing when the user cancels.
    virtual std::optional<size_t> PickFromList(std::string_view title, std::string_view text,
                                               const std::vector<std::string>& lines) {
        (void)title;
        (void)text;
        (void)lines;
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
    // A file to write, offered as `suggested`; `filter` names the kind ("Record packages
    // (*.zip)") and a name typed without an extension takes the kind's. Nothing on Cancel.
    virtual std::optional<std::string> ChooseFileToSave(std::string_view title, const std::string& suggested,
                                                        std::string_view filter) {
        (void)title;
        (void)suggested;
        (void)filter;
        return std::nullopt;
    }
    // An existing file to read, of the kind `filter` names; nothing on Cancel.
    virtual std::optional<std::string> ChooseFileToOpen(std::string_view title, std::string_view filter) {
        (void)title;
        (void)filter;
        return std::nullopt;
    }
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual CalendarDate Today() const = 0;
};

}  // namespace wb
