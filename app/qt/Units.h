// The form is laid out in twips, as the mechanics' shops have always seen it: at a zoom of
// 100 % a pixel is 15 twips. The zoom scales the whole window, fonts included; Qt scales these
// logical pixels once more on high-dpi screens by itself.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

namespace wb::gui {

constexpr int kTwipsPerPixel = 15;

// The zoom of every window, in percent.
int Zoom();
void SetZoom(int percent);

// Twips to pixels at the zoom, rounded half away from zero.
inline int Px(int twips) {
    const long long scaled = static_cast<long long>(twips) * Zoom();
    const long long d = 100LL * kTwipsPerPixel;
    return static_cast<int>(scaled >= 0 ? (2 * scaled + d) / (2 * d) : -((-2 * scaled + d) / (2 * d)));
}

// A rectangle given in twips; its edges are rounded, not its size, so that neighbours that
// touch in twips touch in pixels.
inline QRect TwipRect(int left, int top, int width, int height) {
    const int x = Px(left), y = Px(top);
    return {x, y, Px(left + width) - x, Px(top + height) - y};
}

// Every grid row is 240 twips high.
inline int RowHeight() {
    return Px(240);
}

// The picture faces are 360 twips square.
inline QSize IconSize() {
    return {Px(360), Px(360)};
}

// The window's small sans-serif font.
QFont WindowFont();
// The bold labels of the Worksheet and the panels.
QFont LabelFont();
// The cells of the change list.
QFont ChangeListFont();

// The four caption colours of the grids and the legend.
enum class Ink { Black, Red, Blue, Yellow };
QColor InkColour(Ink ink);
// The grey a caption of that colour stands on: yellow only reads on a darker grey.
QColor GroundFor(Ink ink);

}  // namespace wb::gui
