#include "package/Container.h"

#include <zip.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <system_error>

#include "store/Canonical.h"

namespace wb {

namespace {

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

std::string ZipMessage(zip_t* z) {
    const char* text = zip_strerror(z);
    return text ? text : "unknown error";
}

std::string OpenMessage(int code) {
    zip_error_t err;
    zip_error_init_with_code(&err, code);
    std::string text = zip_error_strerror(&err);
    zip_error_fini(&err);
    return text;
}

std::string InQuotes(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

// The manifest's lines, name to checksum; refuses a line it cannot read and a name twice.
std::vector<std::pair<std::string, std::string>> ParseManifest(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> entries;
    std::set<std::string> seen;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty()) continue;
        bool hexOk = line.size() > 66;
        for (std::size_t i = 0; hexOk && i < 64; ++i) {
            char c = line[i];
            hexOk = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        }
        if (!hexOk || line[64] != ' ' || (line[65] != ' ' && line[65] != '*'))
            throw PackageError("The package's list of checksums has a line that cannot be read: " +
                               InQuotes(line.substr(0, 80)) + ".");
        std::string name = line.substr(66);
        if (!SafePackageName(name))
            throw PackageError(
                "The package's list of checksums names a file outside the package: " + InQuotes(name) + ".");
        if (!seen.insert(name).second)
            throw PackageError("The package's list of checksums names " + InQuotes(name) + " twice.");
        entries.emplace_back(std::move(name), line.substr(0, 64));
    }
    return entries;
}

}  // namespace

bool SafePackageName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 200) return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7f || c == '/' || c == '\\' || c == ':') return false;
    return true;
}

std::string ManifestText(const std::vector<PackageFile>& files) {
    std::string text;
    for (const auto& f : files)
        text += Sha256Hex(f.bytes) + "  " + f.name + "\n";
    return text;
}

void WritePackage(const std::filesystem::path& file, const std::vector<PackageFile>& files) {
    std::set<std::string> names;
    for (const auto& f : files)
        if (!SafePackageName(f.name) || f.name == kManifestName || !names.insert(f.name).second)
            throw PackageError("A package cannot hold a file named " + InQuotes(f.name) + ".");
    const std::string manifest = ManifestText(files);

    std::filesystem::path part = file;
    part += ".part";
    std::error_code ec;
    std::filesystem::remove(part, ec);
    int code = 0;
    ZipHandle zip(zip_open(part.string().c_str(), ZIP_CREATE | ZIP_EXCL, &code));
    if (!zip)
        throw PackageError("The package could not be written to " + InQuotes(part.string()) + ": " +
                           OpenMessage(code) + ".");
    auto add = [&](const std::string& name, const std::string& bytes) {
        zip_source_t* source = zip_source_buffer(zip.get(), bytes.data(), bytes.size(), 0);
        if (!source) throw PackageError("The package could not be written: " + ZipMessage(zip.get()) + ".");
        zip_int64_t index = zip_file_add(zip.get(), name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            throw PackageError("The package could not be written: " + ZipMessage(zip.get()) + ".");
        }
        // A PDF's pages are compressed already: packing them again only costs time. Texts pack
        // nearly as small at the default level as at the slowest.
        const bool pdf = name.size() > 4 && name.compare(name.size() - 4, 4, ".pdf") == 0;
        zip_set_file_compression(zip.get(), static_cast<zip_uint64_t>(index),
                                 pdf ? ZIP_CM_STORE : ZIP_CM_DEFLATE, pdf ? 0 : 6);
    };
    for (const auto& f : files)
        add(f.name, f.bytes);
    add(std::string(kManifestName), manifest);
    // zip_close writes everything and frees the handle; on failure the handle stays ours.
    zip_t* raw = zip.release();
    if (zip_close(raw) != 0) {
        std::string why = ZipMessage(raw);
        zip_discard(raw);
        std::filesystem::remove(part, ec);
        throw PackageError("The package could not be written to " + InQuotes(file.string()) + ": " + why +
                           ".");
    }
    std::filesystem::rename(part, file, ec);
    if (ec) {
        std::filesystem::remove(part, ec);
        throw PackageError("The package could not be written to " + InQuotes(file.string()) + ": " +
                           ec.message() + ".");
    }
}

