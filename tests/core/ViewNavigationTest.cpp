#include <gtest/gtest.h>

#include "workspace/DeviceScale.h"
#include "workspace/ViewNavigation.h"

using zb::ScrollAxis;

TEST(ViewNavigation, WheelScrollsTwentyPixelsANotchWithinTheLimits) {
    const struct {
        ScrollAxis axis;
        int notches, expected;
    } cases[] = {
        {{0, 500, 300}, -1, 20},    {{100, 500, 300}, 1, 80},   {{10, 500, 300}, 1, 0},
        {{290, 500, 300}, -1, 300}, {{0, 100, 0}, -1, 0},       {{0, 100, -5}, -1, 0},
        {{100, 0, 500}, -1, 120},   {{100, 0, 500}, 3, 40},     {{495, 0, 500}, -1, 500},
        {{100, 0, 500}, -2147483647 - 1, 500}, // no overflow
    };
    for (const auto& c : cases)
        EXPECT_EQ(WheelScroll(c.axis, c.notches), c.expected) << c.axis.position << " " << c.notches;
}

TEST(ViewNavigation, PanKeepsTheGrabbedPointAndStopsAtEachLimit) {
    const struct {
        ScrollAxis axis;
        int pressed, now, expected;
    } cases[] = {
        {{0, 1000, 600}, 200, 150, 50},     // dragged 50 to the left: position +50
        {{100, 1000, 600}, 200, 260, 40},   // dragged right
        {{20, 1000, 600}, 200, 400, 0},     // beyond the start
        {{580, 1000, 600}, 200, 100, 600},  // beyond the scroll limit: held there
        {{0, 300, 600}, 400, 0, 299},       // range - 1 before the box's own limit
        {{0, 30, 1000}, 0, -50, 29},
        {{0, 0, 0}, 0, 50, 0},              // nothing to scroll
        {{0, 0, 0}, 0, -50, 0},
        {{0, 1000, 600}, 2147483647, -2147483647 - 1, 600}, // no overflow
        {{100, 1600, 1000}, 50, 30, 120},   // dragged left by 20: the view moves right
        {{100, 1600, 1000}, 50, 80, 70},
        {{10, 1600, 1000}, 50, 500, 0},
        {{990, 1600, 1000}, 50, -400, 1000},
        {{480, 1000, 500}, 0, -100, 500},
        {{0, 100, -10}, 0, -10, 0},         // no valid position but 0
    };
    for (const auto& c : cases) EXPECT_EQ(PanScroll(c.axis, c.pressed, c.now), c.expected) << c.now;
}

