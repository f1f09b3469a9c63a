// Linux: the file system type statfs reports for the folder.
#include "setup/NetworkFolder.h"

#include <sys/vfs.h>

namespace wb {

bool OnNetworkFileSystem(const std::filesystem::path& folder) {
    struct statfs info {};
    if (statfs(folder.c_str(), &info) != 0) return false;
    switch (static_cast<unsigned long>(info.f_type)) {
        case 0x6969UL:      // NFS
        case 0x517BUL:      // SMB
        case 0xFF534D42UL:  // CIFS
        case 0xFE534D42UL:  // SMB2
        case 0x65735546UL:  // FUSE (SSHFS and the like)
        case 0x564C0000UL:  // 9P / VirtualBox shared folders
        case 0x01021997UL:  // V9FS
            return true;
        default:
            return false;
    }
}

}  // namespace wb
