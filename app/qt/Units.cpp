#include "app/qt/Units.h"

#include <QStringList>

namespace wb::gui {
namespace {

// Liberation Sans has the metrics of the sans-serif faces the captions were measured in.
const QStringList kSans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                           QStringLiteral("Helvetica")};

int zoom = 100;

QFont Sans(qreal points, bool bold) {
    QFont f;
    f.setFamilies(kSans);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points * zoom / 100.0);
    f.setBold(bold);
    return f;
}

}  // namespace

int Zoom() {
    return zoom;
}

void SetZoom(int percent) {
    zoom = percent;
}

QFont WindowFont() {
    return Sans(8, false);
}

QFont LabelFont() {
    return Sans(9.75, true);
}

QFont ChangeListFont() {
    QFont f = Sans(8, false);
    f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    return f;
}

QColor InkColour(Ink ink) {
    switch (ink) {
        case Ink::Black:
            return QColor(0, 0, 0);
        case Ink::Red:
            return QColor(255, 0, 0);
        case Ink::Blue:
            return QColor(0, 0, 255);
        case Ink::Yellow:
            return QColor(255, 255, 0);
    }
    return {};
}

QColor GroundFor(Ink ink) {
    // Dark enough that yellow, drawn on the style's lighter button gradient, keeps 4.5:1.
    return ink == Ink::Yellow ? QColor(0x50, 0x50, 0x50) : QColor(0xd4, 0xd4, 0xd4);
}

}  // namespace wb::gui
