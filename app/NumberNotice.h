// The boxes whose text is a number the reports print (Empty, C.G., Max Wgt, LEMAC, MAC): a
// text that the computation reads as another number than the one it shows is pointed out when
// the box is left, and stays as typed for correction.
#pragma once

#include <string_view>

#include "worksheet/Ports.h"

namespace wb {

// caption: the box's caption as the window shows it ("Empty", "C.G.", "Max Wgt"); unit: the
// unit the number is read in ("lb", "mm"), named after it.
void NoticeIfMisread(Dialogs& dialogs, std::string_view caption, std::string_view text,
                     std::string_view unit);

}  // namespace wb
