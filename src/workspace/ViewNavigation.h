#pragma once
// How a view of a picture is moved about: dragging pans it, the wheel scrolls
// it, Ctrl + wheel and the zoom keys zoom it within the view's limits. The
// design view, the print preview and the picture viewer share this arithmetic;
// their widgets only read and set their scroll bars with it.
//
// Scroll positions are in pixels of the painted surface. Wheel notches count
// as the wheel reports them: positive when turned away from the user.
#include <cstdint>

#include "model/SpinField.h"

namespace zb {

// Pixels one wheel notch scrolls, in every view.
inline constexpr int kWheelStep = 20;
// A wheel notch in the units the window system reports.
inline constexpr int kWheelNotch = 120;
// The zoom of "actual size".
inline constexpr int kActualSize = 100;

// One scroll bar of a view: its position, the extent of the surface it scrolls
// (the range) and its largest valid position (the range less the visible
// extent; may come as negative while nothing is laid out).
struct ScrollAxis {
    int position = 0;
    int range = 0;
    int maximum = 0;
};

enum class ZoomStepping {
    Grid,    // steps of `step` percent, on the grid of that many
    Quarter, // a quarter larger per step, a fifth smaller per step back
};

// The zoom a view allows and how its wheel and keys step through it.
struct ZoomLimits {
    int minimum = 0;
    int maximum = 0;
    int step = 1; // also the zoom field's arrow step
    ZoomStepping stepping = ZoomStepping::Grid;

    int Limit(int zoom) const;
};

// The design view and the print preview share the zoom field's limits.
inline constexpr ZoomLimits kDesignViewZoom{int(kZoomEd.Min), int(kZoomEd.Max), 10, ZoomStepping::Grid};
inline constexpr ZoomLimits kPictureViewZoom{5, 9000, 10, ZoomStepping::Quarter};

// Position after `notches` wheel notches: kWheelStep pixels each, up for
// positive notches, held within 0 .. maximum.
int WheelScroll(const ScrollAxis& axis, int notches);

// Position after dragging from `pressed` to `now` (surface pixels): the
// surface follows the pointer, so the position moves by pressed - now, no
// lower than 0, no higher than range - 1, then no higher than the maximum.
int PanScroll(const ScrollAxis& axis, int pressed, int now);

// Zoom after `steps` zoom steps (positive: larger) within the limits. On a
// grid a zoom between grid values (typed in) moves to the next grid value in
// the direction turned; quarter steps change the zoom by at least 1 percent.
int StepZoom(const ZoomLimits& limits, int zoom, int steps);

// A surface of w x h pixels at `zoomPercent`: trunc(w * zoom / 100) by
// trunc(h * zoom / 100).
struct SurfaceSize {
    int64_t width = 0;
    int64_t height = 0;
    bool operator==(const SurfaceSize&) const = default;
};
SurfaceSize ZoomedSize(int64_t width, int64_t height, int zoomPercent);

// The scroll position that keeps the surface point under the pointer (at
// `pointer` pixels from the visible edge) in place when the surface grows
// from oldSize to newSize pixels; never negative.
int ScrollForZoomAbout(int scroll, int pointer, int64_t oldSize, int64_t newSize);

struct ScrollPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScrollPoint&) const = default;
};

// The state of navigating one view: the grab point while the surface is
// dragged (any button grabs it) and the part of a wheel notch that
// high-resolution wheels have sent so far.
class ViewNavigation {
public:
    explicit ViewNavigation(const ZoomLimits& limits) : limits_(limits) {}

    const ZoomLimits& Limits() const { return limits_; }

    void Press(int x, int y) {
        dragging_ = true;
        pressX_ = x;
        pressY_ = y;
    }
    void Release() { dragging_ = false; }
    bool Dragging() const { return dragging_; }
    // Both scroll positions with the pointer at (x, y); unchanged when not dragging.
    ScrollPoint DragTo(const ScrollAxis& h, const ScrollAxis& v, int x, int y) const;

    // Adds a wheel message's delta; returns the whole notches it completes.
    int Wheel(int angleDelta);

    int StepZoom(int zoom, int steps) const { return zb::StepZoom(limits_, zoom, steps); }

private:
    ZoomLimits limits_;
    bool dragging_ = false;
    int pressX_ = 0;
    int pressY_ = 0;
    int wheelRemainder_ = 0;
};

} // namespace zb
