#include "setup/ReportFontChoice.h"

#include "store/MainDatabase.h"

namespace wb {

ReportFont StoredReportFont(MainDatabase* main) {
    if (main == nullptr) return {};
    try {
        return main->ReadReportFont().value_or(ReportFont{});
    } catch (const std::exception&) {
        return {};
    }
}

bool DialogCanTake(const ReportFont& font) {
    constexpr double kLargestSize = 1638;  // the largest size a font dialog offers
    return !font.name.empty() && font.size >= 1 && font.size <= kLargestSize;
}

ReportFont InitialFontChoice(MainDatabase* main) {
    ReportFont stored = StoredReportFont(main);
    return DialogCanTake(stored) ? stored : ReportFont{};
}

}  // namespace wb
