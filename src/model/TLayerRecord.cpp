#include "model/TLayerRecord.h"

#include <algorithm>
#include <cmath>

#include "model/SpinField.h"

namespace zb {

void SetLayerDefaults(TLayerRecord& layer) {
    layer.Kind = kKindTexture;
    layer.GradientColor1 = RGBColor(0, 0, 255);
    layer.TextCount = 5;
    layer.PatternCount = 100;
    layer.TextSize = 12;
    layer.PatternSizeMM = 30.0;
    layer.PictureWidthMM = 75.0;
    layer.FontName = "Arial";
    layer.LayerText = "Test";
}

void LimitUnsafeValues(LayerSettings& layer) {
    // A size that is not a number counts as the field's minimum, as a field's
    // text that is not a number does; an infinite one as its nearest end.
    auto size = [](double value, const SpinField& field) {
        if (std::isnan(value) || (std::isinf(value) && value < 0)) return field.Min;
        return std::min(value, field.Max);
    };
    layer.Transparency = std::clamp(layer.Transparency, kTransparencyMin, kTransparencyMax);
    layer.TextCount = std::min(layer.TextCount, kTextCountMax);
    layer.PatternCount = std::min(layer.PatternCount, int32_t(kAnzMEd.Max));
    // The text size's sign does not matter to the composition, only its magnitude.
    layer.TextSize = std::clamp(layer.TextSize, -int32_t(kFSizeEd.Max), int32_t(kFSizeEd.Max));
    layer.PatternSizeMM = size(layer.PatternSizeMM, kMSizeEd);
    layer.PictureWidthMM = size(layer.PictureWidthMM, kPicBreitEd);
}

std::string LayerDisplayName(const LayerSettings& layer) {
    return layer.Name.empty() ? std::string(LayerKindCaption(layer.Kind)) : layer.Name;
}

std::string_view LayerKindCaption(uint32_t kind) {
    switch (kind) {
    case kKindGradient: return "Farbverlauf";
    case kKindPattern: return "Muster";
    case kKindTexture: return "Grafik";
    case kKindFilter: return "Filter";
    case kKindText: return "Text";
    default: return {};
    }
}

} // namespace zb
