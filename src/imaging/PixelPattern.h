#pragma once
// One 24-bit colour repeated over 16 pixels (48 bytes, a whole number of both
// pixels and 16-byte words), so that runs of that colour are written in
// fixed-size block copies instead of three byte stores per pixel.
//
// Holds only its own bytes; fill() writes to memory the caller owns.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zb {

class PixelPattern {
public:
    PixelPattern(uint8_t blue, uint8_t green, uint8_t red) {
        // One pixel, then doubled four times: 1, 2, 4, 8, 16 pixels.
        bytes_[0] = blue;
        bytes_[1] = green;
        bytes_[2] = red;
        std::memcpy(bytes_ + 3, bytes_, 3);
        std::memcpy(bytes_ + 6, bytes_, 6);
        std::memcpy(bytes_ + 12, bytes_, 12);
        std::memcpy(bytes_ + 24, bytes_, 24);
    }

    // Writes `count` pixels of the colour from `first` on (nothing for count <= 0).
    // Short runs, the common case, are written in constant-size copies that
    // compile to plain register stores. Long runs copy the already written
    // start of the run onto the rest in doubling steps; the library copy is
    // faster than our stores once the call costs little against the length.
    void fill(uint8_t* first, ptrdiff_t count) const {
        if (count <= 0) return;
        if (count >= kLongRun) {
            std::memcpy(first, bytes_, kBytes);
            const size_t total = size_t(count) * 3;
            size_t done = kBytes; // a whole number of pixels, so copies keep the phase
            while (done < total) {
                const size_t n = done < total - done ? done : total - done;
                std::memcpy(first + done, first, n);
                done += n;
            }
            return;
        }
        while (count >= kPixels) {
            std::memcpy(first, bytes_, kBytes);
            first += kBytes;
            count -= kPixels;
        }
        // The rest, 0 .. 15 pixels, as 8 + 4 + 2 + 1.
        if (count & 8) { std::memcpy(first, bytes_, 24); first += 24; }
        if (count & 4) { std::memcpy(first, bytes_, 12); first += 12; }
        if (count & 2) { std::memcpy(first, bytes_, 6); first += 6; }
        if (count & 1) std::memcpy(first, bytes_, 3);
    }

private:
    static constexpr int kPixels = 16;
    static constexpr int kBytes = kPixels * 3;
    static constexpr ptrdiff_t kLongRun = 128; // measured: 64 is slower, 256 no faster
    uint8_t bytes_[kBytes];
};

} // namespace zb
