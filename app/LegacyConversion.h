// Start-up meets a shop's old Jet database where it expects one of its own files: it asks
// before converting, and shows what was brought across or why nothing was.
#pragma once

#include <filesystem>

#include "worksheet/Ports.h"
#include "worksheet/Progress.h"

namespace wb {

enum class LegacyDatabase { Settings, Main };

enum class LegacyFileOutcome {
    NotLegacy,  // not a Jet file (or no file): open it as usual
    Converted,  // converted and reported: open it as usual
    LeftAsItIs  // the mechanic said No, or the conversion failed and said why: do not open it
};

// Recognises the old file by its header, whatever it is called. Nothing is written unless the
// mechanic answers Yes. The file is read by the `reader` program in a child process (empty: the
// one installed beside this program), so a damaged file is refused instead of ending the program.
// A main database is converted under a progress dialog through `run`, and may be cancelled.
LegacyFileOutcome OfferConversion(Dialogs& dialogs, const std::filesystem::path& file, LegacyDatabase which,
                                  const std::filesystem::path& reader = {}, const AsideRunner& run = {});

}  // namespace wb
