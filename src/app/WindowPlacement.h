#pragma once
// Where the main window opens: its wanted size, never larger than the screen's
// available area, centred on it.
#include <QRect>
#include <QSize>

class QWidget;

namespace zb {

QRect PlaceWindow(QSize wanted, const QRect& available);

// Places a window that remembers nothing yet on the screen under the pointer:
// at its first-start size, within the screen's free area less its frame.
void PlaceFirstTime(QWidget& window);

} // namespace zb
