#include "app/qt/Icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

namespace wb::gui {
namespace {

constexpr int kSize = 24;  // the faces are drawn on a 24 × 24 grid, scaled to the size shown

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

namespace {

void Draw(QPainter& p, Picture picture) {
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
}

// Drawn afresh at every size asked for, so that a zoomed window or a high-dpi screen shows
// sharp faces; a disabled button greys its face as the style does.
class PictureEngine : public QIconEngine {
  public:
    explicit PictureEngine(Picture picture) : picture_(picture) {}

    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal dpr = p->device() ? p->device()->devicePixelRatioF() : 1.0;
        QPixmap face = pixmap(rect.size() * dpr, mode, state);
        face.setDevicePixelRatio(dpr);
        p->drawPixmap(rect, face);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        QPixmap face(size);
        face.fill(Qt::transparent);
        QPainter p(&face);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(static_cast<qreal>(size.width()) / kSize, static_cast<qreal>(size.height()) / kSize);
        Draw(p, picture_);
        p.end();
        if (mode != QIcon::Disabled) return face;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(QIcon::Disabled, face, &option);
    }
    QIconEngine* clone() const override { return new PictureEngine(picture_); }

  private:
    Picture picture_;
};

}  // namespace

QIcon PictureIcon(Picture picture) {
    return QIcon(new PictureEngine(picture));
}

}  // namespace wb::gui
