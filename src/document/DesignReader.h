#pragma once
// Reads a design in the design-file layout (see DesignWriter.h).
#include <string>

#include "document/ByteSource.h"
#include "model/Design.h"

namespace zb {

// Reads the whole design into `design`, which must be freshly made (no
// layers). Returns an empty string on success, else the German reason the
// data was refused (without the file's name, no full stop at the end).
//
// Every count and size is checked against the bytes that are left before
// anything is allocated for it. On failure `design` holds whatever was read so
// far, each record with its own texts and picture; the caller throws it away.
//
// After the last layer exactly the 68 bytes of the settings must remain, and
// the eight settings values must be finite numbers; otherwise the data is
// refused as damaged.
//
// On success: the top layer is current (the selection is layers - 1), the paper
// values are limited and rounded as their fields show them, and any non-zero
// choice byte counts as true. Layer settings are taken as they stand. The
// seamless option and repeat mode come from the first layer block when it
// carries them (LayerBlock.h), else they are off and basic.
std::string ReadDesign(ByteSource& source, Design& design);

} // namespace zb
