#pragma once
// The scroll-area side of the shared view navigation: the wheel scrolls the
// view, a zoom keeps the point under the pointer where it is. The design view,
// the print preview and the picture viewer all move this way.
#include <QPoint>
#include <functional>

class QScrollArea;

namespace zb {

// Scrolls `box` (may be null) vertically by `notches` wheel notches.
void WheelScrollArea(QScrollArea* box, int notches);

// Runs `zoom` (which resizes the box's surface) and scrolls so that the point
// at `viewportPos` shows the same part of the surface as before.
void ZoomScrollAreaAbout(QScrollArea* box, QPoint viewportPos, const std::function<void()>& zoom);

} // namespace zb
