// Test implementations of the ports: dialogs that record what was shown and answer from a
// queue (No when the queue is empty, like the default button), and a fixed clock.
#pragma once

#include <algorithm>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "worksheet/Ports.h"

namespace wb::test {

struct Shown {
    enum Kind { Notice, Question, Font, Printer, PdfFile, Choice, List, Password, Text, SaveFile, OpenFile } kind;
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
        return Take(answers, false);
    }
    std::optional<std::string> AskPassword(std::string_view title, std::string_view text) override {
        shown.push_back({Shown::Password, std::string(title), std::string(text), Icon::Question});
        return Take(passwords, {});
    }
    std::optional<std::string> AskText(std::string_view title, std::string_view text) override {
        shown.push_back({Shown::Text, std::string(title), std::string(text), Icon::Question});
        return Take(texts, {});
    }
    std::optional<ReportFont> ChooseFont(const ReportFont& initial) override {
        shown.push_back({Shown::Font, initial.name, std::to_string(initial.size), Icon::Information});
        fontsOffered.push_back(initial);
        return Take(fonts, {});
    }
    size_t Choose(std::string_view title, std::string_view text, const std::vector<std::string>& options,
                  Icon icon) override {
        shown.push_back({Shown::Choice, std::string(title), std::string(text), icon});
        offered.push_back(options);
        const size_t escape = options.empty() ? 0 : options.size() - 1;
        return std::min(Take(choices, escape), escape);
    }
    std::optional<size_t> PickFromList(std::string_view title, std::string_view text,
                                       const std::vector<std::string>& lines) override {
        shown.push_back({Shown::List, std::string(title), std::string(text), Icon::Information});
        offered.push_back(lines);
        return Take(picks, {});
    }
    void ChoosePrinter() override { shown.push_back({Shown::Printer, "", "", Icon::Information}); }
    std::optional<std::string> ChoosePdfFile(const std::string& suggested) override {
        shown.push_back({Shown::PdfFile, "", suggested, Icon::Information});
        return Take(pdfFiles, {});
    }
    std::optional<std::string> ChooseFileToSave(std::string_view title, const std::string& suggested,
                                                std::string_view) override {
        shown.push_back({Shown::SaveFile, std::string(title), suggested, Icon::Information});
        return Take(files, {});
    }
    std::optional<std::string> ChooseFileToOpen(std::string_view title, std::string_view) override {
        shown.push_back({Shown::OpenFile, std::string(title), "", Icon::Information});
        return Take(files, {});
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
    std::deque<std::optional<std::string>> texts;      // nullopt = Cancel
    std::deque<std::optional<ReportFont>> fonts;   // nullopt = Cancel
    std::vector<ReportFont> fontsOffered;
    std::deque<std::optional<std::string>> pdfFiles;  // nullopt = Cancel
    std::deque<std::optional<std::string>> files;     // a file to save or open, nullopt = Cancel
    std::deque<size_t> choices;                       // the button pressed in a Choose box
    std::deque<std::optional<size_t>> picks;          // the line picked from a list, nullopt = Cancel
    std::vector<std::vector<std::string>> offered;    // the buttons or lines of each of those

private:
    // The next scripted answer, or what an empty script stands for.
    template <class T>
    static T Take(std::deque<T>& script, T none) {
        if (script.empty()) return none;
        T next = std::move(script.front());
        script.pop_front();
        return next;
    }
};

class FixedClock : public Clock {
public:
    explicit FixedClock(CalendarDate d = {2026, 12, 6}) : today(d) {}
    CalendarDate Today() const override { return today; }
    CalendarDate today;
};

}  // namespace wb::test
