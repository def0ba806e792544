#include "base/DibCopy.h"

#include <cstring>

namespace zb {

bool MakeDIBCopy(const TDibRecord& source, TDibRecord& destination) {
    destination = TDibRecord{};
    if (!source.Bits || !source.Info) return true;
    const int bits = DibBitCount(source);
    newdib(destination, DibWidth(source), DibHeight(source), bits, source.Info, DibTableSize(bits));
    if (!destination.Bits) return false;
    std::memcpy(destination.Bits, source.Bits,
                size_t(destination.BytesPerLine) * size_t(DibHeight(source)));
    return true;
}

} // namespace zb
