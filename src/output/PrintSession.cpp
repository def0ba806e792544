#include "output/PrintSession.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QDir>
#include <QFontMetrics>
#include <QPdfWriter>
#include <algorithm>
#include <cerrno>
#include <new>
#include <unistd.h>

#include "document/FileError.h"
#include "document/SafeFileWriter.h"
#include "output/CupsJob.h"
#include "output/DescriptorDevice.h"
#include "output/RasterPainting.h"
#include "output/SpoolFolder.h"
#include "platform/FileNames.h"

namespace zb {

namespace {

std::string Quoted(const QString& s) { return "„" + s.toStdString() + "“"; }

} // namespace

struct PrintSession::PdfOutput {
    explicit PdfOutput(const std::string& path) : file(path) {}
    SafeFileWriter file;
    std::unique_ptr<DescriptorDevice> device;
    std::unique_ptr<QPdfWriter> writer;
};

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
    // Exactly as listed: an instance ("Drucker/Kopie") that was never set up
    // would otherwise stand for its queue.
    if (!QPrinterInfo::availablePrinterNames().contains(name))
        return "Der Drucker " + Quoted(name) + " ist nicht vorhanden.";
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
    return {};
}

PrintSession::PrintSession(QPrinter& printer) : printer_(printer) {}

PrintSession::~PrintSession() {
    if (active_) Abort();
}

std::string PrintSession::Begin(const QString& jobTitle) {
    if (active_) return {};
    const bool toFile = printer_.outputFormat() == QPrinter::PdfFormat;
    if (toFile && printer_.outputFileName().isEmpty() && pdfPath_.empty())
        return "Es wurde keine PDF-Datei für den Ausdruck gewählt.";
    printer_.setDocName(jobTitle);
    if (!ownArea_) page_ = PrinterPageOf(printer_);
    if (toFile && pdfPath_.empty()) pdfPath_ = QFile::encodeName(printer_.outputFileName()).toStdString();
    // A printer's job is composed into a PDF of its own first, handed to the
    // print system only by End(): a cancelled job sends nothing at all.
    if (!toFile) {
        spool_ = std::make_unique<SpoolFolder>();
        if (!spool_->Made())
            return PdfFailed("Kein privater Ordner für den Druckauftrag: " + FileErrorText(spool_->Error()));
        pdfPath_ = spool_->File();
    }
    if (std::string m = BeginPdf(jobTitle); !m.empty()) return m;
    // The paint engine would otherwise store large pictures as JPEG.
    painter_.setRenderHint(QPainter::LosslessImageRendering, true);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    active_ = true;
    return {};
}

std::string PrintSession::PdfFailed(const std::string& reason) const {
    if (printer_.outputFormat() != QPrinter::PdfFormat)
        return "Der Druckauftrag für den Drucker " + Quoted(printer_.printerName()) +
               " konnte nicht ausgeführt werden: " + reason + ".";
    return "Die PDF-Datei „" + platform::DisplayPath(pdfPath_) + "“ konnte nicht geschrieben werden: " + reason + ".";
}

std::string PrintSession::PdfWriteFailed() const {
    // A failed write is the likelier cause of a failed painter; name it first.
    const int error = pdf_ && pdf_->device && pdf_->device->Error() ? pdf_->device->Error() : EIO;
    return PdfFailed(FileErrorText(error));
}

std::string PrintSession::BeginPdf(const QString& jobTitle) {
    auto pdf = std::make_unique<PdfOutput>(pdfPath_);
    if (!pdf->file.Begin()) return PdfFailed(pdf->file.Reason());
    pdf->device = std::make_unique<DescriptorDevice>(pdf->file.Descriptor());
    pdf->device->open(QIODevice::ReadWrite);
    pdf->writer = std::make_unique<QPdfWriter>(pdf->device.get());
    pdf->writer->setResolution(printer_.resolution());
    pdf->writer->setPageLayout(printer_.pageLayout());
    pdf->writer->setCreator(printer_.creator());
    pdf->writer->setTitle(jobTitle);
    pdf_ = std::move(pdf);
    if (!painter_.begin(pdf_->writer.get())) {
        const std::string message = PdfWriteFailed();
        pdf_.reset();
        return message;
    }
    return {};
}

