#pragma once
// The picture viewer's arithmetic: the size of the paint surface at a zoom,
// drag panning, wheel scrolling and zooming about the pointer. Scroll positions
// are in surface pixels; maxValid is the scroll bar's largest position.
#include <cstdint>

namespace zb {

inline constexpr int kViewZoomMin = 5;
inline constexpr int kViewZoomMax = 9000;
inline constexpr int kViewZoomStep = 10;
inline constexpr int kViewZoomDefault = 100;
// Pixels one wheel notch scrolls.
inline constexpr int kWheelScrollPixels = 20;

struct SurfaceSize {
    int64_t width = 0;
    int64_t height = 0;
    bool operator==(const SurfaceSize&) const = default;
};

// trunc(w * zoom / 100) x trunc(h * zoom / 100).
SurfaceSize ViewerSurfaceSize(int64_t w, int64_t h, int zoomPercent);

// Dragging from `pressed` to `now` (both in surface pixels): the position
// moves by pressed - now, no lower than 0, no higher than range - 1 (range:
// the surface's size), then no higher than maxValid.
int PanScrollPosition(int current, int pressed, int now, int range, int maxValid);

// Scrolling by whole wheel notches: positive notches (away from the user)
// scroll up, 20 pixels each.
int WheelScrollPosition(int current, int notches, int maxValid);

// The next zoom of the zoom keys and Ctrl + wheel: a quarter larger per step
// (a fifth smaller per step back), always at least one percent, within
// 5 .. 9000.
int ZoomStep(int zoomPercent, int steps);

// The scroll position that keeps the picture point under the pointer (at
// `pointer` pixels from the viewport's edge) in place when the surface grows
// from oldSize to newSize pixels.
int ScrollForZoomAbout(int scroll, int pointer, int64_t oldSize, int64_t newSize);

} // namespace zb
