#pragma once
// Geometry of the thumbnail strip on the texture page: one 32-pixel thumbnail
// every 33 pixels, the marked one framed in red.
#include <QRect>

namespace zb {

inline constexpr int kThumbPitch = 33;
inline constexpr int kThumbWidth = 32;

// Width of the strip for `count` textures.
int TextureStripWidth(int count);

// Where thumbnail i is drawn (32 wide, as high as the strip).
QRect ThumbnailRect(int index, int stripHeight);

// The red frame of the marked thumbnail: from (33 i, 0) to (33 i + 33, height),
// right and bottom edges exclusive.
QRect ThumbnailFrame(int index, int stripHeight);

// The texture a press at x marks: x div 33, lowered to count - 1; -1 for an
// empty library. A press left of the strip marks the first texture.
int TextureAt(int x, int count);

} // namespace zb
