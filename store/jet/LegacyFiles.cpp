#include "store/jet/LegacyFiles.h"

#include "store/jet/JetFile.h"

namespace wb::jet {
namespace {

class InThisProcess : public TableReader {
  public:
    std::optional<std::vector<JetTable>> Read(const std::filesystem::path& file,
                                              const std::vector<std::string>& tables,
                                              std::string& error) const override {
        auto jet = JetFile::Open(file, error);
        if (!jet) return std::nullopt;
        std::vector<JetTable> out;
        for (const std::string& name : tables) {
            auto table = jet->Read(name, error);
            if (!table) return std::nullopt;
            out.push_back(std::move(*table));
        }
        return out;
    }
};

}  // namespace

const TableReader& ReadInThisProcess() {
    static const InThisProcess reader;
    return reader;
}

std::optional<LegacyMainImport> ReadLegacyMain(const std::filesystem::path& mainDatabase, std::string& error,
                                               const TableReader& reader) {
    const auto tables = reader.Read(mainDatabase, {"Aircraft", "Equipment", "CompanyInfo"}, error);
    if (!tables) return std::nullopt;
    return BuildMainImport((*tables)[0], (*tables)[1], (*tables)[2], error);
}

std::optional<LegacySetup> ReadLegacySetup(const std::filesystem::path& settingsDatabase, std::string& error,
                                           const TableReader& reader) {
    const auto tables = reader.Read(settingsDatabase, {"Setup"}, error);
    if (!tables) return std::nullopt;
    return BuildSetupImport((*tables)[0], error);
}

}  // namespace wb::jet
