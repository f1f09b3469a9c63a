#include "store/jet/ReaderAnswer.h"

#include <charconv>
#include <type_traits>

namespace wb::jet {
namespace {

constexpr std::string_view kVersionLine = "wb-jet-answer 1\n";
constexpr int kTypeCount = static_cast<int>(JetType::Other) + 1;

void PutText(std::string& out, std::string_view text) {
    out += std::to_string(text.size());
    out += ':';
    out += text;
}

template <class T>
void PutNumber(std::string& out, T value) {
    char buffer[40];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, r.ptr);
}

void PutValue(std::string& out, const JetValue& value) {
    struct {
        std::string& out;
        void operator()(std::monostate) const { out += '-'; }
        void operator()(const std::string& s) const {
            out += 's';
            PutText(out, s);
        }
        void operator()(double d) const {
            out += 'd';
            PutNumber(out, d);
        }
        void operator()(float f) const {
            out += 'f';
            PutNumber(out, f);
        }
        void operator()(std::int32_t i) const {
            out += 'i';
            PutNumber(out, i);
        }
        void operator()(bool b) const { out += b ? 'y' : 'n'; }
        void operator()(const CalendarDate& d) const {
            out += 't';
            PutNumber(out, d.year);
            out += '.';
            PutNumber(out, d.month);
            out += '.';
            PutNumber(out, d.day);
        }
    } put{out};
    std::visit(put, value);
}

// Reads the answer's tokens: words end at a space or a line end; texts carry their length.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}
    bool AtEnd() const { return at_ >= text_.size(); }

    bool Word(std::string_view& word) {
        size_t end = text_.find_first_of(" \n", at_);
        if (end == std::string_view::npos) end = text_.size();
        if (end == at_) return false;
        word = text_.substr(at_, end - at_);
        at_ = end;
        Separator();
        return true;
    }
    bool Expect(std::string_view word) {
        std::string_view w;
        return Word(w) && w == word;
    }
    template <class T>
    bool Number(T& value) {
        std::string_view w;
        return Word(w) && Whole(w, value);
    }
    bool Text(std::string& out) {
        const size_t colon = text_.find(':', at_);
        size_t size = 0;
        if (colon == std::string_view::npos || !Whole(text_.substr(at_, colon - at_), size) ||
            size > text_.size() - colon - 1)
            return false;
        out.assign(text_.substr(colon + 1, size));
        at_ = colon + 1 + size;
        Separator();
        return true;
    }
    bool Value(JetValue& value) {
        if (AtEnd()) return false;
        const char kind = text_[at_];
        if (kind == 's') {
            ++at_;
            std::string s;
            if (!Text(s)) return false;
            value = std::move(s);
            return true;
        }
        std::string_view w;
        if (!Word(w)) return false;
        const std::string_view rest = w.substr(1);
        switch (kind) {
            case '-':
                value = {};
                return w.size() == 1;
            case 'y':
            case 'n':
                value = kind == 'y';
                return w.size() == 1;
            case 'd':
                return Put<double>(rest, value);
            case 'f':
                return Put<float>(rest, value);
            case 'i':
                return Put<std::int32_t>(rest, value);
            case 't': {
                CalendarDate d;
                const size_t a = rest.find('.'), b = rest.find('.', a == rest.npos ? a : a + 1);
                if (b == rest.npos || !Whole(rest.substr(0, a), d.year) ||
                    !Whole(rest.substr(a + 1, b - a - 1), d.month) || !Whole(rest.substr(b + 1), d.day))
                    return false;
                value = d;
                return true;
            }
            default:
                return false;
        }
    }

