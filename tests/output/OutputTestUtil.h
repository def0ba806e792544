#pragma once
// Helpers of the output tests: rasters of known pixels and the poppler tools
// that read back what was printed or exported.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QList>
#include <algorithm>
#include <cstdint>

#include "base/RasterView.h"
#include "base/DibPicture.h"

namespace zb::test {

// A 24-bit DIB filled from a linear congruential sequence (seed printed by
// the caller), so every pixel differs from its neighbours.
inline DibPicture NoiseDib(int w, int h, uint32_t seed) {
    DibPicture dib(w, h, 24);
    const RasterView v = ViewOf(dib);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 3 * w; ++x) {
            seed = seed * 134775813u + 1u;
            v.row(y)[x] = uint8_t(seed >> 24);
        }
    return dib;
}

// Runs a tool; returns its standard output, or a null string when it could
// not run or failed.
inline QString RunTool(const QString& program, const QStringList& args, int timeoutMs = 120000) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Runs the command-line program; returns its exit code, -1 when it did not
// run. Its standard output and error go to `output` and `errors` when given.
inline int Zierbogen(const QStringList& args, QString* errors = nullptr, QString* output = nullptr) {
    QProcess p;
    p.start(QStringLiteral(ZB_BIN_DIR "/zierbogen"), args);
    if (!p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit) return -1;
    if (errors) *errors = QString::fromUtf8(p.readAllStandardError());
    if (output) *output = QString::fromUtf8(p.readAllStandardOutput());
    return p.exitCode();
}

// The encodings pdfimages -list reports for the pictures of a PDF
// ("image" is lossless Flate, "jpeg" is DCT), one per picture.
inline QStringList PdfImageEncodings(const QString& pdf) {
    const QString list = RunTool("pdfimages", {"-list", pdf});
    QStringList encodings;
    const QStringList lines = list.split('\n', Qt::SkipEmptyParts);
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList f = lines[i].simplified().split(' ');
        if (f.size() > 8) encodings << f[8];
    }
    return encodings;
}

// The pictures of a PDF as PNG files that pdfimages wrote into `folder`, in
// page order.
inline QStringList ExtractedPdfPictures(const QString& folder, const QString& pdf) {
    RunTool("pdfimages", {"-png", pdf, QDir(folder).filePath("img")});
    QStringList files = QDir(folder).entryList({"img-*.png"}, QDir::Files, QDir::Name);
    for (QString& f : files) f = QDir(folder).filePath(f);
    return files;
}

// The pictures of each page of a PDF, those of one page stacked top to
// bottom in the order drawn: a sheet drawn band by band comes back whole.
// Null pictures when the tools failed.
inline QList<QImage> PagePictures(const QString& pdf, const QString& folder) {
    const QStringList lines = RunTool("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts);
    RunTool("pdfimages", {"-png", pdf, folder + "/bild"});
    QList<QImage> pages;
    int lastPage = 0;
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList f = lines[i].simplified().split(' ');
        if (f.size() < 2) continue;
        const QImage band = QImage(QStringLiteral("%1/bild-%2.png").arg(folder).arg(f[1].toInt(), 3, 10, QChar('0')))
                                .convertToFormat(QImage::Format_RGB888);
        if (f[0].toInt() != lastPage) {
            pages << band;
            lastPage = f[0].toInt();
            continue;
        }
        QImage& page = pages.last();
        QImage joined(page.width(), page.height() + band.height(), QImage::Format_RGB888);
        if (band.width() != page.width() || joined.isNull()) return {QImage()};
        for (int y = 0; y < page.height(); ++y) std::copy_n(page.constScanLine(y), 3 * page.width(), joined.scanLine(y));
        for (int y = 0; y < band.height(); ++y)
            std::copy_n(band.constScanLine(y), 3 * band.width(), joined.scanLine(page.height() + y));
        page = joined;
    }
    return pages;
}

// True when the picture holds exactly the raster's pixels.
inline bool SamePixels(const QImage& picture, RasterView raster, int rowOffset = 0) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    if (rgb.width() != raster.width || rowOffset + rgb.height() > raster.height) return false;
    for (int y = 0; y < rgb.height(); ++y) {
        const uint8_t* a = rgb.constScanLine(y);
        const uint8_t* b = raster.row(y + rowOffset);
        for (int x = 0; x < raster.width; ++x)
            if (a[3 * x] != b[3 * x + 2] || a[3 * x + 1] != b[3 * x + 1] || a[3 * x + 2] != b[3 * x]) return false;
    }
    return true;
}

} // namespace zb::test
