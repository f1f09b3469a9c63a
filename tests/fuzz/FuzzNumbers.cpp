// Any text through the number rules, the display patterns and the unit conversion: no crash,
// no infinity, a formatted number always reads back as the value it shows, and a number alone
// converted to kilograms and millimetres converts back to its own value.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "worksheet/Convert.h"
#include "worksheet/Decimal.h"
#include "worksheet/Format.h"
#include "worksheet/LeadingNumber.h"

namespace {
constexpr std::string_view kPatterns[] = {"#####0.00", "#####.0",  "#####0.0",  "######.0",
                                          "####0.00",  "####0.#0", "######.00", "#####.00"};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    const double v = wb::LeadingNumber(text);
    if (!std::isfinite(v)) std::abort();
    const std::string written = wb::NumberText(v);
    if (!std::isfinite(wb::LeadingNumber(written))) std::abort();
    const bool numeric = wb::NumericText(text);
    if (numeric && std::fabs(v) > 3.5e38) std::abort();
    for (std::string_view p : kPatterns) {
        std::string shown = wb::FormatText(text, p);
        if (!numeric && shown != text) std::abort();
        if (numeric) {
            if (!wb::NumericText(shown)) std::abort();
            // The shown value differs from the typed one by at most half the last decimal.
            const double decimals = static_cast<double>(p.size() - p.find('.') - 1);
            const double back = wb::LeadingNumber(shown);
            if (std::fabs(back - v) > 0.5 * std::pow(10.0, -decimals) * 1.0000001 + std::fabs(v) * 1e-14)
                std::abort();
        }
        // The exact reading agrees with the double one to the digits a double holds.
        const double exact = wb::Decimal::Read(text).ToDouble();
        if (std::fabs(exact - v) > std::fabs(v) * 1e-14) std::abort();
    }
    using U = wb::UnitSystem;
    for (wb::Quantity q : {wb::Quantity::Weight, wb::Quantity::Arm}) {
        const auto there = wb::ConvertText(text, q, U::PoundInch, U::KilogramMillimetre);
        if (!there) continue;
        const auto back = wb::ConvertText(*there, q, U::KilogramMillimetre, U::PoundInch);
        if (!back) std::abort();  // what was converted reads again
        if (numeric && std::fabs(wb::LeadingNumber(*back) - v) > std::fabs(v) * 1e-12) std::abort();
    }
    return 0;
}