  private:
    template <class T>
    static bool Whole(std::string_view w, T& value) {
        if (w.empty()) return false;
        const auto r = std::from_chars(w.data(), w.data() + w.size(), value);
        return r.ec == std::errc() && r.ptr == w.data() + w.size();
    }
    template <class T>
    static bool Put(std::string_view w, JetValue& value) {
        T v{};
        if (!Whole(w, v)) return false;
        value = v;
        return true;
    }
    void Separator() {
        if (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n')) ++at_;
    }

    std::string_view text_;
    size_t at_ = 0;
};

bool ReadTable(Cursor& in, JetTable& table) {
    size_t columns = 0, rows = 0, problems = 0;
    if (!in.Text(table.name) || !in.Number(columns) || !in.Number(rows) || !in.Number(problems)) return false;
    for (size_t c = 0; c < columns; ++c) {
        JetColumn column;
        int type = 0;
        if (!in.Number(type) || type < 0 || type >= kTypeCount || !in.Number(column.textLength) ||
            !in.Text(column.name) || !in.Text(column.typeDetail))
            return false;
        column.type = static_cast<JetType>(type);
        table.columns.push_back(std::move(column));
    }
    // Counts come from the child; the rows are taken one by one, never reserved ahead, and
    // each must take some of the text, so a wild count ends where the text does.
    if (rows > 0 && columns == 0) return false;
    for (size_t r = 0; r < rows; ++r) {
        std::vector<JetValue> row(columns);
        for (JetValue& v : row)
            if (!in.Value(v)) return false;
        table.rows.push_back(std::move(row));
    }
    for (size_t p = 0; p < problems; ++p) {
        JetProblem problem;
        if (!in.Number(problem.row) || !in.Text(problem.column) || !in.Text(problem.message)) return false;
        table.problems.push_back(std::move(problem));
    }
    return true;
}

}  // namespace

std::string AnswerStart() {
    return std::string(kVersionLine);
}

std::string AnswerStep(std::string_view what) {
    std::string out = "step ";
    PutText(out, what);
    return out + '\n';
}

std::string AnswerTable(const JetTable& table) {
    std::string out = "table ";
    PutText(out, table.name);
    out += ' ' + std::to_string(table.columns.size()) + ' ' + std::to_string(table.rows.size()) + ' ' +
           std::to_string(table.problems.size()) + '\n';
    for (const JetColumn& c : table.columns) {
        out += std::to_string(static_cast<int>(c.type)) + ' ' + std::to_string(c.textLength) + ' ';
        PutText(out, c.name);
        out += ' ';
        PutText(out, c.typeDetail);
        out += '\n';
    }
    for (const auto& row : table.rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (c > 0) out += ' ';
            PutValue(out, row[c]);
        }
        out += '\n';
    }
    for (const JetProblem& p : table.problems) {
        out += std::to_string(p.row) + ' ';
        PutText(out, p.column);
        out += ' ';
        PutText(out, p.message);
        out += '\n';
    }
    return out;
}

std::string AnswerRefused(std::string_view reason) {
    std::string out = "refused ";
    PutText(out, reason);
    return out + '\n';
}

std::string AnswerEnd() {
    return "end\n";
}

ReaderAnswer ParseAnswer(std::string_view text) {
    ReaderAnswer answer;
    if (text.substr(0, kVersionLine.size()) != kVersionLine) return answer;
    Cursor in(text.substr(kVersionLine.size()));
    answer.understood = true;
    while (!in.AtEnd()) {
        std::string_view record;
        bool ok = in.Word(record);
        if (ok && record == "step") {
            ok = in.Text(answer.lastStep);
        } else if (ok && record == "table") {
            JetTable table;
            ok = ReadTable(in, table);
            if (ok) answer.tables.push_back(std::move(table));
        } else if (ok && record == "refused") {
            std::string reason;
            ok = in.Text(reason);
            if (ok) answer.refused = std::move(reason);
        } else if (ok && record == "end") {
            answer.complete = in.AtEnd() && text.ends_with(AnswerEnd());
            ok = answer.complete;
        } else {
            ok = false;
        }
        if (!ok) {
            // A record cut short is where a dying child stopped; anything else is garbled.
            answer.complete = false;
            if (record != "table" && record != "step" && record != "refused" && record != "end")
                answer.understood = false;
            return answer;
        }
    }
    return answer;
}

}  // namespace wb::jet
