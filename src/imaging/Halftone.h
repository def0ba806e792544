#pragma once
// Preparing pictures for displays of at most 8 bits per pixel: an 8-bit record
// on a fixed 6 x 6 x 6 colour cube, ordered-dithered with an 8 x 8 Bayer
// matrix so flat areas keep their average colour.
//
// Ownership: `out` receives a new picture (whatever it held is freed). On
// failure (source without pixels, bad size, no memory) `out` is empty.
#include "base/DibPicture.h"

namespace zb {

// Palette index of cube colour (r, g, b), each 0 .. 5; entry value 51 * level.
constexpr int HalftoneCubeIndex(int r, int g, int b) { return r * 36 + g * 6 + b; }
inline constexpr int kHalftoneCubeLevels = 6;

// Same size as the source. Sources of 1, 4, 8 (LogPalette colours), 16 (5-5-5),
// 24 and 32 bits are accepted.
bool DIBHalftoneDIB(DibPicture& out, const TDibRecord& source);
// Resampled nearest-neighbour to newWidth x newHeight (both > 0).
bool DIBHalftoneDIBXY(DibPicture& out, const TDibRecord& source, int newWidth, int newHeight);

} // namespace zb
