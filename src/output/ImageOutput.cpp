#include "output/ImageOutput.h"

#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "base/RasterView.h"
#include "document/FileError.h"
#include "document/SafeFileWriter.h"
#include "output/DescriptorDevice.h"
#include "output/PngWriter.h"
#include "platform/FileNames.h"

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

std::string Quoted(const std::string& fileName) { return "„" + platform::DisplayPath(fileName) + "“"; }

std::string WriteFailed(const std::string& fileName, int error) {
    return "Die Datei " + Quoted(fileName) + " konnte nicht geschrieben werden: " + FileErrorText(error) + ".";
}

std::string FormatCaption(std::string format) {
    std::transform(format.begin(), format.end(), format.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return format == "JPG" ? "JPEG" : format == "TIF" ? "TIFF" : format;
}

// Encodes into the device; false when the encoder gave up for a reason of its
// own (the device's errors are asked separately).
bool Encode(const QImage& image, QIODevice& device, const std::string& format, double dpi) {
    if (format == "pdf") {
        const double resolution = dpi > 0 ? dpi : 300.0;
        QPdfWriter pdf(&device);
        pdf.setResolution(int(resolution + 0.5));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(image.width() / resolution * 25.4, image.height() / resolution * 25.4),
                                  QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        pdf.setCreator(QStringLiteral("Zierbogen-Drucker"));
        QPainter painter;
        if (!painter.begin(&pdf)) return false;
        // Without this the paint engine stores the picture as JPEG.
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(QRect(0, 0, image.width(), image.height()), image);
        return painter.end();
    }
    const QByteArray qtFormat = format == "jpg" ? "jpeg" : format == "tif" ? "tiff" : QByteArray(format.c_str());
    QImageWriter writer(&device, qtFormat);
    if (format == "jpg") writer.setQuality(95);
    if (format == "tif") writer.setCompression(1); // lossless LZW keeps files small
    return writer.write(image);
}

} // namespace

std::string OutputFormat(const std::string& fileName) {
    std::string ext = std::filesystem::path(fileName).extension().string();
    if (ext.empty()) return {};
    ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == "jpeg") ext = "jpg";
    if (ext == "tiff") ext = "tif";
    if (ext == "png" || ext == "jpg" || ext == "tif" || ext == "bmp" || ext == "pdf") return ext;
    return {};
}

std::string CheckOutputPath(const std::string& fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return "Unter dem Namen " + Quoted(fileName) + " gibt es einen Ordner; die Ausgabe braucht einen Dateinamen.";
    std::string folder = std::filesystem::path(fileName).parent_path().string();
    if (folder.empty()) folder = ".";
    if (::stat(folder.c_str(), &st) != 0)
        return "Der Ordner " + Quoted(folder) + " für die Ausgabe " + Quoted(fileName) + " existiert nicht.";
    if (!S_ISDIR(st.st_mode))
        return Quoted(folder) + " ist kein Ordner; die Ausgabe " + Quoted(fileName) + " kann dort nicht liegen.";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "In den Ordner " + Quoted(folder) + " darf nicht geschrieben werden: " + FileErrorText(errno) + ".";
    return {};
}

std::string WriteRaster(const TDibRecord& raster, const std::string& fileName, const std::string& format,
                        double dpi) {
    if (!raster.Bits || DibBitCount(raster) != 24)
        return "Es gibt keine Grafik, die in " + Quoted(fileName) + " geschrieben werden könnte.";
    if (format == "png") {
        // Straight from the raster, deflated on all cores: no copy of the sheet.
        SafeFileWriter file(fileName);
        if (!file.Begin())
            return "Die Datei " + Quoted(fileName) + " kann nicht angelegt werden: " + FileErrorText(file.Error()) + ".";
        DescriptorDevice device(file.Descriptor());
        device.open(QIODevice::ReadWrite);
        const bool encoded = WritePng(ViewOf(raster), device, dpi);
        device.close();
        if (device.Error() != 0) return WriteFailed(fileName, device.Error());
        if (!encoded) {
            file.Abort();
            return "Nicht genug Arbeitsspeicher, um " + Quoted(fileName) + " zu schreiben.";
        }
        if (!file.Commit()) return WriteFailed(fileName, file.Error());
        return {};
    }
    QImage image = ToImage(raster);
    if (image.isNull()) return "Nicht genug Arbeitsspeicher, um " + Quoted(fileName) + " zu schreiben.";
    if (dpi > 0) {
        const int dpm = int(dpi / 0.0254 + 0.5);
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
    }

    SafeFileWriter file(fileName);
    if (!file.Begin())
        return "Die Datei " + Quoted(fileName) + " kann nicht angelegt werden: " + FileErrorText(file.Error()) + ".";
    DescriptorDevice device(file.Descriptor());
    device.open(QIODevice::ReadWrite);
    const bool encoded = Encode(image, device, format, dpi);
    device.close();
    // A failed write is the likelier cause of a failed encoding; name it first.
    if (device.Error() != 0) return WriteFailed(fileName, device.Error());
    if (!encoded) {
        file.Abort();
        return "Die Grafik konnte nicht im Format " + FormatCaption(format) + " in " + Quoted(fileName) + " geschrieben werden.";
    }
    if (!file.Commit()) return WriteFailed(fileName, file.Error());
    return {};
}

} // namespace zb
