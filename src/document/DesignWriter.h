#pragma once
// Writes a whole design in the design-file layout: the layer count, one block
// per layer (bottom layer first) with its texts and picture, then the paper
// values, zoom, margins and the four choices. All fields little-endian.
#include "document/ByteSink.h"
#include "model/Design.h"

namespace zb {

// False as soon as the sink fails (sink.Error() tells why). The design is not
// changed, its selection included.
//
// A layer whose picture has no pixel memory (a picture copy that ran out of
// memory) is written with a black 10 x 10 picture of 24 bits, the picture a
// new layer gets when there are no textures, so the file stays readable.
bool WriteDesign(const Design& design, ByteSink& sink);

} // namespace zb
