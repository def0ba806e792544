#pragma once
// One layer of a design. Design files store it as a 1192-byte block whose
// offsets are fixed (LayerBlock.h maps it field by field); in memory it is this
// plain record, moved bytewise by TDynaArray.
//
// Ownership: a record owns the pixel memory of LayerPicture and the two heap
// strings FontName and LayerText. Whoever removes a record releases them first
// (ReleaseLayer). Strings hold 8-bit Windows-1252 bytes, exactly as stored in
// design files; the user interface converts at its edge.
#include <cstdint>
#include <string_view>

#include "base/TDibRecord.h"

namespace zb {

enum LayerKind : uint32_t {
    kKindGradient = 0,
    kKindPattern = 1,
    kKindTexture = 2,
    kKindFilter = 3,
    kKindText = 4,
};

struct TLayerRecord {
    uint32_t Kind;
    int32_t Transparency;       // track bar position minus 5: -5 .. 5
    int32_t GradientDirection;
    int32_t PatternShape;
    int32_t PatternColorMode;
    int32_t PatternSizeMode;
    int32_t PatternPosMode;
    int32_t PatternCount;
    int32_t TextCount;          // density 0 .. 10
    int32_t FilterIndex;
    int32_t TextColorMode;
    int32_t TextSize;           // points
    int32_t TextSizeMode;
    int32_t TextPosMode;
    int32_t TextFontMode;
    uint32_t GradientColor1;    // colour values: red in the lowest byte
    uint32_t GradientColor2;
    uint32_t PatternColor;
    uint32_t TextColor;
    uint32_t Reserved76;
    double PatternSizeMM;
    double PictureWidthMM;
    TDibRecord LayerPicture;
    char* FontName;             // zero-terminated heap copy
    char* LayerText;            // zero-terminated heap copy
    uint32_t Reserved1188;
};
static_assert(std::is_trivially_copyable_v<TLayerRecord>);

// Replaces a heap string of a record: the old copy is released first.
void SetLayerString(char*& field, std::string_view text);
std::string_view LayerString(const char* field);

// Releases the three resources a record owns and nulls them.
void ReleaseLayer(TLayerRecord& layer);

// Fills a zero-filled record with the defaults of a new layer, except the
// picture (the caller decides where it comes from).
void SetLayerDefaults(TLayerRecord& layer);

// Transparency and text density: track bars of eleven positions.
inline constexpr int32_t kTransparencyMin = -5;
inline constexpr int32_t kTransparencyMax = 5;
inline constexpr int32_t kTextCountMax = 10;

// Limits the numeric settings to the ranges the layer editor allows
// (transparency, shape count and size, text density and size, picture
// width): values from a file cannot ask for a shape of 1e308 mm or overflow
// the track bar's arithmetic. Values inside the ranges stay exactly as they
// are; one that is not a number becomes the field's minimum. Choice fields
// stay as they are.
void LimitToEditorRanges(TLayerRecord& layer);

// List caption of a kind ("Farbverlauf", "Muster", "Grafik", "Filter", "Text");
// empty for a kind outside 0 .. 4.
std::string_view LayerKindCaption(uint32_t kind);

} // namespace zb
