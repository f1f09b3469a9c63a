// The record package's container: a zip file holding named files and a "SHA256SUMS" manifest
// of them, in the form `sha256sum -c` reads, so a package can be checked with no program of
// ours. Reading refuses anything that is not exactly what a package holds, before any of it
// is used.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace wb {

inline constexpr std::string_view kManifestName = "SHA256SUMS";

struct PackageFile {
    std::string name;  // a plain name inside the package, no folders
    std::string bytes;
};

// What is wrong with a package, in words for the mechanic; nothing of it was used.
class PackageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// How much a package may unpack to: a zip of a few kilobytes must not be able to fill the disk
// or the memory (a "zip bomb").
struct PackageLimits {
    std::uint64_t maxFileBytes = 512ull << 20;
    std::uint64_t maxTotalBytes = 1024ull << 20;
    std::size_t maxFiles = 16;
    // Unpacked size against packed size, above which a file is taken for a bomb; only checked
    // for files over a megabyte, as small texts pack far better than that.
    std::uint64_t maxRatio = 200;
};

// "<hex>  <name>\n" for each file, in the order given.
std::string ManifestText(const std::vector<PackageFile>& files);

// Writes `files` and their manifest into a new zip at `file`, through a ".part" file beside it
// renamed at the end, so that a failure leaves no half-written package. Throws PackageError.
void WritePackage(const std::filesystem::path& file, const std::vector<PackageFile>& files);

// Reads a package and checks it whole: every entry a plain file with a safe name, within the
// limits, the manifest present, every file listed in it once, and every checksum matching.
// Returns the files other than the manifest, in the manifest's order. Throws PackageError
// naming the first thing wrong.
std::vector<PackageFile> ReadPackage(const std::filesystem::path& file, const PackageLimits& limits = {});

// A name a package file may have: not empty, no folder separator, no ".." or ".", no control
// characters. Anything else could write outside the folder it is unpacked into.
bool SafePackageName(std::string_view name);

}  // namespace wb
