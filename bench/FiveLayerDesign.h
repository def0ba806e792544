#pragma once
// The five layers the export benchmarks compose: a gradient, a 512 x 512
// random texture, 2000 discs of 10 mm, "Weichzeichnen" and a text.
#include <random>

#include "model/LayerStack.h"

namespace zb::bench {

inline void FiveLayers(Design& d) {
    DibPicture* none = nullptr;
    TDynaArray<DibPicture> noTextures{&none};
    NewPlane(d, noTextures);
    d.CurrentLayer->Kind = kKindGradient;
    d.CurrentLayer->GradientColor2 = RGBColor(250, 230, 180);
    d.CurrentLayer->GradientDirection = 2;
    NewPlane(d, noTextures);
    TLayerRecord& tex = *d.CurrentLayer;
    tex.Kind = kKindTexture;
    tex.LayerPicture = DibPicture(512, 512, 24);
    std::mt19937 rng(7); // fixed seed: the same texture every run
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512 * 3; ++x) tex.LayerPicture.dib().Bits[y * tex.LayerPicture.dib().BytesPerLine + x] = uint8_t(rng());
    NewPlane(d, noTextures);
    d.CurrentLayer->Kind = kKindPattern;
    d.CurrentLayer->PatternCount = 2000;
    d.CurrentLayer->PatternSizeMM = 10.0;
    NewPlane(d, noTextures);
    d.CurrentLayer->Kind = kKindFilter;
    d.CurrentLayer->FilterIndex = 0;
    NewPlane(d, noTextures);
    d.CurrentLayer->Kind = kKindText;
}

} // namespace zb::bench
