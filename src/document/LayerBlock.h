#pragma once
// The 1192-byte block in which design files carry one layer record.
//
// Offsets 0 .. 95 hold the settings (Kind through PictureWidthMM), all
// little-endian. The rest of the block once held the picture descriptor and
// the addresses of the texts in memory; those travel separately in the file,
// so we write zeros there and the reader ignores whatever it finds, with one
// exception: the design's own options (seamless tile, repeat mode) ride in the
// tail of the first block behind a signature and a version, since the file has
// no other room for them, and a layer's name and visibility ride in its own
// block behind a signature of their own. Other writers leave memory contents in those bytes;
// without the signature they are never read as options, and readers that know
// nothing of the options skip them with the rest.
#include <cstddef>
#include <cstdint>

#include "model/Design.h"
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

// The options in the first block: offsets 1160 .. 1167 the signature,
// 1168 .. 1171 the version (little-endian), 1172 .. 1175 the option bits
// (bit 0 seamless, bits 8 .. 15 the repeat mode), 1176 .. 1179 zero.
inline constexpr size_t kDesignOptionsOffset = 1160;
inline constexpr uint32_t kDesignOptionsVersion = 1;

// Writes the paper's Seamless and Repeat into a block EncodeLayerBlock made.
void EncodeDesignOptions(const PaperSettings& paper, uint8_t* block);

// When the block carries the signature and a version this program reads,
// sets paper.Seamless and paper.Repeat from it and returns true. Otherwise
// (a file of another writer, or of a writer before the options) returns false
// and leaves `paper` alone. Version 1 also needs its unused bits zero; a later
// version is read for the bits version 1 knows.
bool DecodeDesignOptions(const uint8_t* block, PaperSettings& paper);

// A layer's name and visibility in its block: offsets 96 .. 103 the
// signature, 104 .. 107 the version, 108 .. 111 the flags (bit 0 hidden),
// 112 .. 115 the name's length (at most kMaxLayerNameBytes), then the name's
// bytes; zeros up to 116 + kMaxLayerNameBytes, clear of the design options.
inline constexpr size_t kLayerExtrasOffset = kLayerBlockSettingsSize;
inline constexpr uint32_t kLayerExtrasVersion = 1;

// Writes the layer's name and visibility into a block EncodeLayerBlock made.
// A visible layer without a name writes nothing: its block stays the one
// written before layers had either.
void EncodeLayerExtras(const LayerSettings& layer, uint8_t* block);

// When the block carries the signature and a version this program reads,
// sets layer.Name and layer.Visible from it and returns true. Otherwise
// returns false and leaves them alone. Version 1 also needs its unused flag
// bits and the bytes after the name zero; every version needs a name length
// within the limit.
bool DecodeLayerExtras(const uint8_t* block, LayerSettings& layer);

} // namespace zb
