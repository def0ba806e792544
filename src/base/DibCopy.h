#pragma once
#include "base/DibPicture.h"

namespace zb {

// Message of a deep copy that found no memory.
inline constexpr const char* kCopyMemoryMessage = "Fehler: nicht genug Speicher für diese Operation!";

// Deep copy with its own storage, pixels included. A source without pixels
// gives a destination without pixels (true). Returns false when the copy could
// not be allocated; the destination then has no pixels. Whatever the
// destination held before is freed first.
bool MakeDIBCopy(const TDibRecord& source, DibPicture& destination);

} // namespace zb
