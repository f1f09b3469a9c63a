// Whether a folder lies on a network file system (NFS, SMB/CIFS, or a user-space mount such as
// SSHFS): a database file there can be damaged when several workstations write to it, because
// the file locks the database engine relies on are not kept reliably across the network.
#pragma once

#include <filesystem>

namespace wb {

// False where it cannot be told. Each platform has its own file.
bool OnNetworkFileSystem(const std::filesystem::path& folder);

}  // namespace wb
