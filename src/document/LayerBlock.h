#pragma once
// The 1192-byte block in which design files carry one layer record.
//
// Offsets 0 .. 95 hold the settings (Kind through PictureWidthMM), all
// little-endian. The rest of the block once held the picture descriptor and
// the addresses of the texts in memory; those travel separately in the file,
// so we write zeros there and the reader ignores whatever it finds.
#include <cstddef>
#include <cstdint>

#include "model/TLayerRecord.h"

namespace zb {

inline constexpr size_t kLayerBlockSize = 1192;
// Bytes of the block that carry meaning (offsets 0 .. 95).
inline constexpr size_t kLayerBlockSettingsSize = 96;

// Writes all kLayerBlockSize bytes of `block`: the settings of `layer` at their
// offsets, zeros everywhere else.
void EncodeLayerBlock(const LayerSettings& layer, uint8_t* block);

// Sets the settings fields (Kind .. PictureWidthMM) of `layer` from offsets
// 0 .. 95 of `block`, exactly as they stand. The reserved word is not touched,
// nor are the picture and texts of a whole record passed here.
void DecodeLayerBlock(const uint8_t* block, LayerSettings& layer);

} // namespace zb
