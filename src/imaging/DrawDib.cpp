#include "imaging/DrawDib.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/Halftone.h"

namespace zb {

int64_t RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double frac = value - lower;
    int64_t r = int64_t(lower);
    if (frac > 0.5 || (frac == 0.5 && (r % 2 != 0))) ++r;
    return r;
}

DibDrawRect ClipDibSource(DibDrawRect r, int32_t width, int32_t height) {
    auto broken = [&] { return r.srcW <= 0 || r.srcH <= 0; };
    if (broken()) return r;
    if (int64_t(r.srcX) + r.srcW > width) {
        const int64_t s = int64_t(width) - r.srcX;
        r.destW = int32_t(RoundHalfEven(double(r.destW) * double(s) / r.srcW));
        r.srcW = int32_t(s);
        if (broken()) return r;
    }
    if (r.srcY < 0) {
        const int64_t kept = int64_t(r.srcH) + r.srcY;
        r.destH = int32_t(RoundHalfEven(double(kept) * r.destH / r.srcH));
        r.srcH = int32_t(kept);
        r.srcY = 0;
        if (broken()) return r;
    }
    if (int64_t(r.srcY) + r.srcH > height) {
        const int64_t s = int64_t(height) - r.srcY;
        const int64_t kept = RoundHalfEven(double(r.destH) * double(s) / r.srcH);
        r.y = int32_t(r.y + (r.destH - kept));
        r.destH = int32_t(kept);
        r.srcH = int32_t(s);
        if (broken()) return r;
    }
    if (r.srcX < 0) {
        const int64_t keptSrc = int64_t(r.srcX) + r.srcW;
        const int64_t kept = RoundHalfEven(double(keptSrc) * r.destW / r.srcW);
        r.x = int32_t(r.x + (r.destW - kept));
        r.destW = int32_t(kept);
        r.srcW = int32_t(keptSrc);
        r.srcX = 0;
    }
    return r;
}

