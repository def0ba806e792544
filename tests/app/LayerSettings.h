#pragma once
// A layer's settings as its file carries them: the settings bytes of its block
// and both texts. Two layers compare equal when a design file could not tell
// them apart by their settings, so a setting added to the record and its block
// is compared without a word here.
#include <array>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

#include "document/LayerBlock.h"
#include "model/TLayerRecord.h"

namespace zbtest {

struct LayerSettings {
    std::array<uint8_t, zb::kLayerBlockSettingsSize> block{};
    std::string fontName; // Windows-1252, as stored
    std::string text;

    friend bool operator==(const LayerSettings&, const LayerSettings&) = default;
    friend void PrintTo(const LayerSettings& s, std::ostream* os) {
        static const char digits[] = "0123456789ABCDEF";
        for (uint8_t b : s.block) *os << digits[b >> 4] << digits[b & 15];
        *os << " font \"" << s.fontName << "\" text \"" << s.text << '"';
    }
};

inline LayerSettings SettingsOf(const zb::TLayerRecord& layer) {
    std::array<uint8_t, zb::kLayerBlockSize> all{};
    zb::EncodeLayerBlock(layer, all.data());
    LayerSettings s;
    std::memcpy(s.block.data(), all.data(), s.block.size());
    s.fontName = std::string(layer.FontName);
    s.text = std::string(layer.LayerText);
    return s;
}

} // namespace zbtest
