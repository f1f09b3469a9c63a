#include "app/qt/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace wb::gui {
namespace {

constexpr int kSize = 24;  // logical pixels; drawn at twice that for sharp high-dpi screens

void Arrow(QPainter& p, bool right) {
    QPainterPath path;
    if (right) {
        path.moveTo(8, 5);
        path.lineTo(18, 12);
        path.lineTo(8, 19);
    } else {
        path.moveTo(16, 5);
        path.lineTo(6, 12);
        path.lineTo(16, 19);
    }
    path.closeSubpath();
    p.fillPath(path, QColor(0, 0, 128));
}

// A printer with a sheet coming out; the sheet's lines tell the reports apart.
void Printer(QPainter& p, int lines, bool scaleMark) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 1.5, 11, 10));
    p.setPen(QPen(QColor(0, 0, 128), 1));
    for (int i = 0; i < lines; ++i)
        p.drawLine(QPointF(8.5, 4 + 2 * i), QPointF(15.5, 4 + 2 * i));
    if (scaleMark) {
        p.drawLine(QPointF(8.5, 9), QPointF(15.5, 5));
        p.drawEllipse(QPointF(12, 7), 1.2, 1.2);
    }
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0xa0, 0xa0, 0xa0));
    p.drawRoundedRect(QRectF(2.5, 10.5, 19, 8), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 16.5, 11, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 160, 0));
    p.drawEllipse(QPointF(18.5, 13), 1, 1);
}

void About(QPainter& p) {
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawEllipse(QPointF(12, 7.5), 1.5, 1.5);
    p.drawRect(QRectF(10.75, 10, 2.5, 8));
}

// A stack of sheets with a clock face: the records kept over the years.
void History(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 2.5, 12, 15));
    p.drawRect(QRectF(3.5, 4.5, 12, 15));
    p.setPen(QPen(QColor(0, 0, 128), 1));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(5.5, 8 + 2.5 * i), QPointF(11.5, 8 + 2.5 * i));
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16.5, 16.5), 5.5, 5.5);
    p.drawLine(QPointF(16.5, 16.5), QPointF(16.5, 13));
    p.drawLine(QPointF(16.5, 16.5), QPointF(19, 17.5));
}

}  // namespace

QIcon PictureIcon(Picture picture) {
    QPixmap pixmap(2 * kSize, 2 * kSize);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
        case Picture::Previous:
            Arrow(p, false);
            break;
        case Picture::Next:
            Arrow(p, true);
            break;
        case Picture::CompactReport:
            Printer(p, 2, false);
            break;
        case Picture::FullReport:
            Printer(p, 4, false);
            break;
        case Picture::CalculationReport:
            Printer(p, 0, true);
            break;
        case Picture::About:
            About(p);
            break;
        case Picture::History:
            History(p);
            break;
        case Picture::RecordReport:
            Printer(p, 3, true);
            break;
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace wb::gui