namespace {

// Rows of about this many bytes go to the device in one call: small enough to
// stay in the cache, large enough that the per-call cost does not matter.
constexpr size_t kBandBytes = 256 * 1024;
constexpr int kMaxBandRows = 64;

// Bpp: bytes per source pixel (3 or 1); Out: bytes per row-buffer pixel (3 or
// 4 from 24 bits, 1 from 8 bits).
template <int Bpp, int Out>
DibRowStats RenderRows(DibDevice& dc, int32_t X, int32_t Y, int32_t DestW, int32_t DestH, const TDibRecord& dib,
                       int32_t SrcX, int32_t SrcTop, int32_t SrcW, int32_t SrcH) {
    DibRowStats stats;
    if (!dib.Bits || !dib.Info || DestW <= 0 || DestH <= 0 || SrcW <= 0 || SrcH <= 0) return stats;
    const int32_t W = DibWidth(dib);
    const int32_t H = DibHeight(dib);

    // Only the visible part of the destination is rendered.
    const DeviceRect vis = dc.VisibleRect();
    const int64_t c0 = std::max<int64_t>(0, vis.left - X);
    const int64_t c1 = std::min<int64_t>(DestW, vis.right - X);
    const int64_t k0 = std::max<int64_t>(0, vis.top - Y);
    const int64_t k1 = std::min<int64_t>(DestH, vis.bottom - Y);
    if (c0 >= c1 || k0 >= k1) return stats;
    const int32_t spanW = int32_t(c1 - c0);

    // Byte offsets of the source columns; the columns that fall inside the
    // picture form one run, first .. last (c grows with i).
    std::vector<uint32_t> offsets(size_t(spanW), 0);
    int32_t first = -1, last = -2;
    for (int32_t i = 0; i < spanW; ++i) {
        const int64_t c = DibSourceColumn(SrcX, SrcW, DestW, c0 + i);
        if (c < 0 || c >= W) continue;
        offsets[size_t(i)] = uint32_t(c * Bpp);
        if (first < 0) first = i;
        last = i;
    }
    const bool contiguous = SrcW == DestW && first >= 0;

    const size_t rowBytes = (size_t(spanW) * Out + 3) & ~size_t(3);
    const int32_t bandRows = int32_t(std::clamp<int64_t>(int64_t(kBandBytes / rowBytes), 1,
                                                         std::min<int64_t>(kMaxBandRows, k1 - k0)));
    std::vector<uint8_t> band(rowBytes * size_t(bandRows), 0);
    if constexpr (Out == 4) {
        // Opaque everywhere, black where no source column falls.
        for (size_t i = 3; i < band.size(); i += 4) band[i] = 0xFF;
    }

    const int64_t bpl = dib.BytesPerLine;
    const int64_t maxOffset = int64_t(H - 1) * bpl;
    const TRgbQuad* colors = Bpp == 1 ? DibColorTable(dib) : nullptr;
    int64_t previous = -1;
    const uint8_t* previousRow = nullptr;  // the band row that holds `previous`
    int32_t filled = 0;
    int64_t bandTop = k0;

    auto flush = [&] {
        DibRows rows{band.data(), ptrdiff_t(rowBytes), spanW, filled, Out * 8, colors};
        dc.SetDibRows(int32_t(X + c0), int32_t(Y + bandTop), rows);
        stats.rowsSent += filled;
        ++stats.bands;
        bandTop += filled;
        filled = 0;
    };

    for (int64_t k = k0; k < k1; ++k) {
        uint8_t* row = band.data() + size_t(filled) * rowBytes;
        const int64_t t = SrcTop + int64_t(SrcH) * k / DestH;
        const int64_t offset = (int64_t(H) - 1 - t) * bpl;
        if (offset < 0 || offset > maxOffset) {
            if constexpr (Out == 4) {
                for (int32_t i = 0; i < spanW; ++i) std::memcpy(row + size_t(i) * 4, "\0\0\0\xFF", 4);
            } else {
                std::memset(row, 0, rowBytes);
            }
            previous = -1;  // the buffer no longer holds that row
            previousRow = nullptr;
        } else if (offset == previous) {
            if (previousRow != row) std::memcpy(row, previousRow, rowBytes);
        } else if (first >= 0) {
            const uint8_t* src = dib.Bits + offset;
            if constexpr (Out == 4) {
                if (contiguous) {
                    const uint8_t* p = src + offsets[size_t(first)];
                    uint8_t* q = row + size_t(first) * 4;
                    for (int32_t i = first; i <= last; ++i, p += 3, q += 4) {
                        q[0] = p[0];
                        q[1] = p[1];
                        q[2] = p[2];
                    }
                } else {
                    for (int32_t i = first; i <= last; ++i) {
                        const uint8_t* p = src + offsets[size_t(i)];
                        uint8_t* q = row + size_t(i) * 4;
                        q[0] = p[0];
                        q[1] = p[1];
                        q[2] = p[2];
                    }
                }
            } else if (contiguous) {
                std::memcpy(row + size_t(first) * Out, src + offsets[size_t(first)], size_t(last - first + 1) * Out);
            } else if constexpr (Bpp == 3) {
                for (int32_t i = first; i <= last; ++i) {
                    const uint8_t* p = src + offsets[size_t(i)];
                    uint8_t* q = row + size_t(i) * 3;
                    q[0] = p[0];
                    q[1] = p[1];
                    q[2] = p[2];
                }
            } else {
                for (int32_t i = first; i <= last; ++i) row[i] = src[offsets[size_t(i)]];
            }
            ++stats.rowsCopied;
            previous = offset;
        }
        previousRow = previous >= 0 ? row : nullptr;
        if (++filled == bandRows) flush();
    }
    if (filled > 0) flush();
    return stats;
}

// Pixel (sx, sy) of `src` to (dx, dy) of `dst`, both of the same depth.
void CopyPixel(const TDibRecord& src, int32_t sx, int32_t sy, TDibRecord& dst, int32_t dx, int32_t dy, int bits) {
    const uint8_t* s = src.Bits + int64_t(sy) * src.BytesPerLine;
    uint8_t* d = dst.Bits + int64_t(dy) * dst.BytesPerLine;
    switch (bits) {
    case 1: setpixel(dst, dx, dy, getpixel(src, sx, sy)); break;
    case 4: {
        const uint8_t nibble = (sx & 1) ? (s[sx >> 1] & 0x0F) : (s[sx >> 1] >> 4);
        d[dx >> 1] |= (dx & 1) ? nibble : uint8_t(nibble << 4);
        break;
    }
    default: {
        const int bpp = bits / 8;
        std::memcpy(d + int64_t(dx) * bpp, s + int64_t(sx) * bpp, size_t(bpp));
        break;
    }
    }
}

// StretchDib, then a picture of the destination size sent as rows, then the
// device bitmap stretched; the last one tells the user when it fails.
void StretchWithFallbacks(DibDevice& dc, const DibDrawRect& r, const TDibRecord& dib) {
    if (dc.StretchDib(r.x, r.y, r.destW, r.destH, dib, r.srcX, r.srcY, r.srcW, r.srcH)) return;

    const int bits = DibBitCount(dib);
    if (dc.CanSetDibRows()) {
        const int64_t colors = DibColorCount(dib);
        DibPicture picture(r.destW, r.destH, bits, dib.Info, colors > 256 ? 0 : int(colors));
        if (!picture.empty()) {
            TDibRecord& t = picture.dib();
            const bool copies = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
            for (int32_t j = 0; copies && j < r.destH; ++j) {
                // First and last pixels land on the rectangle's corners; a
                // destination one pixel high or wide takes the first row or column.
                const int32_t sy = r.srcY + (r.destH == 1 ? 0 : int32_t(int64_t(r.srcH - 1) * j / (r.destH - 1)));
                for (int32_t i = 0; i < r.destW; ++i) {
                    const int32_t sx =
                        r.srcX + (r.destW == 1 ? 0 : int32_t(int64_t(r.srcW - 1) * i / (r.destW - 1)));
                    CopyPixel(dib, sx, sy, t, i, j, bits);
                }
            }
            const DibRows rows{t.Bits + int64_t(r.destH - 1) * t.BytesPerLine, -ptrdiff_t(t.BytesPerLine),
                               r.destW, r.destH, bits, DibTableSize(bits) > 0 ? DibColorTable(t) : nullptr};
            if (dc.SetDibRows(r.x, r.y, rows)) return;
        }
    }

    switch (dc.StretchBltDib(r.x, r.y, r.destW, r.destH, dib, r.srcX, r.srcY, r.srcW, r.srcH)) {
    case BltResult::Ok: break;
    case BltResult::NoBitmap: dc.ReportFailure(kNoBitmapMessage); break;
    case BltResult::NoSetDibits: dc.ReportFailure(kNoSetDibitsMessage); break;
    case BltResult::NoStretchBlt: dc.ReportFailure(kNoStretchBltMessage); break;
    }
}

} // namespace

