// Read-only access to a Jet 4 (Access 2000) database file. The rest of the program sees only
// this interface and the plain tables of JetTable.h; the reading library stays inside.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/jet/JetBytes.h"
#include "store/jet/JetTable.h"

namespace wb::jet {

// Recognises a Jet file by its header bytes, whatever its name. NotJet when unreadable.
JetFormat FormatOfFile(const std::filesystem::path& path);

class JetFile {
  public:
    // Empty with a message naming the file and the fault when the file is missing, is not a
    // Jet 4 database or is cut short.
    static std::optional<JetFile> Open(const std::filesystem::path& path, std::string& error);

    JetFile(JetFile&&) noexcept;
    JetFile& operator=(JetFile&&) noexcept;
    ~JetFile();

    // The user tables, in catalog order.
    std::vector<std::string> Tables() const;

    // Every row of the table in file order. Empty with a message when the table is missing or
    // its rows cannot all be read.
    std::optional<JetTable> Read(std::string_view table, std::string& error) const;

  private:
    struct Impl;
    explicit JetFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace wb::jet
