#include "output/PdfPageWriter.h"

#include "output/PdfDocument.h"

namespace zb {

PdfPageWriter::PdfPageWriter(QIODevice& device, int width, int height, double dpi)
    : RasterEncoder(device, width, height, dpi > 0 ? dpi : 300.0) {}

PdfPageWriter::~PdfPageWriter() = default;

EncodeResult PdfPageWriter::Begin() {
    if (width_ <= 0 || height_ <= 0) return EncodeResult::Refused;
    pdf_ = std::make_unique<PdfDocument>(device_);
    const double k = 72.0 / dpi_;
    PdfPageFrame frame;
    frame.widthPt = width_ * k;
    frame.heightPt = height_ * k;
    frame.pointsPerUnit = k;
    const bool begun = pdf_->Begin(QString(), QStringLiteral("Zierbogen-Drucker")) && pdf_->BeginPage(frame) &&
                       pdf_->BeginPicture(width_, height_, QRectF(0, 0, width_, height_), QRectF());
    return begun ? EncodeResult::Done : EncodeResult::Refused;
}

EncodeResult PdfPageWriter::AddRows(RasterView band) {
    switch (pdf_->AddPictureRows(band)) {
    case RowDeflater::Result::Done:
        rowsDone_ += band.height;
        return EncodeResult::Done;
    case RowDeflater::Result::NoMemory:
        return EncodeResult::NoMemory;
    case RowDeflater::Result::Refused:
        break;
    }
    return EncodeResult::Refused;
}

EncodeResult PdfPageWriter::Finish() {
    if (rowsDone_ != height_) return EncodeResult::Refused;
    return pdf_->EndPicture() && pdf_->Finish() ? EncodeResult::Done : EncodeResult::Refused;
}

} // namespace zb
