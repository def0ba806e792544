#pragma once
// Picture decoding with Qt's image readers (built-in PNG, BMP, PBM/PGM/PPM,
// plus the JPEG, GIF, TIFF, WebP ... plugins).
//
// What it delivers: 1 bit for monochrome pictures, 4 bits for indexed pictures
// of at most 16 colours, 8 bits for other indexed and for grey pictures (grey
// palette), 24 bits for everything else. Transparency is composited over
// white. JPEG orientation tags are applied, so photos come out upright.
//
// Needs no Q(Gui)Application; thread-safe (each call uses its own reader).
#include "imaging/PictureDecoder.h"

namespace zb::platform {

class QtPictureDecoder : public PictureDecoder {
public:
    // Largest decoded picture in megabytes. The default lets photos of about
    // 250 megapixels through and refuses anything larger before decoding.
    static constexpr int kDefaultLimitMB = 1024;
    explicit QtPictureDecoder(int limitMB = kDefaultLimitMB) : limitMB_(limitMB) {}

    DecodedPicture DecodeFile(const std::string& path) const override;
    DecodedPicture DecodeBytes(const uint8_t* data, size_t size) const override;
    std::vector<PictureFormat> Formats() const override;

private:
    int limitMB_;
};

} // namespace zb::platform
