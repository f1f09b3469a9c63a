#include "app/qt/Zoom.h"

#include <QSettings>
#include <algorithm>
#include <memory>

namespace wb::gui {
namespace {

// The largest step at which the window's outer size stays within width × height.
int LargestStepWithin(double width, double height) {
    const double byWidth = width / kWindowAt100.width();
    const double byHeight = height / kWindowAt100.height();
    const int percent = static_cast<int>(std::min(byWidth, byHeight) * 100);
    return std::clamp(percent / kZoomStep * kZoomStep, kZoomMin, kZoomMax);
}

// A per-user file of the program's own: the zoom belongs to the mechanic's screen, not to the
// shop's data.
std::unique_ptr<QSettings> Settings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("weightbalance"), QStringLiteral("window"));
}

}  // namespace

int FittingZoom(QSize available) {
    if (available.isEmpty()) return 100;
    const int comfortable = LargestStepWithin(available.width() * 0.9, available.height() * 0.8);
    return std::min(std::max(comfortable, 100), ClampZoom(kZoomMax, available));
}

int ClampZoom(int percent, QSize available) {
    percent = std::clamp(percent / kZoomStep * kZoomStep, kZoomMin, kZoomMax);
    if (available.isEmpty()) return percent;
    return std::min(percent, LargestStepWithin(available.width(), available.height()));
}

int StoredZoom() {
    return Settings()->value(QStringLiteral("zoom"), 0).toInt();
}

void StoreZoom(int percent) {
    const std::unique_ptr<QSettings> s = Settings();
    if (percent > 0)
        s->setValue(QStringLiteral("zoom"), percent);
    else
        s->remove(QStringLiteral("zoom"));
    s->sync();  // the program ends at once, without tearing down
}

}  // namespace wb::gui
