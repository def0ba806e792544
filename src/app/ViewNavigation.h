#pragma once
// Arithmetic of the design view's scrolling, panning and wheel zoom, kept
// apart from the scroll box so it can be tested with tables.
//
// A scroll axis is given by its position, its range (the extent of the
// content, here the paint box) and its largest valid position (the range less
// the visible extent, never negative).
namespace zb {

struct ScrollAxis {
    int position = 0;
    int range = 0;
    int maximum = 0;
};

// Pixels one wheel message scrolls.
inline constexpr int kWheelStep = 20;
// Zoom steps of Ctrl + wheel, and the zoom field's limits.
inline constexpr int kZoomStep = 10;
inline constexpr int kZoomMin = 10;
inline constexpr int kZoomMax = 300;

// Position after one wheel message: +20 turned down, -20 up, held in 0 .. maximum.
int WheelScroll(const ScrollAxis& axis, bool down);

// Position after dragging from `pressed` to `now` (both in paint-box
// coordinates): position + (pressed - now), raised to 0, lowered to range - 1,
// then limited by the scroll box to its maximum.
int PanScroll(const ScrollAxis& axis, int pressed, int now);

// Zoom after `steps` wheel notches with Ctrl held (positive: away from the
// user, larger): steps of 10 within 10 .. 300. A zoom off the step grid (typed
// in) moves to the next grid value in the direction turned.
int WheelZoom(int zoom, int steps);

// The pan state shared by the mouse handlers: any button starts a drag.
class DragPan {
public:
    void Press(int x, int y) {
        dragging_ = true;
        x0_ = x;
        y0_ = y;
    }
    void Release() { dragging_ = false; }
    bool Dragging() const { return dragging_; }
    int X0() const { return x0_; }
    int Y0() const { return y0_; }

private:
    bool dragging_ = false;
    int x0_ = 0;
    int y0_ = 0;
};

} // namespace zb
