#include "output/PdfPageWriter.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <new>

#include "output/RasterPainting.h"

namespace zb {

PdfPageWriter::PdfPageWriter(QIODevice& device, int width, int height, double dpi)
    : RasterEncoder(device, width, height, dpi > 0 ? dpi : 300.0) {}

PdfPageWriter::~PdfPageWriter() {
    // An unfinished page is closed (the few bytes go to a file that is
    // discarded); abandoning it would leave the writer marked as painted on.
    if (painter_ && painter_->isActive()) EndPainting(*painter_);
    painter_.reset();
}

EncodeResult PdfPageWriter::Begin() {
    if (width_ <= 0 || height_ <= 0) return EncodeResult::Refused;
    pdf_ = std::make_unique<QPdfWriter>(&device_);
    pdf_->setResolution(int(dpi_ + 0.5));
    pdf_->setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf_->setPageSize(QPageSize(QSizeF(width_ / dpi_ * 25.4, height_ / dpi_ * 25.4), QPageSize::Millimeter,
                                QString(), QPageSize::ExactMatch));
    pdf_->setCreator(QStringLiteral("Zierbogen-Drucker"));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(pdf_.get())) return EncodeResult::Refused;
    // Without this the paint engine stores the picture as JPEG.
    painter_->setRenderHint(QPainter::LosslessImageRendering, true);
    return EncodeResult::Done;
}

EncodeResult PdfPageWriter::AddRows(RasterView band) {
    bool drawn = false;
    try {
        drawn = PaintRasterBands(*painter_, band, QRect(0, rowsDone_, width_, band.height), rowsDone_ + band.height);
    } catch (const std::bad_alloc&) {
        AbandonPainting(*painter_);
        return EncodeResult::NoMemory;
    }
    if (!drawn) return EncodeResult::NoMemory;
    rowsDone_ += band.height;
    return EncodeResult::Done;
}

EncodeResult PdfPageWriter::Finish() {
    if (rowsDone_ != height_) return EncodeResult::Refused;
    return EndPainting(*painter_) ? EncodeResult::Done : EncodeResult::NoMemory;
}

} // namespace zb
