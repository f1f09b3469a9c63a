#include "package/RecordPackage.h"

namespace wb {

std::string PackageFileName(const std::string& tail) {
    return (tail.empty() ? std::string("aircraft") : tail) + " weight and balance record.zip";
}

}  // namespace wb
