#include "document/LayerBlock.h"

#include <algorithm>
#include <cstring>

#include "document/LittleEndian.h"

namespace zb {

namespace {
// Offsets of the settings inside the block.
enum : size_t {
    kOffKind = 0,
    kOffTransparency = 4,
    kOffGradientDirection = 8,
    kOffPatternShape = 12,
    kOffPatternColorMode = 16,
    kOffPatternSizeMode = 20,
    kOffPatternPosMode = 24,
    kOffPatternCount = 28,
    kOffTextCount = 32,
    kOffFilterIndex = 36,
    kOffTextColorMode = 40,
    kOffTextSize = 44,
    kOffTextSizeMode = 48,
    kOffTextPosMode = 52,
    kOffTextFontMode = 56,
    kOffGradientColor1 = 60,
    kOffGradientColor2 = 64,
    kOffPatternColor = 68,
    kOffTextColor = 72,
    // 76 .. 79 reserved (alignment of the doubles)
    kOffPatternSizeMM = 80,
    kOffPictureWidthMM = 88,
};
static_assert(kOffPictureWidthMM + 8 == kLayerBlockSettingsSize);

// Eight bytes no address or row length of a picture descriptor looks like:
// a name, a control character and a byte above 127.
constexpr uint8_t kOptionsSignature[8] = {'Z', 'B', 'o', 'p', 't', 's', 0x1A, 0xA7};
enum : size_t {
    kOffSignature = kDesignOptionsOffset,
    kOffVersion = kDesignOptionsOffset + 8,
    kOffOptionBits = kDesignOptionsOffset + 12,
    kOffOptionsEnd = kDesignOptionsOffset + 20,
};
// Inside the picture descriptor's bytes, clear of the text addresses at 1180.
static_assert(kOffSignature >= kLayerBlockSettingsSize && kOffOptionsEnd <= 1180);

constexpr uint8_t kExtrasSignature[8] = {'Z', 'B', 'e', 'b', 'n', 'e', 0x1A, 0xA7};
enum : size_t {
    kOffExtrasSignature = kLayerExtrasOffset,
    kOffExtrasVersion = kLayerExtrasOffset + 8,
    kOffExtrasFlags = kLayerExtrasOffset + 12,
    kOffNameLength = kLayerExtrasOffset + 16,
    kOffName = kLayerExtrasOffset + 20,
    kOffExtrasEnd = kOffName + kMaxLayerNameBytes,
};
static_assert(size_t(kOffExtrasEnd) <= size_t(kOffSignature));
constexpr uint32_t kFlagHidden = 1u << 0;

constexpr uint32_t kBitSeamless = 1u << 0;
constexpr uint32_t kRepeatShift = 8;
constexpr uint32_t kRepeatMask = 0xFFu << kRepeatShift;
} // namespace

void EncodeLayerBlock(const LayerSettings& layer, uint8_t* block) {
    std::memset(block, 0, kLayerBlockSize);
    le::Put32(block + kOffKind, layer.Kind);
    le::PutI32(block + kOffTransparency, layer.Transparency);
    le::PutI32(block + kOffGradientDirection, layer.GradientDirection);
    le::PutI32(block + kOffPatternShape, layer.PatternShape);
    le::PutI32(block + kOffPatternColorMode, layer.PatternColorMode);
    le::PutI32(block + kOffPatternSizeMode, layer.PatternSizeMode);
    le::PutI32(block + kOffPatternPosMode, layer.PatternPosMode);
    le::PutI32(block + kOffPatternCount, layer.PatternCount);
    le::PutI32(block + kOffTextCount, layer.TextCount);
    le::PutI32(block + kOffFilterIndex, layer.FilterIndex);
    le::PutI32(block + kOffTextColorMode, layer.TextColorMode);
    le::PutI32(block + kOffTextSize, layer.TextSize);
    le::PutI32(block + kOffTextSizeMode, layer.TextSizeMode);
    le::PutI32(block + kOffTextPosMode, layer.TextPosMode);
    le::PutI32(block + kOffTextFontMode, layer.TextFontMode);
    le::Put32(block + kOffGradientColor1, layer.GradientColor1);
    le::Put32(block + kOffGradientColor2, layer.GradientColor2);
    le::Put32(block + kOffPatternColor, layer.PatternColor);
    le::Put32(block + kOffTextColor, layer.TextColor);
    le::PutDouble(block + kOffPatternSizeMM, layer.PatternSizeMM);
    le::PutDouble(block + kOffPictureWidthMM, layer.PictureWidthMM);
}

void EncodeDesignOptions(const PaperSettings& paper, uint8_t* block) {
    std::memcpy(block + kOffSignature, kOptionsSignature, sizeof kOptionsSignature);
    le::Put32(block + kOffVersion, kDesignOptionsVersion);
    const uint32_t bits = (paper.Seamless ? kBitSeamless : 0u) | (uint32_t(paper.Repeat) << kRepeatShift);
    le::Put32(block + kOffOptionBits, bits);
    le::Put32(block + kOffOptionBits + 4, 0);
}

bool DecodeDesignOptions(const uint8_t* block, PaperSettings& paper) {
    if (std::memcmp(block + kOffSignature, kOptionsSignature, sizeof kOptionsSignature) != 0) return false;
    const uint32_t version = le::Get32(block + kOffVersion);
    const uint32_t bits = le::Get32(block + kOffOptionBits);
    if (version == 0) return false;
    if (version == 1 && ((bits & ~(kBitSeamless | kRepeatMask)) != 0 || le::Get32(block + kOffOptionBits + 4) != 0))
        return false;
    paper.Seamless = (bits & kBitSeamless) != 0;
    paper.Repeat = RepeatModeOf((bits & kRepeatMask) >> kRepeatShift);
    return true;
}

void EncodeLayerExtras(const LayerSettings& layer, uint8_t* block) {
    if (layer.Name.empty() && layer.Visible) return;
    const size_t length = std::min(layer.Name.size(), kMaxLayerNameBytes);
    std::memcpy(block + kOffExtrasSignature, kExtrasSignature, sizeof kExtrasSignature);
    le::Put32(block + kOffExtrasVersion, kLayerExtrasVersion);
    le::Put32(block + kOffExtrasFlags, layer.Visible ? 0u : kFlagHidden);
    le::Put32(block + kOffNameLength, uint32_t(length));
    std::memcpy(block + kOffName, layer.Name.data(), length);
}

bool DecodeLayerExtras(const uint8_t* block, LayerSettings& layer) {
    if (std::memcmp(block + kOffExtrasSignature, kExtrasSignature, sizeof kExtrasSignature) != 0) return false;
    const uint32_t version = le::Get32(block + kOffExtrasVersion);
    const uint32_t flags = le::Get32(block + kOffExtrasFlags);
    const uint32_t length = le::Get32(block + kOffNameLength);
    if (version == 0 || length > kMaxLayerNameBytes) return false;
    if (version == 1) {
        if ((flags & ~kFlagHidden) != 0) return false;
        for (size_t i = kOffName + length; i < kOffExtrasEnd; ++i)
            if (block[i] != 0) return false;
    }
    layer.Name.assign(reinterpret_cast<const char*>(block + kOffName), length);
    layer.Visible = (flags & kFlagHidden) == 0;
    return true;
}

void DecodeLayerBlock(const uint8_t* block, LayerSettings& layer) {
    layer.Kind = le::Get32(block + kOffKind);
    layer.Transparency = le::GetI32(block + kOffTransparency);
    layer.GradientDirection = le::GetI32(block + kOffGradientDirection);
    layer.PatternShape = le::GetI32(block + kOffPatternShape);
    layer.PatternColorMode = le::GetI32(block + kOffPatternColorMode);
    layer.PatternSizeMode = le::GetI32(block + kOffPatternSizeMode);
    layer.PatternPosMode = le::GetI32(block + kOffPatternPosMode);
    layer.PatternCount = le::GetI32(block + kOffPatternCount);
    layer.TextCount = le::GetI32(block + kOffTextCount);
    layer.FilterIndex = le::GetI32(block + kOffFilterIndex);
    layer.TextColorMode = le::GetI32(block + kOffTextColorMode);
    layer.TextSize = le::GetI32(block + kOffTextSize);
    layer.TextSizeMode = le::GetI32(block + kOffTextSizeMode);
    layer.TextPosMode = le::GetI32(block + kOffTextPosMode);
    layer.TextFontMode = le::GetI32(block + kOffTextFontMode);
    layer.GradientColor1 = le::Get32(block + kOffGradientColor1);
    layer.GradientColor2 = le::Get32(block + kOffGradientColor2);
    layer.PatternColor = le::Get32(block + kOffPatternColor);
    layer.TextColor = le::Get32(block + kOffTextColor);
    layer.PatternSizeMM = le::GetDouble(block + kOffPatternSizeMM);
    layer.PictureWidthMM = le::GetDouble(block + kOffPictureWidthMM);
}

} // namespace zb
