#include "imaging/PictureImport.h"

#include <algorithm>
#include <cstring>

#include "imaging/ConvertDib.h"

namespace zb {

namespace {

bool Fail(DibPicture& out, const std::string& message) {
    out.reset();
    SetDibMessage(out.dib(), message);
    return false;
}

std::string SizeText(int64_t w, int64_t h) {
    return std::to_string(w) + " × " + std::to_string(h) + " Bildpunkte";
}

// Perceived brightness, enough to tell the darker of two colours.
int Luma(uint32_t c) { return 299 * RedOf(c) + 587 * GreenOf(c) + 114 * BlueOf(c); }

} // namespace

bool DibFromDecoded(DibPicture& out, const DecodedPicture& picture) {
    if (!picture.ok())
        return Fail(out, picture.error.empty() ? kPictureUnknownErrorMessage : picture.error);
    const int w = picture.width;
    const int h = picture.height;
    const int bits = picture.bitCount;
    if (w <= 0 || h <= 0)
        return Fail(out, "Die Grafik hat keine gültige Größe (" + SizeText(w, h) + ").");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return Fail(out, "Grafiken mit " + std::to_string(bits) + " Bit je Bildpunkt werden nicht unterstützt.");
    const int64_t rowBytes = DibRowBytes(w, bits);
    if (rowBytes < 0 || rowBytes * h > kMaxDibBytes)
        return Fail(out, "Die Grafik ist zu groß (" + SizeText(w, h) + ").");

    const int64_t packed = (int64_t(w) * bits + 7) / 8;
    // Rows 0 .. h-2 need a full stride each, the last one its packed bytes.
    const uint64_t have = picture.pixels.size();
    if (picture.stride < packed || have < uint64_t(packed) ||
        (have - uint64_t(packed)) / uint64_t(picture.stride) < uint64_t(h - 1))
        return Fail(out, kPictureDataMessage);

    const int tableSize = DibTableSize(bits);
    std::vector<uint32_t> palette(size_t(tableSize), 0);
    std::copy_n(picture.palette.begin(), std::min(picture.palette.size(), palette.size()), palette.begin());
    const bool invert = bits == 1 && Luma(palette[0]) > Luma(palette[1]);
    if (invert) std::swap(palette[0], palette[1]);

    out = DibPicture(w, h, bits);
    if (out.empty()) return Fail(out, kPictureMemoryMessage);

    TDibRecord& dib = out.dib();
    TRgbQuad* table = DibColorTable(dib);
    for (int i = 0; i < tableSize; ++i) {
        const uint32_t c = palette[size_t(i)];
        table[i] = {BlueOf(c), GreenOf(c), RedOf(c), 0};
        dib.LogPalette.palPalEntry[i] = {RedOf(c), GreenOf(c), BlueOf(c), 0};
    }

    for (int y = 0; y < h; ++y) {
        const uint8_t* src = picture.pixels.data() + ptrdiff_t(y) * picture.stride;
        uint8_t* dst = dib.Bits + ptrdiff_t(h - 1 - y) * dib.BytesPerLine;
        if (invert) {
            for (int64_t i = 0; i < packed; ++i) dst[i] = uint8_t(~src[i]);
        } else {
            std::memcpy(dst, src, size_t(packed));
        }
    }
    return true;
}

bool OpenDib(DibPicture& out, const std::string& fileName, const PictureDecoder& decoder) {
    return DibFromDecoded(out, decoder.DecodeFile(fileName));
}

bool OpenDibBytes(DibPicture& out, const uint8_t* data, size_t size, const PictureDecoder& decoder) {
    return DibFromDecoded(out, decoder.DecodeBytes(data, size));
}

bool OpenPicture24(DibPicture& out, const std::string& fileName, const PictureDecoder& decoder) {
    if (!OpenDib(out, fileName, decoder)) return false;
    if (ConvertDib(out, 24)) return true;
    return Fail(out, kPictureMemoryMessage);
}

std::string GetDIBOpenFilter(const PictureDecoder& decoder) {
    const std::vector<PictureFormat> formats = decoder.Formats();
    std::string all;
    std::string each;
    for (const PictureFormat& f : formats) {
        if (f.extensions.empty()) continue;
        std::string patterns;
        for (const std::string& e : f.extensions) {
            if (!patterns.empty()) patterns += ' ';
            patterns += "*." + e;
        }
        if (!all.empty()) all += ' ';
        all += patterns;
        each += f.description + " (" + patterns + ");;";
    }
    std::string filter;
    if (!all.empty()) filter = "Alle Grafikdateien (" + all + ");;" + each;
    return filter + "Alle Dateien (*)";
}

} // namespace zb
