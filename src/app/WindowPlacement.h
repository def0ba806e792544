#pragma once
// Where the main window opens: its wanted size, never larger than the screen's
// available area, centred on it.
#include <QRect>
#include <QSize>

namespace zb {

QRect PlaceWindow(QSize wanted, const QRect& available);

} // namespace zb
