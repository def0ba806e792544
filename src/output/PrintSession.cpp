#include "output/PrintSession.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cerrno>
#include <new>
#include <unistd.h>

#include "document/FileError.h"
#include "document/SafeFileWriter.h"
#include "output/CupsJob.h"
#include "output/DescriptorDevice.h"
#include "output/PdfDocument.h"
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
    std::unique_ptr<PdfDocument> document;
};

void SetUpFallbackPrinter(QPrinter& printer, const QString& pdfFileName) {
    printer.setOutputFileName(pdfFileName);
    // An empty name switches the printer back to the print system's format
    // wherever one is installed; the stand-in always writes a PDF, and one
    // without a file name is refused when the job begins.
    printer.setOutputFormat(QPrinter::PdfFormat);
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
    // A failed write is the likelier cause of a failed document; name it first.
    const int error = pdf_ && pdf_->device && pdf_->device->Error() ? pdf_->device->Error() : EIO;
    return PdfFailed(FileErrorText(error));
}

PdfPageFrame PrintSession::PageFrame() const {
    // Units are printer pixels from the printable area's top-left corner,
    // which is put on a whole printer pixel: each raster pixel then covers
    // exactly one pixel of the printer's grid.
    const QPageLayout layout = printer_.pageLayout();
    const QRectF full = layout.fullRect(QPageLayout::Point);
    const QRectF paint = layout.paintRect(QPageLayout::Point);
    const double pointsPerPixel = 72.0 / std::max(1, printer_.resolution());
    PdfPageFrame frame;
    frame.widthPt = full.width();
    frame.heightPt = full.height();
    frame.originXPt = std::round((paint.left() - full.left()) / pointsPerPixel) * pointsPerPixel;
    frame.originYPt = std::round((paint.top() - full.top()) / pointsPerPixel) * pointsPerPixel;
    frame.pointsPerUnit = pointsPerPixel;
    return frame;
}

std::string PrintSession::BeginPdf(const QString& jobTitle) {
    try {
        auto pdf = std::make_unique<PdfOutput>(pdfPath_);
        if (!pdf->file.Begin()) return PdfFailed(pdf->file.Reason());
        pdf->device = std::make_unique<DescriptorDevice>(pdf->file.Descriptor());
        pdf->device->open(QIODevice::ReadWrite);
        pdf->document = std::make_unique<PdfDocument>(*pdf->device);
        pdf_ = std::move(pdf);
        if (!pdf_->document->Begin(jobTitle, printer_.creator()) || !pdf_->document->BeginPage(PageFrame())) {
            const std::string message = PdfWriteFailed();
            pdf_.reset();
            return message;
        }
    } catch (const std::bad_alloc&) {
        pdf_.reset();
        return PdfFailed(FileErrorText(ENOMEM));
    }
    return {};
}

std::string PrintSession::OutOfMemory() {
    active_ = false;
    const std::string message = PdfFailed(FileErrorText(ENOMEM));
    pdf_.reset();
    return message;
}

std::string PrintSession::EndPdf() {
    bool written = false;
    try {
        written = pdf_->document->Finish();
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
    PdfOutput& pdf = *pdf_;
    pdf.document.reset();
    pdf.device->close();
    std::string message;
    if (pdf.device->Error() != 0 || !written) message = PdfWriteFailed();
    else if (!pdf.file.Commit()) message = PdfFailed(pdf.file.Reason());
    pdf_.reset(); // removes the temporary file unless it became the PDF
    return message;
}

std::string PrintSession::NewPage() {
    if (!active_) return "Es läuft kein Druckauftrag.";
    try {
        return pdf_->document->BeginPage(PageFrame()) ? std::string() : PdfWriteFailed();
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
}

std::string PrintSession::DrawRaster(RasterView raster, QRect target) {
    if (!active_) return "Es läuft kein Druckauftrag.";
    RowDeflater::Result drawn = RowDeflater::Result::Refused;
    try {
        drawn = pdf_->document->DrawPicture(raster, target, QRectF(0, 0, page_.page.width, page_.page.height));
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
    if (drawn == RowDeflater::Result::NoMemory) return OutOfMemory();
    return drawn == RowDeflater::Result::Done ? std::string() : PdfWriteFailed();
}

std::string PrintSession::DrawCutMarks(const std::vector<QRect>& lines) {
    if (!active_) return "Es läuft kein Druckauftrag.";
    try {
        for (const QRect& line : lines)
            if (!pdf_->document->FillRect(line, qRgb(128, 128, 128))) return PdfWriteFailed();
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
    return {};
}

std::string PrintSession::DrawLabel(QRect box, const QString& text, bool vertical, bool onWhite) {
    if (!active_) return "Es läuft kein Druckauftrag.";
    if (box.isEmpty()) return {};
    // The text is set into a coverage mask of the box's printer pixels, so it
    // looks on paper as any other text of the printer's resolution.
    QImage coverage(box.size(), QImage::Format_Alpha8);
    if (coverage.isNull()) return OutOfMemory();
    coverage.fill(Qt::transparent);
    QRect field;
    {
        QPainter painter(&coverage);
        QSize room = box.size();
        if (vertical) {
            // Reads from bottom to top: the box's left edge becomes the text's baseline side.
            painter.translate(0, box.height());
            painter.rotate(-90);
            room.transpose();
        }
        // Small type: at most 3/5 of the box's height, and narrower still where
        // the text would not fit along it.
        const int pad = room.height() / 5;
        const int along = std::max(1, room.width() - 2 * pad);
        QFont font = painter.font();
        int size = std::max(1, room.height() * 3 / 5);
        font.setPixelSize(size);
        const int wide = QFontMetrics(font, &coverage).horizontalAdvance(text);
        if (wide > along) {
            size = std::max(1, int(int64_t(size) * along / wide));
            font.setPixelSize(size);
        }
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QRect line(pad, 0, along, room.height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, text);
        // On a white field of its own, so it reads on dark paper as well.
        const int margin = std::max(1, size / 5);
        const QRect around = QFontMetrics(font, &coverage)
                                 .boundingRect(line, Qt::AlignLeft | Qt::AlignVCenter, text)
                                 .adjusted(-margin, -margin, margin, margin);
        field = painter.transform().mapRect(around).intersected(coverage.rect()).translated(box.topLeft());
    }
    try {
        if (onWhite && !pdf_->document->FillRect(box, qRgb(255, 255, 255))) return PdfWriteFailed();
        if (!onWhite && !field.isEmpty() && !pdf_->document->FillRect(field, qRgb(255, 255, 255)))
            return PdfWriteFailed();
        if (!pdf_->document->DrawCoverage(coverage, box, qRgb(64, 64, 64))) return PdfWriteFailed();
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
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
    pdf_.reset(); // the temporary file goes: nothing reaches a printer, a PDF of the chosen name stays as it was
    spool_.reset();
}

} // namespace zb
