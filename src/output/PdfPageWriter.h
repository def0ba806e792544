#pragma once
// A one-page PDF of a raster's physical size holding the raster as one
// picture, without loss, fed band by band: each band is deflated on all cores
// and written as it comes (PdfDocument), so no more than one band is held.
//
// Ownership: borrows the device for its lifetime; owns the document writer.
// A writer destroyed before Finish() leaves an incomplete file, for the
// caller to discard.
#include <QIODevice>
#include <memory>

#include "output/RasterEncoder.h"

namespace zb {

class PdfDocument;

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
    std::unique_ptr<PdfDocument> pdf_;
};

} // namespace zb
