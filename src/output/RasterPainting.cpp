#include "output/RasterPainting.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <new>

#include "output/PdfEngineWarnings.h"

namespace zb {

QImage RasterRows(RasterView raster, int y0, int y1, QImage::Format format) {
    QImage image(raster.width, y1 - y0, format);
    if (image.isNull()) return image;
    for (int y = y0; y < y1; ++y) {
        const uint8_t* src = raster.row(y);
        uchar* line = image.scanLine(y - y0);
        if (format == QImage::Format_RGB32) {
            auto* dst = reinterpret_cast<QRgb*>(line);
            for (int x = 0; x < raster.width; ++x) dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        } else {
            for (int x = 0; x < raster.width; ++x) {
                line[3 * x] = src[3 * x + 2];
                line[3 * x + 1] = src[3 * x + 1];
                line[3 * x + 2] = src[3 * x];
            }
        }
    }
    return image;
}

bool PaintRasterBands(QPainter& painter, RasterView raster, QRect target, int clipHeight) {
    if (raster.empty() || target.isEmpty()) return true;
    // Each band goes to the rows of the target between its rounded edges, so
    // bands meet without a gap or an overlap at any scale.
    const uint64_t failuresBefore = PdfCompressionFailures();
    const double scaleY = double(target.height()) / raster.height;
    auto edge = [&](int row) { return target.top() + int(row * scaleY + 0.5); };
    for (int y0 = 0; y0 < raster.height; y0 += kRasterBandRows) {
        const int y1 = std::min(raster.height, y0 + kRasterBandRows);
        const int top = edge(y0);
        const int bottom = edge(y1);
        if (top >= clipHeight) break;
        if (bottom <= top) continue;
        const QImage band = RasterRows(raster, y0, y1, QImage::Format_RGB32);
        if (band.isNull()) return false;
        painter.drawImage(QRect(target.left(), top, target.width(), bottom - top), band);
        // The engine writes a band it could not compress as an empty stream.
        if (PdfCompressionFailures() != failuresBefore) return false;
    }
    return true;
}

void AbandonPainting(QPainter& painter) {
    if (QPaintEngine* engine = painter.paintEngine()) engine->setActive(false);
    painter.end();
}

bool EndPainting(QPainter& painter) {
    try {
        const uint64_t failuresBefore = PdfCompressionFailures();
        return painter.end() && PdfCompressionFailures() == failuresBefore;
    } catch (const std::bad_alloc&) {
        AbandonPainting(painter);
        return false;
    }
}

} // namespace zb
