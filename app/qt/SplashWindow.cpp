#include "app/qt/SplashWindow.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

#include "app/qt/Units.h"

namespace wb::gui {
namespace {

// The splash artwork: a high-wing aircraft balanced on a scale beam.
QPixmap Artwork(QSize size) {
    QPixmap pixmap(size * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(QColor(0x1c, 0x3f, 0x6e));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    const QColor light(0xf2, 0xf2, 0xf2);

    p.setPen(QPen(light, 3));
    p.drawLine(QPointF(w * 0.2, h * 0.62), QPointF(w * 0.8, h * 0.62));  // the beam
    QPainterPath fulcrum;
    fulcrum.moveTo(w * 0.5, h * 0.62);
    fulcrum.lineTo(w * 0.46, h * 0.72);
    fulcrum.lineTo(w * 0.54, h * 0.72);
    fulcrum.closeSubpath();
    p.fillPath(fulcrum, light);

    QPainterPath plane;  // side view, nose to the left
    plane.moveTo(w * 0.30, h * 0.50);
    plane.cubicTo(w * 0.30, h * 0.44, w * 0.36, h * 0.42, w * 0.42, h * 0.42);
    plane.lineTo(w * 0.62, h * 0.44);
    plane.lineTo(w * 0.70, h * 0.34);
    plane.lineTo(w * 0.73, h * 0.34);
    plane.lineTo(w * 0.72, h * 0.47);
    plane.lineTo(w * 0.42, h * 0.53);
    plane.cubicTo(w * 0.36, h * 0.54, w * 0.30, h * 0.54, w * 0.30, h * 0.50);
    p.fillPath(plane, light);
    p.fillRect(QRectF(w * 0.37, h * 0.405, w * 0.22, h * 0.025), light);  // the high wing
    p.setPen(QPen(light, 2));
    p.drawLine(QPointF(w * 0.40, h * 0.53), QPointF(w * 0.38, h * 0.60));
    p.drawLine(QPointF(w * 0.50, h * 0.52), QPointF(w * 0.52, h * 0.60));

    QFont title = LabelFont();
    title.setPointSizeF(20);
    p.setFont(title);
    p.drawText(QRectF(0, h * 0.10, w, h * 0.2), Qt::AlignCenter, QStringLiteral("Weight and Balance"));
    QFont small = WindowFont();
    small.setPointSizeF(10);
    p.setFont(small);
    p.drawText(QRectF(0, h * 0.78, w, h * 0.1), Qt::AlignCenter,
               QStringLiteral("for aircraft maintenance shops"));
    p.end();
    return pixmap;
}

}  // namespace

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::SplashScreen) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Weight and Balance"));
    setFont(WindowFont());
    setFixedSize(Px(8250), Px(5895));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel3D1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(3);
    panel->setGeometry(rect());
    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("Picture1"));
    const QRect inside = rect().adjusted(6, 6, -6, -6);
    picture->setGeometry(inside);
    picture->setPixmap(Artwork(inside.size()));

    // The hourglass stays over the splash until the main window is up.
    setCursor(Qt::WaitCursor);
    timer_.setInterval(kShowMs);
    connect(&timer_, &QTimer::timeout, this, &SplashWindow::Tick);
}

void SplashWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!timer_.isActive() && onElapsed) timer_.start();
}

void SplashWindow::Tick() {
    // Off first: the hand-over runs once.
    timer_.stop();
    auto handOver = std::move(onElapsed);
    onElapsed = nullptr;
    if (handOver) handOver();
    unsetCursor();
    close();
}

}  // namespace wb::gui
