#include "output/ImageOutput.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cctype>

#include "base/RasterView.h"

namespace zb {
namespace {

QImage ToImage(const TDibRecord& raster) {
    const RasterView view = ViewOf(raster);
    QImage image(view.width, view.height, QImage::Format_RGB888);
    if (image.isNull()) return image;
    for (int y = 0; y < view.height; ++y) {
        const uint8_t* src = view.row(y);
        uint8_t* dst = image.scanLine(y);
        for (int x = 0; x < view.width; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    return image;
}

std::string Quoted(const std::string& fileName) { return "„" + fileName + "“"; }

} // namespace

std::string OutputFormat(const std::string& fileName) {
    std::string ext = QFileInfo(QString::fromStdString(fileName)).suffix().toLower().toStdString();
    if (ext == "jpeg") ext = "jpg";
    if (ext == "tiff") ext = "tif";
    if (ext == "png" || ext == "jpg" || ext == "tif" || ext == "bmp" || ext == "pdf") return ext;
    return {};
}

std::string WriteRaster(const TDibRecord& raster, const std::string& fileName, const std::string& format,
                        double dpi) {
    if (!raster.Bits || DibBitCount(raster) != 24)
        return "Es gibt keine Grafik, die in " + Quoted(fileName) + " geschrieben werden könnte.";
    QImage image = ToImage(raster);
    if (image.isNull())
        return "Nicht genug Speicher, um " + Quoted(fileName) + " zu schreiben.";
    if (dpi > 0) {
        const int dpm = int(dpi / 0.0254 + 0.5);
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
    }

    QSaveFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly))
        return "Die Datei " + Quoted(fileName) + " kann nicht angelegt werden: " +
               file.errorString().toStdString() + ".";

    if (format == "pdf") {
        const double resolution = dpi > 0 ? dpi : 300.0;
        QPdfWriter pdf(&file);
        pdf.setResolution(int(resolution + 0.5));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(image.width() / resolution * 25.4, image.height() / resolution * 25.4),
                                  QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        pdf.setCreator(QStringLiteral("Zierbogen-Drucker"));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            file.cancelWriting();
            return "Die PDF-Datei " + Quoted(fileName) + " konnte nicht angelegt werden.";
        }
        painter.drawImage(QRect(0, 0, image.width(), image.height()), image);
        painter.end();
    } else {
        const QByteArray qtFormat = format == "jpg" ? "jpeg" : format == "tif" ? "tiff" : QByteArray(format.c_str());
        QImageWriter writer(&file, qtFormat);
        if (format == "jpg") writer.setQuality(95);
        if (format == "tif") writer.setCompression(1); // lossless LZW keeps files small
        if (!writer.write(image)) {
            file.cancelWriting();
            return "Die Grafik konnte nicht in " + Quoted(fileName) + " geschrieben werden: " +
                   writer.errorString().toStdString() + ".";
        }
    }
    if (!file.commit())
        return "Die Datei " + Quoted(fileName) + " konnte nicht geschrieben werden: " +
               file.errorString().toStdString() + ".";
    return {};
}

} // namespace zb
