#pragma once
// The core's window onto the platform's picture decoding. The platform layer
// implements it (QtPictureDecoder); tests feed the core with fakes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/DecodedPicture.h"

namespace zb {

// One readable format as the open dialog lists it.
struct PictureFormat {
    std::string description;             // German, e.g. "PNG-Grafik"
    std::vector<std::string> extensions; // lower case, without dot: "png"
};

class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;

    // Decodes a picture file (path in the file system's encoding, UTF-8 here).
    // Pictures with transparency come back composited over white. On failure
    // the result has bitCount 0 and a German `error`.
    virtual DecodedPicture DecodeFile(const std::string& path) const = 0;
    // The same for a picture held in memory; the format is found from the bytes.
    virtual DecodedPicture DecodeBytes(const uint8_t* data, size_t size) const = 0;
    // Formats this machine can actually read, in the order the dialog shows them.
    virtual std::vector<PictureFormat> Formats() const = 0;
};

} // namespace zb
