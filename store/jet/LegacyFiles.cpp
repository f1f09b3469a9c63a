#include "store/jet/LegacyFiles.h"

#include "store/jet/JetFile.h"

namespace wb::jet {

std::optional<LegacyMainImport> ReadLegacyMain(const std::filesystem::path& mainDatabase,
                                               std::string& error) {
    auto file = JetFile::Open(mainDatabase, error);
    if (!file) return std::nullopt;
    auto aircraft = file->Read("Aircraft", error);
    if (!aircraft) return std::nullopt;
    auto equipment = file->Read("Equipment", error);
    if (!equipment) return std::nullopt;
    auto company = file->Read("CompanyInfo", error);
    if (!company) return std::nullopt;
    return BuildMainImport(*aircraft, *equipment, *company, error);
}

std::optional<LegacySetup> ReadLegacySetup(const std::filesystem::path& settingsDatabase,
                                           std::string& error) {
    auto file = JetFile::Open(settingsDatabase, error);
    if (!file) return std::nullopt;
    auto setup = file->Read("Setup", error);
    if (!setup) return std::nullopt;
    return BuildSetupImport(*setup, error);
}

}  // namespace wb::jet
