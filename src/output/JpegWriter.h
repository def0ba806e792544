#pragma once
// A JPEG writer fed band by band through libjpeg: quality 95, baseline, the
// resolution as JFIF density in dots per inch. The rows go to the library
// straight from the raster (it reads blue-green-red itself), so nothing of
// the sheet is copied; the library holds a few rows of its own.
//
// Ownership: borrows the device for its lifetime; owns the library's
// compressor state (released by the destructor however the writer ends).
#include <QIODevice>
#include <memory>

#include "output/RasterEncoder.h"

namespace zb {

class JpegWriter : public RasterEncoder {
public:
    // The largest width and height the format allows.
    static constexpr int kMaxSide = 65500;

    JpegWriter(QIODevice& device, int width, int height, double dpi);
    ~JpegWriter() override;
    JpegWriter(const JpegWriter&) = delete;
    JpegWriter& operator=(const JpegWriter&) = delete;

    // TooLarge for a side longer than kMaxSide.
    EncodeResult Begin() override;
    EncodeResult AddRows(RasterView rows) override;
    EncodeResult Finish() override;

    struct State; // the library's structures, kept apart from C++ objects

private:
    std::unique_ptr<State> state_;
};

} // namespace zb
