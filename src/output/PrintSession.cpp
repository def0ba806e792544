#include "output/PrintSession.h"

#include <QFile>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cstdio>

namespace zb {

namespace {

std::string Quoted(const QString& s) { return "„" + s.toStdString() + "“"; }

// Rows handed to the paint engine at once: a band of an A4 sheet at 600 dpi
// is about 7 MB instead of the whole 104 MB raster.
constexpr int kBandRows = 512;

QImage BandImage(RasterView raster, int y0, int y1) {
    QImage image(raster.width, y1 - y0, QImage::Format_RGB888);
    if (image.isNull()) return image;
    for (int y = y0; y < y1; ++y) {
        const uint8_t* src = raster.row(y);
        uint8_t* dst = image.scanLine(y - y0);
        for (int x = 0; x < raster.width; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    return image;
}

} // namespace

void SetUpFallbackPrinter(QPrinter& printer, const QString& pdfFileName) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFileName);
    printer.setResolution(kFallbackPrintablePage.ppi);
    printer.setFullPage(false);
    // Margins of 12 pt left and right and 14 pt at top and bottom leave a
    // printable area of at least 4760 x 6779 pixels at 600 dpi on A4.
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 14, 12, 14),
                                      QPageLayout::Point));
    printer.setCreator(QStringLiteral("Zierbogen-Drucker"));
}

bool NoPrinterInstalled() { return QPrinterInfo::availablePrinterNames().isEmpty(); }

std::string SelectPrinter(QPrinter& printer, const QString& name) {
    if (name.isEmpty()) {
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
            if (all.isEmpty()) return "Es ist kein Drucker eingerichtet.";
            info = all.first();
        }
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(info.printerName());
        return {};
    }
    if (QPrinterInfo::printerInfo(name).isNull())
        return "Der Drucker " + Quoted(name) + " ist nicht vorhanden.";
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
    return {};
}

std::string PrintFailureMessage(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return "Die PDF-Datei " + Quoted(printer.outputFileName()) + " konnte nicht geschrieben werden.";
    return "Der Druckauftrag für den Drucker " + Quoted(printer.printerName()) + " konnte nicht ausgeführt werden.";
}

PrintSession::PrintSession(QPrinter& printer) : printer_(printer) {}

PrintSession::~PrintSession() {
    if (active_) Abort();
}

std::string PrintSession::Begin(const QString& jobTitle) {
    if (active_) return {};
    if (printer_.outputFormat() == QPrinter::PdfFormat && printer_.outputFileName().isEmpty())
        return "Es wurde keine PDF-Datei für den Ausdruck gewählt.";
    printer_.setDocName(jobTitle);
    if (!ownArea_) page_ = PrinterPageOf(printer_);
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        // The PDF is written under a temporary name beside the chosen one and
        // renamed at the end, so a failed or cancelled job leaves an existing
        // file of that name as it was.
        pdfFileName_ = printer_.outputFileName();
        partFileName_ = pdfFileName_ + QStringLiteral(".part");
        printer_.setOutputFileName(partFileName_);
    }
    if (!painter_.begin(&printer_)) {
        std::string message = PrintFailureMessage(printer_);
        RestorePdfName(false);
        return message;
    }
    // The paint engine would otherwise store large pictures as JPEG.
    painter_.setRenderHint(QPainter::LosslessImageRendering, true);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    active_ = true;
    return {};
}

std::string PrintSession::NewPage() {
    if (!active_) return "Es läuft kein Druckauftrag.";
    if (!printer_.newPage()) return PrintFailureMessage(printer_);
    return {};
}

std::string PrintSession::DrawRaster(RasterView raster, QRect target) {
    if (!active_) return "Es läuft kein Druckauftrag.";
    if (raster.empty() || target.isEmpty()) return {};
    painter_.save();
    painter_.setClipRect(QRect(0, 0, page_.page.width, page_.page.height));
    // Each band goes to the rows of the target between its rounded edges, so
    // bands meet without a gap or an overlap at any scale.
    const double scaleY = double(target.height()) / raster.height;
    auto edge = [&](int row) { return target.top() + int(row * scaleY + 0.5); };
    std::string message;
    for (int y0 = 0; y0 < raster.height; y0 += kBandRows) {
        const int y1 = std::min(raster.height, y0 + kBandRows);
        const int top = edge(y0);
        const int bottom = edge(y1);
        // Bands wholly below the printable area are cut off anyway.
        if (top >= page_.page.height) break;
        if (bottom <= top) continue;
        const QImage band = BandImage(raster, y0, y1);
        if (band.isNull()) {
            message = "Nicht genügend Speicher, um die Grafik zu drucken.";
            break;
        }
        painter_.drawImage(QRect(target.left(), top, target.width(), bottom - top), band);
    }
    painter_.restore();
    return message;
}

std::string PrintSession::End() {
    if (!active_) return {};
    active_ = false;
    const bool ended = painter_.end() && printer_.printerState() != QPrinter::Error;
    if (!ended) {
        std::string message = PrintFailureMessage(printer_);
        RestorePdfName(false);
        return message;
    }
    if (!RestorePdfName(true))
        return "Die PDF-Datei " + Quoted(pdfFileName_) + " konnte nicht geschrieben werden.";
    return {};
}

bool PrintSession::RestorePdfName(bool keep) {
    if (partFileName_.isEmpty()) return true;
    const QString part = partFileName_;
    partFileName_.clear();
    printer_.setOutputFileName(pdfFileName_);
    if (!keep) {
        QFile::remove(part);
        return true;
    }
    // rename(2) replaces an existing file in one step.
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(pdfFileName_).constData()) != 0) {
        QFile::remove(part);
        return false;
    }
    return true;
}

void PrintSession::Abort() {
    if (!active_) return;
    active_ = false;
    printer_.abort();
    painter_.end();
    // The PDF engine writes what it has on end(); a cancelled PDF is removed.
    RestorePdfName(false);
}

} // namespace zb
