#include "render/FontEngine.h"

#include <algorithm>
#include <cstring>

#include "model/Design.h"
#include "model/LayerChoices.h"

namespace zb {

const std::vector<std::string>& FontEngine::FamiliesFor(std::string_view) { return Families(); }

TextBitmap FontEngine::RenderClipped(const std::string& family, int pixelHeight, std::string_view text,
                                     int maxWidth, int maxHeight) {
    return CropTextBitmap(Render(family, pixelHeight, text), maxWidth, maxHeight);
}

void PrepareFonts(const Design& design, FontEngine& fonts) {
    std::vector<std::string> families;
    for (uint32_t i = 0; i < design.Layers.size(); ++i) {
        const TLayerRecord& layer = design.Layers[i];
        if (layer.Kind != kKindText) continue;
        if (layer.TextFontMode == kFontRandom) {
            const std::vector<std::string>& all = fonts.Families();
            families.insert(families.end(), all.begin(), all.end());
        } else {
            families.push_back(layer.FontName);
        }
    }
    std::sort(families.begin(), families.end());
    families.erase(std::unique(families.begin(), families.end()), families.end());
    if (!families.empty()) fonts.Prepare(families);
}

TextBitmap CropTextBitmap(TextBitmap bitmap, int maxWidth, int maxHeight) {
    const int w = std::clamp(bitmap.width, 0, std::max(maxWidth, 0));
    const int h = std::clamp(bitmap.height, 0, std::max(maxHeight, 0));
    const bool complete = bitmap.width >= 0 && bitmap.height >= 0 &&
                          bitmap.pixels.size() >= size_t(bitmap.width) * size_t(bitmap.height);
    if (complete && w == bitmap.width && h == bitmap.height) {
        bitmap.pixels.resize(size_t(w) * size_t(h));
        return bitmap;
    }
    TextBitmap out;
    out.width = w;
    out.height = h;
    out.pixels.assign(size_t(w) * size_t(h), 255);
    if (complete && w > 0)
        for (int y = 0; y < h; ++y)
            std::memcpy(out.pixels.data() + size_t(y) * size_t(w),
                        bitmap.pixels.data() + size_t(y) * size_t(bitmap.width), size_t(w));
    return out;
}

} // namespace zb
