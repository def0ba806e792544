#pragma once
// The 1192-byte block in which design files carry one layer record.
//
// Offsets 0 .. 95 hold the settings (Kind through PictureWidthMM), all
// little-endian. The rest of the block is where the record keeps its picture
// descriptor and the addresses of its texts in memory; those travel separately
// in the file, so we write zeros there and the reader ignores whatever it finds.
#include <cstddef>
#include <cstdint>

#include "model/TLayerRecord.h"

namespace zb {

inline constexpr size_t kLayerBlockSize = 1192;
// Bytes of the block that carry meaning (offsets 0 .. 95).
inline constexpr size_t kLayerBlockSettingsSize = 96;

// Writes all kLayerBlockSize bytes of `block`: the settings of `layer` at their
// offsets, zeros everywhere else.
void EncodeLayerBlock(const TLayerRecord& layer, uint8_t* block);

// Sets the settings fields (Kind .. PictureWidthMM) of `layer` from offsets
// 0 .. 95 of `block`, exactly as they stand. The picture, the texts and the
// reserved words of `layer` are not touched.
void DecodeLayerBlock(const uint8_t* block, TLayerRecord& layer);

} // namespace zb
