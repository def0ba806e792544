#pragma once
// Where the main window opens: its whole frame, title bar included, inside the
// screen's available area, at the first start and at every later one.
#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace zb {

// `wanted` centred in `available`, never larger than it.
QRect PlaceWindow(QSize wanted, const QRect& available);

// The client geometry of a window whose frame (the window manager's margins
// `frame` around the client area) must lie inside `available`. `client` is
// the geometry asked for: a saved one that does not fit is shrunk and moved
// inside, one that fits stays; an empty one (the first start) gets the first
// start's size, centred.
QRect FitWindow(const QRect& client, const QMargins& frame, const QRect& available);

// Before the window is shown: the saved geometry (already restored into the
// window; `restored` false for none) or the first start's, fitted with a
// typical frame on the screen under the pointer.
void PlaceBeforeShowing(QWidget& window, bool restored);

// Once the window manager has framed the shown window: moves and shrinks it
// so that its real frame fits its screen. Maximised windows are the window
// manager's to place.
void FitFramedWindow(QWidget& window);

} // namespace zb
