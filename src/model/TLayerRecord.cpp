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

void LimitToEditorRanges(LayerSettings& layer) {
    // Only the range: values inside it stay exactly as stored, even with
    // more decimals than the field shows.
    auto inRange = [](double value, const SpinField& field) {
        return std::isnan(value) ? field.Min : std::clamp(value, field.Min, field.Max);
    };
    auto whole = [&](int32_t value, const SpinField& field) { return int32_t(inRange(value, field)); };
    layer.Transparency = std::clamp(layer.Transparency, kTransparencyMin, kTransparencyMax);
    layer.TextCount = std::clamp(layer.TextCount, 0, kTextCountMax);
    layer.PatternCount = whole(layer.PatternCount, kAnzMEd);
    layer.TextSize = whole(layer.TextSize, kFSizeEd);
    layer.PatternSizeMM = inRange(layer.PatternSizeMM, kMSizeEd);
    layer.PictureWidthMM = inRange(layer.PictureWidthMM, kPicBreitEd);
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
