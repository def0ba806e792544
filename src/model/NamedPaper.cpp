#include "model/NamedPaper.h"

#include <cmath>
#include <utility>

namespace zb {

PaperSizeCm NamedPaperSize(NamedPaper paper, PaperOrientation orientation) {
    PaperSizeCm size;
    switch (paper) {
    case kPaperA5: size = {14.8, 21.0}; break;
    case kPaperA4: size = {21.0, 29.7}; break;
    case kPaperA3: size = {29.7, 42.0}; break;
    case kPaperA2: size = {42.0, 59.4}; break;
    case kPaperLetter: size = {21.59, 27.94}; break;
    case kPaperLegal: size = {21.59, 35.56}; break;
    case kPaperGiftWrap: size = {50.0, 70.0}; break;
    default: return {};
    }
    if (orientation == kLandscape) std::swap(size.width, size.height);
    return size;
}

NamedPaper NamedPaperOf(double width, double height, PaperOrientation* orientation) {
    // The fields hold two decimals: compare in hundredths of a centimetre.
    const auto hundredths = [](double cm) { return std::llround(cm * 100.0); };
    for (int p = kPaperA5; p <= kPaperGiftWrap; ++p) {
        for (const PaperOrientation o : {kPortrait, kLandscape}) {
            const PaperSizeCm s = NamedPaperSize(NamedPaper(p), o);
            if (hundredths(s.width) == hundredths(width) && hundredths(s.height) == hundredths(height)) {
                if (orientation) *orientation = o;
                return NamedPaper(p);
            }
        }
    }
    if (orientation) *orientation = width > height ? kLandscape : kPortrait;
    return kPaperCustom;
}

} // namespace zb
