#pragma once
// One layer of a design: its settings, its picture and its two texts. Design
// files store the settings in a 1192-byte block whose offsets are fixed
// (LayerBlock.h maps it field by field) and the texts and picture after it;
// the byte layout lives there, not here.
//
// Ownership: a record owns its picture and its texts; it is move-only.
// Texts hold 8-bit Windows-1252 bytes, exactly as stored in design files; the
// user interface converts at its edge.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/DibPicture.h"

namespace zb {

enum LayerKind : uint32_t {
    kKindGradient = 0,
    kKindPattern = 1,
    kKindTexture = 2,
    kKindFilter = 3,
    kKindText = 4,
};

// The settings of a layer: plain values, compared as a whole.
struct LayerSettings {
    uint32_t Kind = kKindGradient;
    int32_t Transparency = 0;       // track bar position minus 5: -5 .. 5
    int32_t GradientDirection = 0;
    int32_t PatternShape = 0;
    int32_t PatternColorMode = 0;
    int32_t PatternSizeMode = 0;
    int32_t PatternPosMode = 0;
    int32_t PatternCount = 0;
    int32_t TextCount = 0;          // density 0 .. 10
    int32_t FilterIndex = 0;
    int32_t TextColorMode = 0;
    int32_t TextSize = 0;           // points
    int32_t TextSizeMode = 0;
    int32_t TextPosMode = 0;
    int32_t TextFontMode = 0;
    uint32_t GradientColor1 = 0;    // colour values: red in the lowest byte
    uint32_t GradientColor2 = 0;
    uint32_t PatternColor = 0;
    uint32_t TextColor = 0;
    uint32_t Reserved76 = 0;
    double PatternSizeMM = 0;
    double PictureWidthMM = 0;
    // The layer list's name (Windows-1252 bytes); empty: the kind's caption.
    std::string Name;
    // A hidden layer is left out of the sheet but still makes its random
    // draws, so showing it again changes no other layer.
    bool Visible = true;

    friend bool operator==(const LayerSettings&, const LayerSettings&) = default;
};

struct TLayerRecord : LayerSettings {
    DibPicture LayerPicture;
    std::string FontName;
    std::string LayerText;
};

// Fills a new record with the defaults of a new layer, except the picture
// (the caller decides where it comes from).
void SetLayerDefaults(TLayerRecord& layer);

// Transparency and text density: track bars of eleven positions.
inline constexpr int32_t kTransparencyMin = -5;
inline constexpr int32_t kTransparencyMax = 5;
inline constexpr int32_t kTextCountMax = 10;

// Limits the numeric settings of a layer from a file only where they would
// harm: a transparency outside -5 .. 5, counts and sizes beyond the editor's
// maxima (no shape of 1e308 mm), sizes that are not a number or infinite.
// Everything the composition handles soundly stays exactly as stored, also
// outside the editor's ranges: a shape count of 0 or below draws no shape
// (its layer still makes its draws), a text density below 0 no text, a size
// of 0 or below the smallest shape. Choice fields stay as they are.
void LimitUnsafeValues(LayerSettings& layer);

// Longest layer name design files carry, in bytes.
inline constexpr size_t kMaxLayerNameBytes = 255;

// What the layer list shows for a layer: its name, or its kind's caption.
std::string LayerDisplayName(const LayerSettings& layer);

// List caption of a kind ("Farbverlauf", "Muster", "Grafik", "Filter", "Text");
// empty for a kind outside 0 .. 4.
std::string_view LayerKindCaption(uint32_t kind);

} // namespace zb
