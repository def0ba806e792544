#pragma once
// A one-page PDF of a raster's physical size, fed band by band: each band is
// drawn at its rows of the page as it comes, without loss, in pieces of at
// most kRasterBandRows rows. The PDF engine writes each picture out when it
// is drawn, so no more than one piece is held at a time.
//
// Ownership: borrows the device for its lifetime; owns the PDF writer and
// its painter. A writer destroyed before Finish() closes the page as it is;
// what it wrote is incomplete and is for the caller to discard.
#include <QIODevice>
#include <memory>

#include "output/RasterEncoder.h"

class QPainter;
class QPdfWriter;

namespace zb {

class PdfPageWriter : public RasterEncoder {
public:
    // dpi > 0 sets the page size (300 when none is given).
    PdfPageWriter(QIODevice& device, int width, int height, double dpi);
    ~PdfPageWriter() override;
    PdfPageWriter(const PdfPageWriter&) = delete;
    PdfPageWriter& operator=(const PdfPageWriter&) = delete;

    EncodeResult Begin() override;
    EncodeResult AddRows(RasterView rows) override;
    EncodeResult Finish() override;

private:
    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<QPainter> painter_;
};

} // namespace zb