TEST(ViewNavigation, ZoomStepsWithinEachViewsLimits) {
    const struct {
        zb::ZoomLimits limits;
        int zoom, steps, expected;
    } cases[] = {
        // The design view: steps of ten on the grid, 10 .. 300.
        {zb::kDesignViewZoom, 30, 1, 40},    {zb::kDesignViewZoom, 30, -1, 20},
        {zb::kDesignViewZoom, 10, -1, 10},   {zb::kDesignViewZoom, 300, 1, 300},
        {zb::kDesignViewZoom, 295, 1, 300},  {zb::kDesignViewZoom, 35, 1, 40},
        {zb::kDesignViewZoom, 35, -1, 30},   {zb::kDesignViewZoom, 5, 1, 10},
        {zb::kDesignViewZoom, 30, 3, 60},    {zb::kDesignViewZoom, 0, -1, 10},
        {zb::kDesignViewZoom, 400, 0, 300},
        // The picture viewer: a quarter per step, 5 .. 9000.
        {zb::kPictureViewZoom, 100, 1, 125}, {zb::kPictureViewZoom, 100, -1, 80},
        {zb::kPictureViewZoom, 5, -1, 5},    {zb::kPictureViewZoom, 5, 1, 6},
        {zb::kPictureViewZoom, 6, -1, 5},    {zb::kPictureViewZoom, 8000, 1, 9000},
        {zb::kPictureViewZoom, 100, 0, 100}, {zb::kPictureViewZoom, 100, 1000, 9000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepZoom(c.limits, c.zoom, c.steps), c.expected) << c.limits.maximum << ": " << c.zoom << " " << c.steps;
}

TEST(ViewNavigation, ZoomedSurfaceAndZoomAboutThePointer) {
    EXPECT_EQ(zb::ZoomedSize(640, 480, 250), (zb::SurfaceSize{1600, 1200}));
    EXPECT_EQ(zb::ZoomedSize(10, 30, 5), (zb::SurfaceSize{0, 1})); // trunc(0.5), trunc(1.5)
    EXPECT_EQ(zb::ZoomedSize(6000, 4000, 9000), (zb::SurfaceSize{540000, 360000}));

    // The point under the pointer stays: 300 + 100 of 1000 is 0.4; of 2000 it is 800.
    EXPECT_EQ(zb::ScrollForZoomAbout(300, 100, 1000, 2000), 700);
    EXPECT_EQ(zb::ScrollForZoomAbout(300, 100, 1000, 500), 100);
    EXPECT_EQ(zb::ScrollForZoomAbout(0, 400, 1000, 100), 0); // never negative
    EXPECT_EQ(zb::ScrollForZoomAbout(10, 5, 0, 100), 0);
}

TEST(ViewNavigation, AnyPressStartsADragReleaseEndsItAndWheelPartsAddUp) {
    zb::ViewNavigation nav(zb::kPictureViewZoom);
    const ScrollAxis h{100, 1600, 1000}, v{100, 1200, 800};
    EXPECT_FALSE(nav.Dragging());
    EXPECT_EQ(nav.DragTo(h, v, 0, 0), (zb::ScrollPoint{100, 100})); // not grabbed: stays
    nav.Press(400, 300);
    EXPECT_TRUE(nav.Dragging());
    EXPECT_EQ(nav.DragTo(h, v, 350, 280), (zb::ScrollPoint{150, 120}));
    EXPECT_EQ(nav.DragTo(h, v, -5000, -5000), (zb::ScrollPoint{1000, 800}));
    nav.Release();
    EXPECT_FALSE(nav.Dragging());
    EXPECT_EQ(nav.DragTo(h, v, 5000, 5000), (zb::ScrollPoint{100, 100}));
    EXPECT_EQ(nav.StepZoom(100, 1), 125);

    // Whole notches come out; parts wait for the rest, in either direction.
    const struct {
        int delta, notches;
    } wheel[] = {{-120, -1}, {240, 2}, {60, 0}, {60, 1}, {-60, 0}, {-30, 0}, {-30, -1}, {40, 0}, {-100, 0}, {-80, -1}};
    for (const auto& w : wheel) EXPECT_EQ(nav.Wheel(w.delta), w.notches) << w.delta;
}

// Rasters on scaled screens: composed at the device resolution, shown on the
// smallest surface that covers them, drawn where the exposed part lands.
TEST(DeviceScale, RastersAreComposedAndExposedInDevicePixels) {
    const struct {
        double ratio;
        int ppi;
        zb::RasterSize logical;      // of a 301 x 200 raster
        zb::PixelRect exposed;       // of the logical rectangle 3, 5, 10 x 7
    } cases[] = {
        {1.0, 96, {301, 200}, {3, 5, 10, 7}},
        {1.25, 120, {241, 160}, {3, 6, 14, 9}},
        {1.5, 144, {201, 134}, {4, 7, 16, 11}},
        {2.0, 192, {151, 100}, {6, 10, 20, 14}},
        {0.0, 96, {301, 200}, {3, 5, 10, 7}}, // no ratio reported: as 1
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zb::DevicePpi(96, c.ratio), c.ppi) << c.ratio;
        EXPECT_EQ(zb::LogicalSize({301, 200}, c.ratio), c.logical) << c.ratio;
        EXPECT_EQ(zb::DeviceRect({3, 5, 10, 7}, c.ratio), c.exposed) << c.ratio;
    }
    EXPECT_EQ(zb::LogicalSize({0, -3}, 2.0), (zb::RasterSize{0, 0}));
}
