// Any text as a typed date: a date that is accepted is a real calendar date and survives the
// trip through the stored form.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "worksheet/Dates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (auto d = wb::ParseTypedDate(text)) {
        if (!wb::IsRealDate(*d)) std::abort();
        if (wb::ParseTypedDate(wb::ShownDate(*d)) != d) std::abort();
        if (wb::ParseIsoDate(wb::IsoDate(*d)) != d) std::abort();
    }
    if (auto d = wb::ParseIsoDate(text)) {
        if (!wb::IsRealDate(*d) || wb::IsoDate(*d).size() != 10) std::abort();
    }
    return 0;
}