std::string PrintSession::OutOfMemory() {
    AbandonPainting(painter_);
    active_ = false;
    const std::string message = PdfFailed(FileErrorText(ENOMEM));
    pdf_.reset();
    return message;
}

std::string PrintSession::EndPdf() {
    bool painted = false;
    try {
        painted = painter_.end();
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
    PdfOutput& pdf = *pdf_;
    pdf.writer.reset();
    pdf.device->close();
    std::string message;
    if (pdf.device->Error() != 0 || !painted) message = PdfWriteFailed();
    else if (!pdf.file.Commit()) message = PdfFailed(pdf.file.Reason());
    pdf_.reset(); // removes the temporary file unless it became the PDF
    return message;
}

std::string PrintSession::NewPage() {
    if (!active_) return "Es läuft kein Druckauftrag.";
    try {
        return pdf_->writer->newPage() ? std::string() : PdfWriteFailed();
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
}

std::string PrintSession::DrawRaster(RasterView raster, QRect target) {
    if (!active_) return "Es läuft kein Druckauftrag.";
    painter_.save();
    painter_.setClipRect(QRect(0, 0, page_.page.width, page_.page.height));
    bool drawn = false;
    try {
        drawn = PaintRasterBands(painter_, raster, target, page_.page.height);
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
    painter_.restore();
    return drawn ? std::string() : PdfFailed(FileErrorText(ENOMEM));
}

std::string PrintSession::DrawCutMarks(const std::vector<QRect>& lines) {
    if (!active_) return "Es läuft kein Druckauftrag.";
    for (const QRect& line : lines) painter_.fillRect(line, QColor(128, 128, 128));
    return {};
}

std::string PrintSession::DrawLabel(QRect box, const QString& text, bool vertical, bool onWhite) {
    if (!active_) return "Es läuft kein Druckauftrag.";
    if (box.isEmpty()) return {};
    painter_.save();
    painter_.setClipRect(box);
    if (onWhite) painter_.fillRect(box, Qt::white);
    painter_.translate(box.topLeft());
    QSize room = box.size();
    if (vertical) {
        // Reads from bottom to top: the box's left edge becomes the text's baseline side.
        painter_.translate(0, box.height());
        painter_.rotate(-90);
        room.transpose();
    }
    // Small type: at most 3/5 of the box's height, and narrower still where
    // the text would not fit along it.
    const int pad = room.height() / 5;
    const int along = std::max(1, room.width() - 2 * pad);
    QFont font = painter_.font();
    int size = std::max(1, room.height() * 3 / 5);
    font.setPixelSize(size);
    const int wide = QFontMetrics(font, painter_.device()).horizontalAdvance(text);
    if (wide > along) {
        size = std::max(1, int(int64_t(size) * along / wide));
        font.setPixelSize(size);
    }
    painter_.setFont(font);
    painter_.setPen(QColor(64, 64, 64));
    painter_.drawText(QRect(pad, 0, along, room.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter_.restore();
    return {};
}

std::string PrintSession::End() {
    if (!active_) return {};
    active_ = false;
    std::string message = EndPdf();
    if (printer_.outputFormat() != QPrinter::PdfFormat) {
        if (message.empty()) message = SubmitPdfJob(printer_, pdfPath_, printer_.docName());
        spool_.reset();
    }
    return message;
}

void PrintSession::Abort() {
    if (!active_) return;
    active_ = false;
    // The engine writes its end into the temporary file, which goes anyway.
    EndPainting(painter_);
    pdf_.reset(); // the temporary file goes: nothing reaches a printer, a PDF of the chosen name stays as it was
    spool_.reset();
}

} // namespace zb
