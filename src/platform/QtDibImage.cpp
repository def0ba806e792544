#include "platform/QtDibImage.h"

#include <QList>

namespace zb::platform {

namespace {

QList<QRgb> ColourTable(const TRgbQuad* colors, int entries) {
    QList<QRgb> table(entries, qRgb(0, 0, 0));
    if (!colors) return table;
    for (int i = 0; i < entries; ++i) table[i] = qRgb(colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue);
    return table;
}

// 4-bit rows (two pixels a byte, the left one in the high nibble) as 8 bits.
QImage Expand4(const uint8_t* top, ptrdiff_t stride, int width, int height, const TRgbQuad* colors) {
    QImage image(width, height, QImage::Format_Indexed8);
    if (image.isNull()) return image;
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = top + ptrdiff_t(y) * stride;
        uchar* dst = image.scanLine(y);
        for (int x = 0; x < width; ++x) dst[x] = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
    }
    image.setColorTable(ColourTable(colors, 16));
    return image;
}

QImage Wrap(const uint8_t* top, ptrdiff_t stride, int width, int height, int bits, const TRgbQuad* colors) {
    if (!top || stride <= 0 || width <= 0 || height <= 0) return {};
    QImage::Format format = QImage::Format_Invalid;
    switch (bits) {
    case 1: format = QImage::Format_Mono; break;
    case 4: return Expand4(top, stride, width, height, colors);
    case 8: format = QImage::Format_Indexed8; break;
    case 16: format = QImage::Format_RGB555; break;
    case 24: format = QImage::Format_BGR888; break;
    case 32: format = QImage::Format_RGB32; break;
    default: return {};
    }
    QImage image(top, width, height, qsizetype(stride), format);
    if (bits <= 8) image.setColorTable(ColourTable(colors, 1 << bits));
    return image;
}

} // namespace

QImage WrapDibStoredRows(const TDibRecord& dib) {
    if (!dib.Bits || !dib.Info) return {};
    return Wrap(dib.Bits, dib.BytesPerLine, DibWidth(dib), DibHeight(dib), DibBitCount(dib), DibColorTable(dib));
}

QImage WrapDibRows(const DibRows& rows) {
    return Wrap(rows.top, rows.stride, rows.width, rows.height, rows.bitCount, rows.colors);
}

QImage DibToImage(const TDibRecord& dib) {
    const QImage stored = WrapDibStoredRows(dib);
    if (stored.isNull()) return {};
    const bool indexed = stored.format() == QImage::Format_Mono || stored.format() == QImage::Format_Indexed8;
    return stored.convertToFormat(indexed ? QImage::Format_RGB32 : stored.format())
        .mirrored(false, true);
}

} // namespace zb::platform
