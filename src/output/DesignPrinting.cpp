#include "output/DesignPrinting.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "output/ImageOutput.h"
#include "output/PrintSession.h"
#include "render/Compositor.h"
#include "render/PageGeometry.h"

namespace zb {

namespace {

// Wires the progress callback into the compositor for one sheet.
void WatchSheet(Compositor& compositor, const SheetProgress& progress, int sheet, int sheets) {
    if (!progress) {
        compositor.SetProgress({});
        compositor.SetCancel({});
        return;
    }
    auto cancelled = std::make_shared<bool>(false);
    compositor.SetProgress([progress, sheet, sheets, cancelled](int done, int total) {
        if (!progress(sheet, sheets, done, total)) *cancelled = true;
    });
    compositor.SetCancel([cancelled] { return *cancelled; });
}

// Rows of the raster that land inside the printable area, and the target
// rectangle they are drawn to (the design's rectangle, cut at the bottom).
struct VisiblePart {
    RasterView raster;
    QRect target;
};

VisiblePart CutToPage(RasterView raster, const PrintLayout& layout) {
    VisiblePart part;
    if (raster.empty() || layout.visible.width <= 0 || layout.visible.height <= 0) return part;
    // Columns map one to one; rows may be stretched (a vertical resolution of
    // their own). Keep whole raster rows up to the printable area's edge.
    const double scaleY = double(layout.design.height) / raster.height;
    const double scaleX = double(layout.design.width) / raster.width;
    const int rows = std::min(raster.height, int(std::ceil(layout.visible.height / scaleY)));
    const int cols = std::min(raster.width, int(std::ceil(layout.visible.width / scaleX)));
    part.raster = raster;
    part.raster.width = cols;
    part.raster.height = rows;
    part.target = QRect(layout.design.x, layout.design.y, int(std::lround(cols * scaleX)),
                        int(std::lround(rows * scaleY)));
    return part;
}

PrintOutcome PrintSheets(QPrinter& printer, const DesignPrintJob& job);

} // namespace

std::string ChoosePrinter(QPrinter& printer, const QString& name, const std::function<QString()>& askPdfFileName) {
    if (!name.isEmpty()) return SelectPrinter(printer, name);
    if (NoPrinterInstalled()) {
        const QString file = askPdfFileName ? askPdfFileName() : QString();
        if (file.isEmpty()) return kCancelledMessage;
        SetUpFallbackPrinter(printer, file);
        return {};
    }
    if (printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty() &&
        !QPrinterInfo::printerInfo(printer.printerName()).isNull())
        return {};
    return SelectPrinter(printer, QString());
}

PrintOutcome PrintDesign(QPrinter& printer, const DesignPrintJob& job) {
    try {
        return PrintSheets(printer, job);
    } catch (const std::bad_alloc&) {
        // The session went with the unwound stack and cancelled its job.
        PrintOutcome outcome;
        outcome.message = "Nicht genügend Speicher, um den Entwurf zu drucken. Der Druckauftrag wurde abgebrochen.";
        return outcome;
    }
}

namespace {

PrintOutcome PrintSheets(QPrinter& printer, const DesignPrintJob& job) {
    PrintOutcome outcome;
    if (!job.design) {
        outcome.message = "Es gibt keinen Entwurf zum Drucken.";
        return outcome;
    }
    const int sheets = std::clamp(job.sheets, 1, kMaxSheets);
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        // A PDF that cannot be written fails now, not after a long composition.
        const std::string pdf =
            job.pdfFileName.empty() ? QFile::encodeName(printer.outputFileName()).toStdString() : job.pdfFileName;
        if (!pdf.empty()) {
            if (std::string m = CheckOutputPath(pdf); !m.empty()) {
                outcome.message = m;
                return outcome;
            }
        }
    }
    PrintSession session(printer);
    if (!job.pdfFileName.empty()) session.SetPdfFile(job.pdfFileName);
    const PrinterPage page = PrinterPageOf(printer);
    const PrintLayout layout = PrintPageLayout(job.design->Paper, page.page);
    if (layout.raster.empty() || layout.visible.width <= 0 || layout.visible.height <= 0) {
        outcome.message = "Der Entwurf liegt außerhalb des druckbaren Bereichs der Seite.";
        return outcome;
    }

    Compositor compositor;
    if (std::string m = compositor.EnsureSize(layout.raster); !m.empty()) {
        outcome.message = m;
        return outcome;
    }
    compositor.SetFilterScale(job.previewFilters ? FilterScale(page.page.ppi, job.screenPpi, job.zoomPercent)
                                                 : 1.0);
    RandomInt random(job.firstSeed);
    for (int sheet = 1; sheet <= sheets; ++sheet) {
        WatchSheet(compositor, job.progress, sheet, sheets);
        const std::string composed = compositor.Compose(*job.design, page.page.ppi, 100.0, random, job.fonts);
        if (composed == kCompositionCancelled) {
            session.Abort();
            outcome.cancelled = true;
            outcome.message = kCancelledMessage;
            return outcome;
        }
        if (!composed.empty()) {
            // A layer without memory: the sheet would not look like the preview.
            session.Abort();
            outcome.message = composed;
            return outcome;
        }
        std::string m = sheet == 1 ? session.Begin(job.title) : session.NewPage();
        const VisiblePart part = CutToPage(compositor.DesignView(), layout);
        if (m.empty()) m = session.DrawRaster(part.raster, part.target);
        if (!m.empty()) {
            session.Abort();
            outcome.message = m;
            return outcome;
        }
        outcome.sheetsPrinted = sheet;
    }
    outcome.message = session.End();
    if (!outcome.message.empty()) outcome.sheetsPrinted = 0;
    return outcome;
}

} // namespace

RasterSize ExportRasterSize(const PaperSettings& paper, const PrintablePage& page, double dpi) {
    if (!(dpi >= 1)) return {};
    return DesignRasterSize(paper, page, int32_t(std::lround(dpi)), 100.0);
}

std::string ExportDesign(const DesignExportJob& job) {
    if (!job.design) return "Es gibt keinen Entwurf zum Exportieren.";
    const std::string format = job.format.empty() ? OutputFormat(job.fileName) : job.format;
    if (format.empty())
        return "Das Dateiformat von „" + job.fileName +
               "“ ist unbekannt: erlaubt sind PNG, JPEG, TIFF, BMP und PDF.";
    if (std::string m = CheckOutputPath(job.fileName); !m.empty()) return m;
    const int dpi = int(std::lround(job.dpi));
    const RasterSize size = ExportRasterSize(job.design->Paper, job.page, job.dpi);
    if (size.empty()) return "Die Größe des Entwurfs ist unbekannt: es ist keine druckbare Seite bekannt.";

    Compositor compositor;
    if (std::string m = compositor.EnsureSize(size); !m.empty()) return m;
    compositor.SetFilterScale(job.previewFilters ? FilterScale(dpi, job.screenPpi, job.zoomPercent) : 1.0);
    WatchSheet(compositor, job.progress, 1, 1);
    const std::string composed = compositor.ComposeFromSeed(*job.design, dpi, 100.0, job.seed, job.fonts);
    if (composed == kCompositionCancelled) return kCancelledMessage;
    if (!composed.empty()) return composed;

    // Every format, the PDF included, goes through the checked temporary file:
    // a full disk is reported and leaves an existing file as it was.
    return WriteRaster(compositor.DesignRaster(), job.fileName, format, dpi);
}

} // namespace zb
