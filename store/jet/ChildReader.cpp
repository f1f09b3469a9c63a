#include "store/jet/ChildReader.h"

#include <system_error>

#include "store/jet/JetFile.h"
#include "store/jet/ReaderAnswer.h"

namespace wb::jet {
namespace {

constexpr std::uint64_t kTenMegabytes = 10u << 20;
constexpr const char* kTableList = "its table list";

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

std::string TableStep(const std::string& table) {
    return "table " + table;
}

}  // namespace

ChildLimits LimitsForFile(std::uint64_t bytes) {
    const std::uint64_t tens = bytes / kTenMegabytes + 1;
    ChildLimits limits;
    limits.time = std::chrono::milliseconds(4000 * tens);
    limits.memoryBytes = (256u << 20) + 16 * bytes;
    limits.outputBytes = static_cast<size_t>((16u << 20) + 16 * bytes);
    return limits;
}

void AnswerTables(const std::filesystem::path& file, const std::vector<std::string>& tables,
                  const std::function<void(std::string_view)>& put) {
    put(AnswerStart());
    put(AnswerStep(kTableList));
    std::string error;
    auto jet = JetFile::Open(file, error);
    if (!jet) {
        put(AnswerRefused(error));
        put(AnswerEnd());
        return;
    }
    for (const std::string& name : tables) {
        put(AnswerStep(TableStep(name)));
        auto table = jet->Read(name, error);
        if (!table) {
            put(AnswerRefused(error));
            break;
        }
        put(AnswerTable(*table));
    }
    put(AnswerEnd());
}

std::optional<std::vector<JetTable>> ChildTableReader::Read(const std::filesystem::path& file,
                                                            const std::vector<std::string>& tables,
                                                            std::string& error) const {
    std::error_code ec;
    const std::uint64_t size = std::filesystem::file_size(file, ec);
    const ChildLimits limits = LimitsForFile(ec ? 0 : size);
    std::vector<std::string> arguments{file.string()};
    arguments.insert(arguments.end(), tables.begin(), tables.end());
    const ChildOutcome outcome = process_.Run(program_, arguments, limits);
    if (outcome.end == ChildOutcome::End::NotStarted) {
        error = Quoted(file) + " could not be read: the reader " + Quoted(program_) +
                " could not be started (" + outcome.detail + ").";
        return std::nullopt;
    }

    ReaderAnswer answer = ParseAnswer(outcome.output);
    const bool ended = outcome.end == ChildOutcome::End::Exited && outcome.exitCode == 0;
    if (ended && answer.complete) {
        if (answer.refused) {
            error = *answer.refused;
            return std::nullopt;
        }
        bool all = answer.tables.size() == tables.size();
        for (size_t i = 0; all && i < tables.size(); ++i)
            all = SameName(answer.tables[i].name, tables[i]);
        if (all) return std::move(answer.tables);
    }
    if (ended && !answer.understood) {
        error = Quoted(file) + " could not be read: the reader's answer was not understood.";
        return std::nullopt;
    }

    const std::string where = answer.lastStep.empty() ? std::string("it") : answer.lastStep;
    switch (outcome.end) {
        case ChildOutcome::End::TimedOut:
            error = Quoted(file) + " is damaged: reading " + where + " did not finish within " +
                    std::to_string(limits.time.count() / 1000) + " seconds.";
            break;
        case ChildOutcome::End::TooMuchOutput:
            error = Quoted(file) + " is damaged: " + where + " reads as far more data than the file holds.";
            break;
        default:
            error = Quoted(file) + " is damaged: reading " + where + " failed.";
            break;
    }
    return std::nullopt;
}

}  // namespace wb::jet
