#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestRaster.h"
#include "imaging/FilterTable.h"
#include "imaging/ScaledFilter.h"
#include "model/Design.h"
#include "model/LayerChoices.h"
#include "render/Compositor.h"

using zb::Compositor;
using zb::Design;

namespace {

// A left-to-right gradient, with an opaque "Stark Weichzeichnen" layer over it.
void Gradient(Design& design) {
    zb::TLayerRecord& g = design.Layers.Add();
    zb::SetLayerDefaults(g);
    g.Kind = zb::kKindGradient;
    g.GradientColor1 = 0x000000;
    g.GradientColor2 = 0xFFFFFF;
    g.GradientDirection = zb::kGradientLeftToRight;
}

void GradientAndBlur(Design& design) {
    Gradient(design);
    zb::TLayerRecord& f = design.Layers.Add();
    zb::SetLayerDefaults(f);
    f.Kind = zb::kKindFilter;
    f.FilterIndex = 2;
    f.Transparency = -5;
}

std::vector<uint8_t> Pixels(zb::RasterView v) {
    std::vector<uint8_t> out;
    for (int y = 0; y < v.height; ++y) out.insert(out.end(), v.row(y), v.row(y) + v.width * 3);
    return out;
}

std::vector<uint8_t> Compose(Design& design, double scale) {
    Compositor c;
    EXPECT_EQ(c.EnsureSize({90, 40}), "");
    c.SetFilterScale(scale);
    EXPECT_EQ(c.ComposeFromSeed(design, 96, 100, 1, nullptr).message, "");
    return Pixels(c.DesignView());
}

} // namespace

// The compositor's filter scale: rounded to whole pixels, 1 and below the
// plain filter, above it the scaled filter on the layer's ground.
TEST(CompositorFilterScale, UsesTheScaledFilterAboveOne) {
    Design design;
    GradientAndBlur(design);
    const std::vector<uint8_t> plain = Compose(design, 1.0);
    EXPECT_EQ(Compose(design, 1.4), plain);
    EXPECT_EQ(Compose(design, 0.3), plain);

    // The same gradient filtered by hand at k = 3.
    Compositor groundOnly;
    Design gradient;
    Gradient(gradient);
    ASSERT_EQ(groundOnly.EnsureSize({90, 40}), "");
    groundOnly.ComposeFromSeed(gradient, 96, 100, 1, nullptr);
    zb::test::TestRaster expected(90, 40);
    for (int y = 0; y < 40; ++y) std::memcpy(expected.view().row(y), groundOnly.DesignView().row(y), 90 * 3);
    ASSERT_TRUE(zb::ApplyScaledFilterReference(expected.view(), zb::FilterTable[2], 3));
    const std::vector<uint8_t> scaled = Compose(design, 2.6);
    EXPECT_EQ(scaled, Pixels(expected.view()));
    EXPECT_NE(scaled, plain);
}
