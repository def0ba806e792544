#include "base/DibCopy.h"

#include <cstring>

namespace zb {

bool MakeDIBCopy(const TDibRecord& source, DibPicture& destination) {
    destination.reset();
    if (!source.Bits || !source.Info) return true;
    const int bits = DibBitCount(source);
    destination = DibPicture(DibWidth(source), DibHeight(source), bits, source.Info, DibTableSize(bits));
    if (destination.empty()) return false;
    std::memcpy(destination.dib().Bits, source.Bits,
                size_t(destination.dib().BytesPerLine) * size_t(DibHeight(source)));
    return true;
}

} // namespace zb
