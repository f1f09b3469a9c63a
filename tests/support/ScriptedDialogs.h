// Test implementations of the ports: dialogs that record what was shown and answer from a
// queue (No when the queue is empty, like the default button), and a fixed clock.
#pragma once

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "worksheet/Ports.h"

namespace wb::test {

struct Shown {
    enum Kind { Notice, Question, Font, Printer, PdfFile, Choice, List, Password } kind;
    std::string title, text;
    Icon icon = Icon::Information;
    bool operator==(const Shown&) const = default;
};

class ScriptedDialogs : public Dialogs {
public:
    void Notice(std::string_view title, std::string_view text, Icon icon) override {
        shown.push_back({Shown::Notice, std::string(title), std::string(text), icon});
    }
    bool AskYesNo(std::string_view title, std::string_view text) override {
        shown.push_back({Shown::Question, std::string(title), std::string(text), Icon::Question});
        if (answers.empty()) return false;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> AskPassword(std::string_view title, std::string_view text) override {
        shown.push_back({Shown::Password, std::string(title), std::string(text), Icon::Question});
        if (passwords.empty()) return std::nullopt;
        auto p = passwords.front();
        passwords.pop_front();
        return p;
    }
    std::optional<ReportFont> ChooseFont(const ReportFont& initial) override {
        shown.push_back({Shown::Font, initial.name, std::to_string(initial.size), Icon::Information});
        fontsOffered.push_back(initial);
        if (fonts.empty()) return std::nullopt;
        auto f = fonts.front();
        fonts.pop_front();
        return f;
    }
    size_t Choose(std::string_view title, std::string_view text, const std::vector<std::string>& options,
                  Icon icon) override {
        shown.push_back({Shown::Choice, std::string(title), std::string(text), icon});
        offered.push_back(options);
        size_t pick = options.empty() ? 0 : options.size() - 1;  // Escape
        if (!choices.empty()) {
            pick = std::min(choices.front(), pick);
            choices.pop_front();
        }
        return pick;
    }
    std::optional<size_t> PickFromList(std::string_view title, std::string_view text,
                                       const std::vector<std::string>& lines) override {
        shown.push_back({Shown::List, std::string(title), std::string(text), Icon::Information});
        offered.push_back(lines);
        if (picks.empty()) return std::nullopt;
        auto p = picks.front();
        picks.pop_front();
        return p;
    }
    void ChoosePrinter() override { shown.push_back({Shown::Printer, "", "", Icon::Information}); }
    std::optional<std::string> ChoosePdfFile(const std::string& suggested) override {
        shown.push_back({Shown::PdfFile, "", suggested, Icon::Information});
        if (pdfFiles.empty()) return std::nullopt;
        auto f = pdfFiles.front();
        pdfFiles.pop_front();
        return f;
    }

    // Titles of everything shown, in order.
    std::vector<std::string> Titles() const {
        std::vector<std::string> t;
        for (const auto& s : shown) t.push_back(s.title);
        return t;
    }
    void Clear() {
        shown.clear();
        offered.clear();
    }

    std::vector<Shown> shown;
    std::deque<bool> answers;                      // Yes = true
    std::deque<std::optional<std::string>> passwords;  // nullopt = Cancel
    std::deque<std::optional<ReportFont>> fonts;   // nullopt = Cancel
    std::vector<ReportFont> fontsOffered;
    std::deque<std::optional<std::string>> pdfFiles;  // nullopt = Cancel
    std::deque<size_t> choices;                       // the button pressed in a Choose box
    std::deque<std::optional<size_t>> picks;          // the line picked from a list, nullopt = Cancel
    std::vector<std::vector<std::string>> offered;    // the buttons or lines of each of those
};

class FixedClock : public Clock {
public:
    explicit FixedClock(CalendarDate d = {2026, 12, 6}) : today(d) {}
    CalendarDate Today() const override { return today; }
    CalendarDate today;
};

}  // namespace wb::test
