// How large the main window is drawn: a zoom in steps, chosen to fill a comfortable part of
// the screen the window opens on, changed by the mechanic and kept for the next start.
#pragma once

#include <QSize>

namespace wb::gui {

constexpr int kZoomStep = 10;  // percent
constexpr int kZoomMin = 50;
constexpr int kZoomMax = 400;

// The window's outer size at a zoom of 100 %: the client area of 9615 × 6900 twips and room
// for a window frame and title bar.
constexpr QSize kWindowAt100{641 + 10, 460 + 40};

// The largest step at which the window takes about four fifths of the screen's height
// and fits its width; never below 100 % unless the screen is smaller than the window.
int FittingZoom(QSize available);

// A zoom on the steps and within what fits the screen whole.
int ClampZoom(int percent, QSize available);

// The zoom the mechanic chose last; 0 when none was chosen (the fitting one is used).
int StoredZoom();
void StoreZoom(int percent);

}  // namespace wb::gui
