#include "store/jet/JetChecks.h"

#include <set>

namespace wb::jet {
namespace {

constexpr unsigned char kDataPage = 0x01, kDefinitionPage = 0x02, kMapPage = 0x05;
constexpr std::size_t kRowCountAt = 12, kOffsetsAt = 14;
constexpr unsigned kOffsetMask = 0x1FFF;

class Pages {
  public:
    explicit Pages(std::string_view file) : file_(file) {}
    std::uint32_t Count() const { return static_cast<std::uint32_t>(file_.size() / kJetPageSize); }
    bool Has(std::uint32_t page) const { return page < Count(); }
    unsigned char Kind(std::uint32_t page) const { return Byte(page, 0); }
    unsigned char Byte(std::uint32_t page, std::size_t at) const {
        return static_cast<unsigned char>(file_[page * kJetPageSize + at]);
    }
    unsigned Int16(std::uint32_t page, std::size_t at) const {
        return Byte(page, at) | Byte(page, at + 1) << 8;
    }
    std::uint32_t Int32(std::uint32_t page, std::size_t at) const {
        return Int16(page, at) | static_cast<std::uint32_t>(Int16(page, at + 2)) << 16;
    }
    // Where row `row` of a data page starts and ends; empty when the page has no such row.
    std::optional<std::pair<std::size_t, std::size_t>> Row(std::uint32_t page, unsigned row) const {
        if (Kind(page) != kDataPage || row >= Int16(page, kRowCountAt)) return std::nullopt;
        const std::size_t start = Int16(page, kOffsetsAt + 2 * row) & kOffsetMask;
        const std::size_t end = row == 0 ? kJetPageSize : Int16(page, kOffsetsAt + 2 * row - 2) & kOffsetMask;
        return std::pair{start, end};
    }

  private:
    std::string_view file_;
};

std::string Page(std::uint32_t page) {
    return "page " + std::to_string(page);
}

}  // namespace

std::optional<std::string> DamagedRowOffsets(std::string_view file) {
    const Pages pages(file);
    for (std::uint32_t p = 1; p < pages.Count(); ++p) {
        if (pages.Kind(p) != kDataPage) continue;
        const unsigned rows = pages.Int16(p, kRowCountAt);
        const std::size_t first = kOffsetsAt + 2 * std::size_t{rows};
        if (first > kJetPageSize) return "the row count of " + Page(p) + " is more than a page holds";
        std::size_t previous = kJetPageSize;
        for (unsigned r = 0; r < rows; ++r) {
            const std::size_t start = pages.Int16(p, kOffsetsAt + 2 * r) & kOffsetMask;
            if (start < first || start > previous)
                return "row " + std::to_string(r) + " of " + Page(p) + " has an offset outside its page";
            previous = start;
        }
    }
    return std::nullopt;
}

std::optional<std::string> DamagedTableDefinition(std::string_view file, std::uint32_t page) {
    const Pages pages(file);
    std::set<std::uint32_t> seen;
    for (std::uint32_t p = page; p != 0; p = pages.Int32(p, 4)) {
        if (!pages.Has(p)) return "its definition continues on " + Page(p) + ", past the end of the file";
        if (pages.Kind(p) != kDefinitionPage)
            return "its definition names " + Page(p) + ", which holds no definition";
        if (!seen.insert(p).second) return "its definition pages run in a circle";
    }
    // The map of the pages that hold its rows: a row of a data page, inline or naming map pages.
    const std::uint32_t map = pages.Int32(page, 55);
    const std::uint32_t mapPage = map >> 8;
    if (!pages.Has(mapPage)) return "its page map is on " + Page(mapPage) + ", past the end of the file";
    const auto row = pages.Row(mapPage, map & 0xFF);
    if (!row || row->first >= row->second) return "its page map names a row that " + Page(mapPage) + " lacks";
    const auto [start, end] = *row;
    const unsigned char kind = pages.Byte(mapPage, start);
    if (kind == 0) {
        if (end - start < 5) return "its page map is cut short";
        if (!pages.Has(pages.Int32(mapPage, start + 1)) && pages.Int32(mapPage, start + 1) != 0)
            return "its page map starts past the end of the file";
    } else if (kind == 1) {
        for (std::size_t at = start + 1; at + 4 <= end; at += 4) {
            const std::uint32_t p = pages.Int32(mapPage, at);
            if (p == 0) continue;
            if (!pages.Has(p)) return "its page map names " + Page(p) + ", past the end of the file";
            if (pages.Kind(p) != kMapPage) return "its page map names " + Page(p) + ", which is no page map";
        }
    } else {
        return "its page map is of an unknown kind";
    }
    return std::nullopt;
}

}  // namespace wb::jet
