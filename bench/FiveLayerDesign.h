#pragma once
// The five layers the export benchmarks compose: a gradient, a 512 x 512
// random texture, 2000 discs of 10 mm, "Weichzeichnen" and a text.
#include <random>

#include "model/LayerStack.h"

namespace zb::bench {

inline void FiveLayers(Design& d) {
    std::vector<DibPicture> noTextures;
    NewPlane(d, noTextures);
    d.Layers.back().Kind = kKindGradient;
    d.Layers.back().GradientColor2 = RGBColor(250, 230, 180);
    d.Layers.back().GradientDirection = 2;
    NewPlane(d, noTextures);
    TLayerRecord& tex = d.Layers.back();
    tex.Kind = kKindTexture;
    tex.LayerPicture = DibPicture(512, 512, 24);
    std::mt19937 rng(7); // fixed seed: the same texture every run
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512 * 3; ++x) tex.LayerPicture.dib().Bits[y * tex.LayerPicture.dib().BytesPerLine + x] = uint8_t(rng());
    NewPlane(d, noTextures);
    d.Layers.back().Kind = kKindPattern;
    d.Layers.back().PatternCount = 2000;
    d.Layers.back().PatternSizeMM = 10.0;
    NewPlane(d, noTextures);
    d.Layers.back().Kind = kKindFilter;
    d.Layers.back().FilterIndex = 0;
    NewPlane(d, noTextures);
    d.Layers.back().Kind = kKindText;
}

} // namespace zb::bench
