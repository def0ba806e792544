#include "document/DesignReader.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "document/FileError.h"
#include "document/LayerBlock.h"
#include "document/LittleEndian.h"
#include "document/StringField.h"
#include "model/SpinField.h"

namespace zb {

namespace {

constexpr size_t kTrailerSize = 8 * 8 + 4;
// The smallest possible layer: block, two empty texts, I and C, a bare
// header and one row of four bytes.
constexpr uint64_t kMinLayerBytes = kLayerBlockSize + 4 + 4 + 4 + 4 + 40 + 4;

// More layers than anyone stacks; a larger count means another kind of file.
constexpr int32_t kMaxLayers = 65535;

// Layers are counted from 1, bottom layer first, as the layer list shows them.
std::string Layer(uint32_t index) { return "Ebene " + std::to_string(index + 1); }

std::string Damaged(const std::string& what) { return "Die Datei ist beschädigt: " + what; }

bool ValidBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::string ReadText(ByteSource& source, std::string& field, uint32_t index) {
    std::string text;
    int32_t length = 0;
    switch (ReadString(source, text, &length)) {
    case StringRead::Ok: field = std::move(text); return {};
    case StringRead::NegativeLength:
        return Damaged(Layer(index) + " hat eine ungültige Textlänge (" + std::to_string(length) + ")");
    case StringRead::EndOfData: break;
    }
    return kReadBeyondEnd;
}

std::string ReadPicture(ByteSource& source, TLayerRecord& layer, uint32_t index) {
    uint8_t sizes[8];
    if (!source.Read(sizes, 8)) return kReadBeyondEnd;
    const int32_t infoSize = le::GetI32(sizes);
    const int32_t colors = le::GetI32(sizes + 4);
    if ((colors != 0 && colors != 2 && colors != 16 && colors != 256) || infoSize != 40 + 4 * colors) {
        return Damaged("Bei " + Layer(index) + " passt die Größe des Bildkopfs (" +
                       std::to_string(infoSize) + " Bytes) nicht zur Farbanzahl (" +
                       std::to_string(colors) + ")");
    }

    // Header and colour table, in the memory layout a new picture takes as its source.
    alignas(TBitmapInfoHeader) uint8_t info[40 + 256 * 4];
    uint8_t raw[40 + 256 * 4];
    if (!source.Read(raw, size_t(infoSize))) return kReadBeyondEnd;
    TBitmapInfoHeader h;
    h.biSize = le::Get32(raw + 0);
    h.biWidth = le::GetI32(raw + 4);
    h.biHeight = le::GetI32(raw + 8);
    h.biPlanes = le::Get16(raw + 12);
    h.biBitCount = le::Get16(raw + 14);
    h.biCompression = le::Get32(raw + 16);
    h.biSizeImage = le::Get32(raw + 20);
    h.biXPelsPerMeter = le::GetI32(raw + 24);
    h.biYPelsPerMeter = le::GetI32(raw + 28);
    h.biClrUsed = le::Get32(raw + 32);
    h.biClrImportant = le::Get32(raw + 36);
    std::memcpy(info, &h, sizeof h);
    std::memcpy(info + 40, raw + 40, size_t(infoSize) - 40);

    const int bits = h.biBitCount;
    if (!ValidBitCount(bits)) {
        return Damaged("Das Bild von " + Layer(index) + " hat " + std::to_string(bits) +
                       " Bit je Pixel; möglich sind 1, 4, 8, 16, 24 und 32");
    }
    if (colors != DibTableSize(bits)) {
        return Damaged("Bei " + Layer(index) + " passt die Farbanzahl " + std::to_string(colors) +
                       " nicht zu " + std::to_string(bits) + " Bit je Pixel");
    }
    const std::string size = std::to_string(h.biWidth) + " × " + std::to_string(h.biHeight) + " Pixel";
    if (h.biWidth <= 0 || h.biHeight <= 0) {
        return Damaged("Das Bild von " + Layer(index) + " hat die ungültige Größe " + size);
    }
    const int64_t rowBytes = DibRowBytes(h.biWidth, bits);
    if (rowBytes < 0 || uint64_t(rowBytes) * uint64_t(h.biHeight) > source.Remaining()) {
        return "Die Bilddaten von " + Layer(index) + " (" + size + ") reichen über das Dateiende hinaus. " +
               kReadBeyondEnd;
    }
    const size_t imageBytes = size_t(rowBytes) * size_t(h.biHeight);

    layer.LayerPicture = DibPicture(h.biWidth, h.biHeight, bits, reinterpret_cast<const TBitmapInfoHeader*>(info),
                                    colors);
    if (layer.LayerPicture.empty()) {
        return "Für das Bild von " + Layer(index) + " (" + size + ") ist nicht genug Speicher da";
    }
    if (!source.Read(layer.LayerPicture.dib().Bits, imageBytes)) return kReadBeyondEnd;
    return {};
}

std::string ReadLayer(ByteSource& source, TLayerRecord& layer, uint32_t index, PaperSettings& paper) {
    uint8_t block[kLayerBlockSize];
    if (!source.Read(block, kLayerBlockSize)) return kReadBeyondEnd;
    DecodeLayerBlock(block, layer);
    DecodeLayerExtras(block, layer);
    if (index == 0) DecodeDesignOptions(block, paper);
    LimitUnsafeValues(layer);
    if (auto problem = ReadText(source, layer.LayerText, index); !problem.empty()) return problem;
    if (auto problem = ReadText(source, layer.FontName, index); !problem.empty()) return problem;
    return ReadPicture(source, layer, index);
}

} // namespace

std::string ReadDesign(ByteSource& source, Design& design) {
    uint8_t field[4];
    if (!source.Read(field, 4)) return kReadBeyondEnd;
    const int32_t count = le::GetI32(field);
    // Other files (pictures, texts) start with bytes that make an absurd
    // count; the number itself would say nothing to the user.
    if (count <= 0 || count > kMaxLayers) return "Sie ist keine Zierbogen-Entwurfsdatei";
    const uint64_t room = source.Remaining() > kTrailerSize ? source.Remaining() - kTrailerSize : 0;
    if (uint64_t(count) > room / kMinLayerBytes) {
        return "Die Datei nennt " + std::to_string(count) + (count == 1 ? " Ebene" : " Ebenen") +
               ", ist dafür aber viel zu kurz. " +
               kReadBeyondEnd;
    }

    for (uint32_t i = 0; i < uint32_t(count); ++i) {
        // The record is in the design before it is filled, so whatever it
        // already owns goes with the design when reading stops.
        TLayerRecord& layer = design.Layers.Add();
        if (auto problem = ReadLayer(source, layer, i, design.Paper); !problem.empty()) return problem;
    }

    // Exactly the settings are left; anything else means a layer was read
    // with the wrong size (a damaged header) and the settings would be taken
    // from picture bytes.
    if (source.Remaining() > kTrailerSize) {
        return Damaged("Nach der letzten Ebene folgen " + std::to_string(source.Remaining()) +
                       " Bytes statt der " + std::to_string(kTrailerSize) + " Bytes der Papiereinstellungen");
    }
    uint8_t trailer[kTrailerSize];
    if (!source.Read(trailer, kTrailerSize)) return kReadBeyondEnd;
    for (size_t i = 0; i < 8; ++i) {
        if (!std::isfinite(le::GetDouble(trailer + 8 * i)))
            return Damaged("Die Papiereinstellungen enthalten einen ungültigen Zahlenwert");
    }
    PaperSettings& p = design.Paper;
    p.Breit = kBreitEd.Limit(le::GetDouble(trailer + 0));
    p.Hoch = kHochEd.Limit(le::GetDouble(trailer + 8));
    p.BreitV = kBreitVEd.Limit(le::GetDouble(trailer + 16));
    p.HochV = kHochVEd.Limit(le::GetDouble(trailer + 24));
    p.DezV = kDezVEd.Limit(le::GetDouble(trailer + 32));
    p.Zoom = kZoomEd.Limit(le::GetDouble(trailer + 40));
    p.RandX = kRandXEd.Limit(le::GetDouble(trailer + 48));
    p.RandY = kRandYEd.Limit(le::GetDouble(trailer + 56));
    p.PrintAll = trailer[64] != 0;
    p.HoldWidth2 = trailer[65] != 0;
    p.SVerh = trailer[66] != 0;
    p.HoldWidth = trailer[67] != 0;

    design.Layers.Select(count - 1);
    return {};
}

} // namespace zb
