// The form is laid out in twips, as the mechanics' shops have always seen it: at 96 dpi a
// pixel is 15 twips. Qt scales these logical pixels on high-dpi screens by itself.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

namespace wb::gui {

constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded half away from zero.
constexpr int Px(int twips) {
    return twips >= 0 ? (2 * twips + kTwipsPerPixel) / (2 * kTwipsPerPixel)
                      : -((-2 * twips + kTwipsPerPixel) / (2 * kTwipsPerPixel));
}

// A rectangle given in twips; its edges are rounded, not its size, so that neighbours that
// touch in twips touch in pixels.
inline QRect TwipRect(int left, int top, int width, int height) {
    const int x = Px(left), y = Px(top);
    return {x, y, Px(left + width) - x, Px(top + height) - y};
}

// Every grid row is 240 twips high.
constexpr int kRowHeight = Px(240);

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
