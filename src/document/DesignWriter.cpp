#include "document/DesignWriter.h"

#include <cstring>

#include "document/LayerBlock.h"
#include "document/LittleEndian.h"
#include "document/StringField.h"

namespace zb {

namespace {

constexpr int kFallbackSize = 10;
constexpr int kFallbackBits = 24;

bool UsablePicture(const TDibRecord& pic) {
    if (!pic.Bits || !pic.Info) return false;
    const int w = DibWidth(pic), h = DibHeight(pic), bits = DibBitCount(pic);
    if (w <= 0 || h <= 0) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    return pic.BytesPerLine == DibRowBytes(w, bits);
}

// I, C, then the 40-byte header field by field, then the colour table as it
// lies (blue, green, red, reserved per entry).
size_t EncodeInfo(const TBitmapInfoHeader& h, const uint8_t* table, uint8_t* out) {
    const int colors = DibTableSize(h.biBitCount);
    const int infoSize = DibInfoSize(h.biBitCount);
    le::PutI32(out + 0, infoSize);
    le::PutI32(out + 4, colors);
    uint8_t* p = out + 8;
    le::Put32(p + 0, h.biSize);
    le::PutI32(p + 4, h.biWidth);
    le::PutI32(p + 8, h.biHeight);
    le::Put16(p + 12, h.biPlanes);
    le::Put16(p + 14, h.biBitCount);
    le::Put32(p + 16, h.biCompression);
    le::Put32(p + 20, h.biSizeImage);
    le::PutI32(p + 24, h.biXPelsPerMeter);
    le::PutI32(p + 28, h.biYPelsPerMeter);
    le::Put32(p + 32, h.biClrUsed);
    le::Put32(p + 36, h.biClrImportant);
    if (colors > 0) std::memcpy(p + 40, table, size_t(colors) * 4);
    return 8 + size_t(infoSize);
}

bool WritePicture(const TDibRecord& pic, ByteSink& sink) {
    uint8_t info[8 + 40 + 256 * 4];
    if (UsablePicture(pic)) {
        const size_t n = EncodeInfo(*pic.Info, reinterpret_cast<const uint8_t*>(DibColorTable(pic)), info);
        // Rows lie one after another in one block: one write for all of them.
        return sink.Write(info, n) &&
               sink.Write(pic.Bits, size_t(pic.BytesPerLine) * size_t(DibHeight(pic)));
    }
    TBitmapInfoHeader h;
    h.biWidth = kFallbackSize;
    h.biHeight = kFallbackSize;
    h.biBitCount = kFallbackBits;
    const int64_t rowBytes = DibRowBytes(kFallbackSize, kFallbackBits);
    h.biSizeImage = uint32_t(rowBytes * kFallbackSize);
    const size_t n = EncodeInfo(h, nullptr, info);
    uint8_t black[kFallbackSize * 32] = {};
    static_assert(sizeof black >= size_t(((kFallbackSize * kFallbackBits + 31) / 32) * 4 * kFallbackSize));
    return sink.Write(info, n) && sink.Write(black, size_t(rowBytes * kFallbackSize));
}

} // namespace

bool WriteDesign(const Design& design, ByteSink& sink) {
    const uint32_t count = design.Layers.size();
    uint8_t field[4];
    le::PutI32(field, int32_t(count));
    if (!sink.Write(field, 4)) return false;

    uint8_t block[kLayerBlockSize];
    for (uint32_t i = 0; i < count; ++i) {
        const TLayerRecord& layer = design.Layers[i];
        EncodeLayerBlock(layer, block);
        // Without options the file stays byte for byte what it was before
        // there were any.
        EncodeLayerExtras(layer, block);
        if (i == 0 && (design.Paper.Seamless || design.Paper.Repeat != kRepeatBasic))
            EncodeDesignOptions(design.Paper, block);
        if (!sink.Write(block, kLayerBlockSize)) return false;
        if (!WriteString(sink, layer.LayerText)) return false;
        if (!WriteString(sink, layer.FontName)) return false;
        if (!WritePicture(layer.LayerPicture, sink)) return false;
    }

    const PaperSettings& p = design.Paper;
    uint8_t trailer[68];
    const double values[8] = {p.Breit, p.Hoch, p.BreitV, p.HochV, p.DezV, p.Zoom, p.RandX, p.RandY};
    for (int k = 0; k < 8; ++k) le::PutDouble(trailer + 8 * k, values[k]);
    trailer[64] = p.PrintAll ? 1 : 0;
    trailer[65] = p.HoldWidth2 ? 1 : 0;
    trailer[66] = p.SVerh ? 1 : 0;
    trailer[67] = p.HoldWidth ? 1 : 0;
    return sink.Write(trailer, sizeof trailer);
}

} // namespace zb