DibRowStats DrawDibRows24(DibDevice& dc, int32_t X, int32_t Y, int32_t DestW, int32_t DestH, const TDibRecord& dib,
                          int32_t SrcX, int32_t SrcTop, int32_t SrcW, int32_t SrcH) {
    if (DibBitCount(dib) != 24) return {};
    if (dc.RowBitCount24() == 32) return RenderRows<3, 4>(dc, X, Y, DestW, DestH, dib, SrcX, SrcTop, SrcW, SrcH);
    return RenderRows<3, 3>(dc, X, Y, DestW, DestH, dib, SrcX, SrcTop, SrcW, SrcH);
}

DibRowStats DrawDibRows8(DibDevice& dc, int32_t X, int32_t Y, int32_t DestW, int32_t DestH, const TDibRecord& dib,
                         int32_t SrcX, int32_t SrcTop, int32_t SrcW, int32_t SrcH) {
    if (DibBitCount(dib) != 8) return {};
    return RenderRows<1, 1>(dc, X, Y, DestW, DestH, dib, SrcX, SrcTop, SrcW, SrcH);
}

void DrawDib(DibDevice& dc, int32_t X, int32_t Y, int32_t DestW, int32_t DestH, const TDibRecord& dib,
             int32_t SrcX, int32_t SrcY, int32_t SrcW, int32_t SrcH, bool AllowHalftone, bool /*UseOwnPalette*/) {
    if (!dib.Bits || !dib.Info) return;
    const int32_t W = DibWidth(dib);
    const int32_t H = DibHeight(dib);
    const int bits = DibBitCount(dib);
    const DibDrawRect r = ClipDibSource({X, Y, DestW, DestH, SrcX, SrcY, SrcW, SrcH}, W, H);
    if (r.destW <= 0 || r.destH <= 0 || r.srcW <= 0 || r.srcH <= 0) return;

    if (bits == 24 && AllowHalftone && dc.ScreenBitsPerPixel() <= 8) {
        DibPicture t;
        DibDrawRect tr = r;
        if (r.srcW > r.destW || r.srcH > r.destH) {
            const int64_t tw = RoundHalfEven(double(W) * r.destW / r.srcW);
            const int64_t th = RoundHalfEven(double(H) * r.destH / r.srcH);
            if (tw > 0 && th > 0 && tw <= INT32_MAX && th <= INT32_MAX)
                DIBHalftoneDIBXY(t, dib, int(tw), int(th));
            tr.srcX = int32_t(RoundHalfEven(double(tw) * r.srcX / W));
            tr.srcY = int32_t(RoundHalfEven(double(th) * r.srcY / H));
            tr.srcW = r.destW;
            tr.srcH = r.destH;
        } else {
            DIBHalftoneDIB(t, dib);
        }
        if (!t.empty()) {
            StretchWithFallbacks(dc, tr, t);
            return;
        }
        // No memory for the halftoned copy: draw the picture as it is.
    }

    if (bits == 24 && !dc.IsPrinter()) {
        DrawDibRows24(dc, r.x, r.y, r.destW, r.destH, dib, r.srcX, H - r.srcY - r.srcH, r.srcW, r.srcH);
    } else if (bits == 8 && !dc.IsPrinter()) {
        DrawDibRows8(dc, r.x, r.y, r.destW, r.destH, dib, r.srcX, H - r.srcY - r.srcH, r.srcW, r.srcH);
    } else {
        StretchWithFallbacks(dc, r, dib);
    }
}

} // namespace zb
