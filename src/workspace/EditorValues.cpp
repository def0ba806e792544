#include "workspace/EditorValues.h"

#include <cmath>
#include <limits>

#include "base/DibCopy.h"
#include "model/Cp1252.h"

namespace zb {

namespace {

// Spin fields hold doubles; the record keeps whole numbers truncated toward
// zero. A value beyond int32 (never shown by a limited field) is held at the edge.
int32_t Truncated(double v) {
    if (std::isnan(v)) return 0;
    const double t = std::trunc(v);
    if (t >= double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (t <= double(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return int32_t(t);
}

} // namespace

ReadBackResult ReadBackOptions(const EditorValues& v, TLayerRecord& layer, const TDibRecord& editPicture,
                               bool copyPicture) {
    ReadBackResult result;
    if (layer.Kind != uint32_t(v.page)) {
        layer.Kind = uint32_t(v.page);
        result.kindChanged = true;
    }
    layer.Transparency = v.trackBar1 - 5;
    layer.TextCount = v.trackBar2;
    layer.PatternCount = Truncated(v.anzMEd);
    layer.GradientColor1 = v.fillCol1;
    layer.GradientColor2 = v.fillCol2;
    layer.PatternColor = v.musterCol;
    layer.TextColor = v.fColor;
    layer.GradientDirection = v.fillDirection;
    layer.PatternShape = v.mTypBox;
    layer.PatternColorMode = v.mColBox;
    layer.PatternSizeMode = v.mSizeBox;
    layer.PatternPosMode = v.mPosBox;
    layer.PatternSizeMM = v.mSizeEd;
    layer.PictureWidthMM = v.picBreitEd;
    layer.FilterIndex = v.filterBox;
    layer.TextColorMode = v.fColBox;
    layer.TextSize = Truncated(v.fSizeEd);
    layer.TextSizeMode = v.fSizeKBox;
    layer.TextPosMode = v.fPosBox;
    layer.TextFontMode = v.fKindBox;
    SetLayerString(layer.LayerText, Utf8ToCp1252(v.textEd));
    SetLayerString(layer.FontName, Utf8ToCp1252(v.fontBox));
    if (copyPicture) {
        deldib(layer.LayerPicture);
        if (!MakeDIBCopy(editPicture, layer.LayerPicture)) result.message = kCopyMemoryMessage;
    }
    return result;
}

EditorValues EditorValuesOf(const TLayerRecord& layer) {
    EditorValues v;
    v.page = int32_t(layer.Kind);
    v.trackBar1 = layer.Transparency + 5;
    v.trackBar2 = layer.TextCount;
    v.anzMEd = layer.PatternCount;
    v.mSizeEd = layer.PatternSizeMM;
    v.picBreitEd = layer.PictureWidthMM;
    v.fSizeEd = layer.TextSize;
    v.fillCol1 = layer.GradientColor1;
    v.fillCol2 = layer.GradientColor2;
    v.musterCol = layer.PatternColor;
    v.fColor = layer.TextColor;
    v.fillDirection = layer.GradientDirection;
    v.mTypBox = layer.PatternShape;
    v.mColBox = layer.PatternColorMode;
    v.mSizeBox = layer.PatternSizeMode;
    v.mPosBox = layer.PatternPosMode;
    v.filterBox = layer.FilterIndex;
    v.fColBox = layer.TextColorMode;
    v.fSizeKBox = layer.TextSizeMode;
    v.fPosBox = layer.TextPosMode;
    v.fKindBox = layer.TextFontMode;
    v.textEd = Cp1252ToUtf8(LayerString(layer.LayerText));
    v.fontBox = Cp1252ToUtf8(LayerString(layer.FontName));
    return v;
}

} // namespace zb
