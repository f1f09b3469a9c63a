// The picture faces of the button bar and of the report button, drawn rather than loaded so
// that the program carries no image files.
#pragma once

#include <QIcon>

namespace wb::gui {

enum class Picture {
    Previous,
    Next,
    CompactReport,
    FullReport,
    CalculationReport,
    About,
    History,
    RecordReport
};

QIcon PictureIcon(Picture picture);

}  // namespace wb::gui
