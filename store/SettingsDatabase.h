// The settings database "SetupVELKF.MDB" in the program's working folder: its one Setup row
// holds the data folder and the company telephone.
#pragma once

#include <filesystem>

#include "store/Sqlite.h"

namespace wb {

class SettingsDatabase {
  public:
    static constexpr const char* kFileName = "SetupVELKF.MDB";

    // Opens the file in `workingFolder`, creating it (one row, every column Null) when it is
    // missing. Throws StoreError naming the file when it cannot be used.
    explicit SettingsDatabase(const std::filesystem::path& workingFolder);

    const std::filesystem::path& file() const { return db_.file(); }

    Nullable DataPath();
    void SetDataPath(const Nullable& folder);
    Nullable CompanyPhone();
    void SetCompanyPhone(const Nullable& phone);

  private:
    Nullable Read(const char* column);
    void Write(const char* column, const Nullable& value);

    Database db_;
};

// The main database file in a data folder, joined with the platform's separator.
std::filesystem::path MainDatabaseFile(const std::string& dataPath);

}  // namespace wb
