#pragma once
// The DIB record: a device-independent bitmap descriptor.
//
// Ownership: a TDibRecord is a plain descriptor, copied by value. Copies share
// the header block and the pixel rows; the storage belongs to the DibPicture
// that created it, and every copy dies with that picture.
//
// Layout of the pixels: rows are stored bottom-up (stored row 0 is the
// picture's bottom row), each padded to a multiple of 4 bytes; always address
// a row as Bits + r * BytesPerLine, never width * 3. 24-bit pixels are the
// bytes blue, green, red.
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace zb {

// The 40-byte bitmap info header, as it travels in design files.
struct TBitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(TBitmapInfoHeader) == 40);

// Colour-table entry of the info block: blue, green, red, 0.
struct TRgbQuad {
    uint8_t rgbBlue = 0;
    uint8_t rgbGreen = 0;
    uint8_t rgbRed = 0;
    uint8_t rgbReserved = 0;
};

struct TPaletteEntry {
    uint8_t peRed = 0;
    uint8_t peGreen = 0;
    uint8_t peBlue = 0;
    uint8_t peFlags = 0;
};

struct TLogPalette {
    uint16_t palVersion = 0x300;
    uint16_t palNumEntries = 0;
    TPaletteEntry palPalEntry[256] = {};
};

struct TDibRecord {
    TBitmapInfoHeader* Info = nullptr; // header followed by its colour table
    uint32_t Storage = 0;              // non-zero once storage is allocated
    uint8_t* Bits = nullptr;           // stored row 0; nullptr when there is no bitmap
    int32_t BytesPerLine = 0;
    uint8_t HasPalette = 0;            // 1 for pictures of 8 bits or fewer
    // The colour table of 1-, 4- and 8-bit pictures. When OpenDib fails, the
    // entries carry a zero-terminated message for the user instead (DibMessage).
    TLogPalette LogPalette{};
    uint32_t Palette = 0;              // no palette handles on this platform: always 0
};
static_assert(std::is_trivially_copyable_v<TDibRecord>);

// Largest pixel block a DibPicture allocates; anything larger fails like an
// exhausted allocation instead of overflowing 32-bit row arithmetic.
inline constexpr int64_t kMaxDibBytes = int64_t{1} << 31;

// Bytes per stored row for a width and bit count: rounded up to 32 bits.
// Returns -1 when the row would not fit a 32-bit signed length.
int64_t DibRowBytes(int64_t width, int bitCount);

int DibWidth(const TDibRecord& dib);
int DibHeight(const TDibRecord& dib);
int DibBitCount(const TDibRecord& dib);
// 2^bits (16777216 for 24 bits); 0 without a header.
int64_t DibColorCount(const TDibRecord& dib);
// The colour table that follows the header (nullptr without a header).
TRgbQuad* DibColorTable(const TDibRecord& dib);
// Entries in the colour table: 2^bits for 1, 4, 8 bits, else 0.
int DibTableSize(int bitCount);
// Bytes of header plus colour table.
int DibInfoSize(int bitCount);

// x is the column, y the row in storage order (0 = bottom row).
// getpixel: colour-table index for 1/4/8 bits, colour reference (red in the
// low byte) for 24 and 32 bits. Out-of-range coordinates read 0.
uint32_t getpixel(const TDibRecord& dib, int x, int y);
// setpixel: a colour reference for 24 bits, a colour-table index otherwise.
// Out-of-range coordinates are ignored.
void setpixel(TDibRecord& dib, int x, int y, uint32_t value);

// The message stored by a failed OpenDib (empty when there is none).
std::string DibMessage(const TDibRecord& dib);
void SetDibMessage(TDibRecord& dib, const std::string& message);

// Colour values: 32-bit references with red in the lowest byte.
constexpr uint32_t RGBColor(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
constexpr uint8_t RedOf(uint32_t c) { return uint8_t(c & 0xFF); }
constexpr uint8_t GreenOf(uint32_t c) { return uint8_t((c >> 8) & 0xFF); }
constexpr uint8_t BlueOf(uint32_t c) { return uint8_t((c >> 16) & 0xFF); }

} // namespace zb
