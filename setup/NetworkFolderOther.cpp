// Platforms without a check of their own: no warning is given.
#include "setup/NetworkFolder.h"

namespace wb {

bool OnNetworkFileSystem(const std::filesystem::path&) {
    return false;
}

}  // namespace wb
