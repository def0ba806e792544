#include "output/PicturePrintLayout.h"

#include <algorithm>
#include <cmath>

#include "imaging/DrawDib.h"

namespace zb {

namespace {

// Width and height on a page of pageW x pageH, before placing.
void SizeOnPage(int64_t picW, int64_t picH, int64_t pageW, int64_t pageH, const PicturePrintChoice& c,
                int64_t& w, int64_t& h) {
    if (c.mode == PrintSizeMode::UserDefined) {
        w = RoundHalfEven(double(pageW) * c.widthPercent / 100.0);
        h = RoundHalfEven(double(pageH) * c.heightPercent / 100.0);
        return;
    }
    w = pageW;
    h = pageH;
    if (c.keepAspect) {
        const int64_t t = picH * pageW / picW;
        if (t > pageH) {
            w = picW * pageH / picH;
            h = pageH;
        } else {
            h = t;
        }
    }
}

// The quotient is computed in extended precision and rounded to double
// before it is cut: a ratio that is exactly whole (65 x 96 / 119 x 4760 /
// 6400 is 39) comes out a hair below it in extended precision, and only the
// rounding to double brings it back.
int LimitPercent(long double extended) {
    const double x = double(extended);
    if (!(x >= kPercentMin)) return kPercentMin;  // NaN too
    if (x >= kPercentMax) return kPercentMax;
    return int(std::trunc(x));
}

} // namespace

PixelRect PicturePrintRect(int64_t picW, int64_t picH, int64_t pageW, int64_t pageH, const PicturePrintChoice& c) {
    if (picW <= 0 || picH <= 0 || pageW <= 0 || pageH <= 0) return {};
    int64_t w = 0, h = 0;
    SizeOnPage(picW, picH, pageW, pageH, c, w, h);
    PixelRect r{0, 0, int(w), int(h)};
    if (c.centred) {
        r.x = int((pageW - w) / 2);
        r.y = int((pageH - h) / 2);
    }
    return r;
}

PixelRect PreviewPageRect(int side, int64_t pageW, int64_t pageH) {
    if (side <= 0 || pageW <= 0 || pageH <= 0) return {};
    PixelRect r;
    if (pageH < pageW) {
        r.width = side;
        r.height = int(side * pageH / pageW);
    } else {
        r.height = side;
        r.width = int(side * pageW / pageH);
    }
    r.x = (side - r.width) / 2;
    r.y = (side - r.height) / 2;
    return r;
}

PixelRect PreviewPictureRect(int side, int64_t picW, int64_t picH, int64_t pageW, int64_t pageH,
                             const PicturePrintChoice& c) {
    const PixelRect page = PreviewPageRect(side, pageW, pageH);
    PixelRect r = PicturePrintRect(picW, picH, page.width, page.height, c);
    r.x += page.x;
    r.y += page.y;
    return r;
}

int CoupledHeightPercent(int64_t picW, int64_t picH, int64_t pageW, int64_t pageH, int widthPercent,
                         int currentHeight) {
    if (picW <= 0 || picH <= 0 || pageW <= 0 || pageH <= 0) return currentHeight;
    const long double x =
        (long double)(picH * widthPercent) / (long double)picW * (long double)pageW / (long double)pageH;
    return LimitPercent(x);
}

int CoupledWidthPercent(int64_t picW, int64_t picH, int64_t pageW, int64_t pageH, int heightPercent,
                        int currentWidth) {
    if (picW <= 0 || picH <= 0 || pageW <= 0 || pageH <= 0) return currentWidth;
    const long double x =
        (long double)(picW * heightPercent) / (long double)picH * (long double)pageH / (long double)pageW;
    return LimitPercent(x);
}

} // namespace zb
