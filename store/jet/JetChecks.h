// Checks on the raw pages of a Jet 4 file that the reading library takes on trust: a page
// number past the end of the file or a row offset outside its page would make it read outside
// its buffers. Each check gives what is damaged, or nothing when the bytes are sound.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wb::jet {

inline constexpr std::size_t kJetPageSize = 4096;

// Every data page's row offsets lie inside the page, after its offset table, in the
// descending order the engine writes them.
std::optional<std::string> DamagedRowOffsets(std::string_view file);

// The table definition at `page` and its continuation pages, and the map of the pages holding
// its rows: every page they name is in the file and of the right kind.
std::optional<std::string> DamagedTableDefinition(std::string_view file, std::uint32_t page);

}  // namespace wb::jet
