#include "base/DibPicture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace zb {

namespace {

bool ValidBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Allocates the header block and zeroed, 64-byte aligned rows into `out`;
// on failure `out` stays empty.
void newdib(TDibRecord& out, int width, int height, int bitCount,
            const TBitmapInfoHeader* source, int colorCount) {
    out = TDibRecord{};
    if (width <= 0 || height <= 0 || !ValidBitCount(bitCount)) return;
    const int64_t rowBytes = DibRowBytes(width, bitCount);
    if (rowBytes < 0) return;
    const int64_t imageBytes = rowBytes * height;
    if (imageBytes > kMaxDibBytes) return;

    const int tableSize = DibTableSize(bitCount);
    auto* info = static_cast<uint8_t*>(std::calloc(1, size_t(DibInfoSize(bitCount))));
    if (!info) return;
    // Rows are 64-byte aligned so vector kernels can start on a full line.
    const size_t alloc = (size_t(imageBytes) + 63) & ~size_t(63);
    auto* bits = static_cast<uint8_t*>(std::aligned_alloc(64, alloc));
    if (!bits) {
        std::free(info);
        return;
    }
    std::memset(bits, 0, alloc);

    auto* header = reinterpret_cast<TBitmapInfoHeader*>(info);
    if (source) std::memcpy(header, source, sizeof(TBitmapInfoHeader));
    else *header = TBitmapInfoHeader{};
    header->biSize = sizeof(TBitmapInfoHeader);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = uint16_t(bitCount);
    header->biCompression = 0;
    header->biSizeImage = uint32_t(imageBytes);
    header->biClrUsed = 0;
    header->biClrImportant = 0;

    TRgbQuad* table = reinterpret_cast<TRgbQuad*>(info + sizeof(TBitmapInfoHeader));
    const int copy = (source && colorCount > 0) ? std::min(colorCount, tableSize) : 0;
    if (copy > 0) {
        std::memcpy(table, reinterpret_cast<const uint8_t*>(source) + sizeof(TBitmapInfoHeader),
                    size_t(copy) * 4);
    }

    out.Info = header;
    out.Storage = 1;
    out.Bits = bits;
    out.BytesPerLine = int32_t(rowBytes);
    out.HasPalette = tableSize > 0 ? 1 : 0;
    out.LogPalette.palNumEntries = uint16_t(tableSize);
    for (int i = 0; i < tableSize; ++i) {
        out.LogPalette.palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    }
}

} // namespace

struct DibPicture::Storage {
    // Both blocks come from newdib; they go with the last picture sharing them.
    TBitmapInfoHeader* info = nullptr;
    uint8_t* bits = nullptr;
    Storage(TBitmapInfoHeader* i, uint8_t* b) : info(i), bits(b) {}
    ~Storage() {
        std::free(info);
        std::free(bits);
    }
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;
};

DibPicture::DibPicture(int width, int height, int bitCount, const TBitmapInfoHeader* source, int colorCount) {
    newdib(dib_, width, height, bitCount, source, colorCount);
    if (!dib_.Bits) return;
    try {
        storage_ = std::make_shared<Storage>(dib_.Info, dib_.Bits);
    } catch (const std::bad_alloc&) {
        std::free(dib_.Info);
        std::free(dib_.Bits);
        dib_ = TDibRecord{};
    }
}

DibPicture::DibPicture(DibPicture&& other) noexcept
    : storage_(std::move(other.storage_)), dib_(std::exchange(other.dib_, TDibRecord{})) {}

DibPicture& DibPicture::operator=(DibPicture&& other) noexcept {
    if (this != &other) {
        storage_ = std::move(other.storage_);
        dib_ = std::exchange(other.dib_, TDibRecord{});
    }
    return *this;
}

TDibRecord& DibPicture::dib() {
    if (Shared()) {
        const int bits = DibBitCount(dib_);
        DibPicture own(DibWidth(dib_), DibHeight(dib_), bits, dib_.Info, DibTableSize(bits));
        if (own.empty()) throw std::bad_alloc();
        std::memcpy(own.dib_.Bits, dib_.Bits, size_t(dib_.BytesPerLine) * size_t(DibHeight(dib_)));
        // The colour table or a message travels in the descriptor.
        own.dib_.LogPalette = dib_.LogPalette;
        *this = std::move(own);
    }
    return dib_;
}

void DibPicture::reset() {
    storage_.reset();
    dib_ = TDibRecord{};
}

} // namespace zb
