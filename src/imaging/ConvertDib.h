#pragma once
// Converting loaded pictures to the 24 bits the compositor tiles with.
#include "base/DibPicture.h"

namespace zb {

// Converts a 1-, 4- or 8-bit picture in place to `targetBits` (only 24 is
// supported; every caller passes 24). A 24-bit picture is left as it is.
//  - 1 bit: index 0 becomes black, any other index white; the picture's own
//    two colours are not looked at (OpenDib puts the darker one at index 0).
//  - 4 and 8 bits: each index becomes its LogPalette colour.
// Pictures of other depths stay as loaded. When the 24-bit copy cannot be
// allocated the picture is left unchanged. Returns true when the picture now
// has `targetBits`, so callers can refuse a picture that stayed behind.
// The picture's old storage is freed; the picture owns the new one.
bool ConvertDib(DibPicture& picture, int targetBits);

} // namespace zb
