#include "store/SettingsDatabase.h"

#include "store/MainDatabase.h"
#include "store/Schema.h"

namespace wb {

SettingsDatabase::SettingsDatabase(const std::filesystem::path& workingFolder)
    : db_(OpenDatabaseFile(workingFolder / kFileName, SettingsTables())) {}

Nullable SettingsDatabase::Read(const char* column) {
    Statement s = db_.Prepare("SELECT " + Quoted(column) + " FROM Setup ORDER BY Id LIMIT 1");
    if (!s.Step()) return std::nullopt;
    return s.Text(0);
}

void SettingsDatabase::Write(const char* column, const Nullable& value) {
    Statement s =
        db_.Prepare("UPDATE Setup SET " + Quoted(column) + " = ? WHERE Id = (SELECT min(Id) FROM Setup)");
    s.Bind(1, value ? Value(*value) : Value());
    s.Run();
}

Nullable SettingsDatabase::DataPath() {
    return Read("DataPath");
}
void SettingsDatabase::SetDataPath(const Nullable& folder) {
    Write("DataPath", folder);
}
Nullable SettingsDatabase::CompanyPhone() {
    return Read("CompanyPhone");
}
void SettingsDatabase::SetCompanyPhone(const Nullable& phone) {
    Write("CompanyPhone", phone);
}

std::filesystem::path MainDatabaseFile(const std::string& dataPath) {
    return std::filesystem::path(dataPath) / MainDatabase::kFileName;
}

}  // namespace wb