std::vector<PackageFile> ReadPackage(const std::filesystem::path& file, const PackageLimits& limits) {
    int code = 0;
    ZipHandle zip(zip_open(file.string().c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!zip)
        throw PackageError(InQuotes(file.string()) +
                           " is not a record package that can be read: " + OpenMessage(code) + ".");
    zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > limits.maxFiles)
        throw PackageError("The package holds " + std::to_string(count) +
                           " files; a record package holds at most " + std::to_string(limits.maxFiles) + ".");

    std::map<std::string, std::string> contents;
    std::uint64_t total = 0;
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip.get(), i, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) ||
            !(st.valid & ZIP_STAT_SIZE))
            throw PackageError("An entry of the package cannot be read: " + ZipMessage(zip.get()) + ".");
        std::string name = st.name;
        if (!SafePackageName(name))
            throw PackageError(
                "The package holds " + InQuotes(name) +
                ", a name that would be unpacked outside its folder; nothing was taken from it.");
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
            throw PackageError("The package's file " + InQuotes(name) + " is encrypted.");
        if (contents.count(name)) throw PackageError("The package holds " + InQuotes(name) + " twice.");
        if (st.size > limits.maxFileBytes || total + st.size > limits.maxTotalBytes)
            throw PackageError("The package's file " + InQuotes(name) + " would unpack to " +
                               std::to_string(st.size) + " bytes, more than a record package may hold.");
        if (st.size > (1u << 20) && (st.valid & ZIP_STAT_COMP_SIZE) &&
            st.size / std::max<zip_uint64_t>(st.comp_size, 1) > limits.maxRatio)
            throw PackageError("The package's file " + InQuotes(name) +
                               " unpacks to far more than it takes packed; it was not unpacked.");
        total += st.size;

        std::unique_ptr<zip_file_t, ZipFileCloser> entry(zip_fopen_index(zip.get(), i, 0));
        if (!entry)
            throw PackageError("The package's file " + InQuotes(name) +
                               " cannot be read: " + ZipMessage(zip.get()) + ".");
        std::string bytes;
        bytes.resize(static_cast<std::size_t>(st.size));
        zip_int64_t got = st.size ? zip_fread(entry.get(), bytes.data(), st.size) : 0;
        char extra;
        // A file that unpacks to more than its stated size is read no further than that size.
        if (got != static_cast<zip_int64_t>(st.size) || zip_fread(entry.get(), &extra, 1) != 0)
            throw PackageError("The package's file " + InQuotes(name) +
                               " cannot be read whole; the package is damaged.");
        contents.emplace(std::move(name), std::move(bytes));
    }

    auto manifest = contents.find(std::string(kManifestName));
    if (manifest == contents.end())
        throw PackageError("The package has no list of checksums (" + std::string(kManifestName) + ").");
    std::vector<PackageFile> files;
    for (auto& [name, hash] : ParseManifest(manifest->second)) {
        auto it = contents.find(name);
        if (it == contents.end()) throw PackageError("The package's file " + InQuotes(name) + " is missing.");
        if (Sha256Hex(it->second) != hash)
            throw PackageError("The package's file " + InQuotes(name) +
                               " does not match its checksum: it was changed after the package was made.");
        files.push_back({name, std::move(it->second)});
    }
    for (const auto& entry : contents) {
        const std::string& name = entry.first;
        if (name != kManifestName &&
            std::none_of(files.begin(), files.end(), [&](const PackageFile& f) { return f.name == name; }))
            throw PackageError("The package's file " + InQuotes(name) + " is not in its list of checksums.");
    }
    return files;
}

}  // namespace wb
