#include "output/DesignPrinting.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "base/Cancellation.h"
#include "output/ImageOutput.h"
#include "output/PrintSession.h"
#include "output/RasterFileStream.h"
#include "output/SheetBands.h"
#include "render/BandComposer.h"
#include "render/Compositor.h"
#include "render/PageGeometry.h"
#include "render/RepeatPreview.h"

namespace zb {

namespace {

// The part of the sheet that lands inside the printable area (whole columns
// and rows up to its edge), and the scale from sheet pixels to printer pixels
// (rows may be stretched: a vertical resolution of their own).
struct VisiblePart {
    PixelRect area;
    double scaleX = 1;
    double scaleY = 1;
};

VisiblePart CutToPage(const PrintLayout& layout) {
    VisiblePart part;
    const RasterSize raster = layout.raster;
    if (raster.empty() || layout.visible.width <= 0 || layout.visible.height <= 0) return part;
    part.scaleY = double(layout.design.height) / raster.height;
    part.scaleX = double(layout.design.width) / raster.width;
    part.area = {0, 0, std::min(raster.width, int(std::ceil(layout.visible.width / part.scaleX))),
                 std::min(raster.height, int(std::ceil(layout.visible.height / part.scaleY)))};
    return part;
}

// Where sheet rows top .. top + rows - 1 of the visible part go on the page.
QRect BandTarget(const PrintLayout& layout, const VisiblePart& part, int top, int rows) {
    const int y0 = int(std::lround(top * part.scaleY));
    const int y1 = int(std::lround((top + rows) * part.scaleY));
    return QRect(layout.design.x, layout.design.y + y0, int(std::lround(part.area.width * part.scaleX)), y1 - y0);
}

// One page of a poster: its piece of the sheet at the printable area's
// top-left corner, then the lines and the label (page coordinates are sheet
// pixels; rows of a printer with a vertical resolution of its own are stretched).
std::string PrintPosterPage(PrintSession& session, SheetBands& bands, const PosterPage& piece,
                            const PrinterPage& page) {
    const double scaleY = page.page.ppi > 0 ? double(VerticalPpi(page.page)) / page.page.ppi : 1.0;
    auto onPage = [scaleY](const PixelRect& r) {
        const int top = int(std::lround(r.y * scaleY));
        return QRect(r.x, top, r.width, std::max(1, int(std::lround((r.y + r.height) * scaleY)) - top));
    };
    std::string m = bands.Compose(piece.source, [&](RasterView band, int top) {
        return session.DrawRaster(band, onPage({0, top - piece.source.y, piece.source.width, band.height}));
    });
    std::vector<QRect> lines;
    for (const PixelRect& line : piece.cutMarks) lines.push_back(onPage(line));
    if (m.empty()) m = session.DrawCutMarks(lines);
    if (m.empty())
        m = session.DrawLabel(onPage(piece.labelBox), QString::fromStdString(piece.label),
                              piece.labelPlace == PosterLabelPlace::RightStrip,
                              piece.labelPlace == PosterLabelPlace::Corner);
    return m;
}

PrintOutcome PrintSheets(QPrinter& printer, const DesignPrintJob& job);

} // namespace

std::string ChoosePrinter(QPrinter& printer, const QString& name, const std::function<QString()>& askPdfFileName,
                          const OtherPrinterQuestion& useInstead) {
    if (!name.isEmpty()) return SelectPrinter(printer, name);
    const QStringList installed = QPrinterInfo::availablePrinterNames();
    if (installed.isEmpty()) {
        const QString file = askPdfFileName ? askPdfFileName() : QString();
        if (file.isEmpty()) return kCancelledMessage;
        SetUpFallbackPrinter(printer, file);
        return {};
    }
    if (printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty()) {
        const QString chosen = printer.printerName();
        if (installed.contains(chosen)) return {};
        // The job never goes to another printer unasked.
        const QString standard = QPrinterInfo::defaultPrinterName();
        const QString instead = standard.isEmpty() ? installed.first() : standard;
        if (!useInstead)
            return "Der eingerichtete Drucker „" + chosen.toStdString() + "“ ist nicht mehr vorhanden.";
        if (!useInstead(chosen, instead)) return kCancelledMessage;
        return SelectPrinter(printer, instead);
    }
    return SelectPrinter(printer, QString());
}

PosterCheck CheckPosterJob(QPrinter& printer, const DesignPrintJob& job) {
    PosterCheck check;
    if (!job.poster || !job.design) return check;
    const PrinterPage page = PrinterPageOf(printer);
    check.refusal = OverlapProblem(page.page, job.overlapCm);
    if (check.refusal.empty())
        check.pages = PosterLayout::PageCountFor(job.design->Paper, page.page, job.overlapCm) *
                      std::clamp(job.sheets, 1, kMaxSheets);
    return check;
}

PrintOutcome PrintDesign(QPrinter& printer, const DesignPrintJob& job) {
    try {
        return PrintSheets(printer, job);
    } catch (const std::bad_alloc&) {
        // The session went with the unwound stack and cancelled its job.
        PrintOutcome outcome;
        outcome.message = "Nicht genug Speicher, um den Entwurf zu drucken. Der Druckauftrag wurde abgebrochen.";
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
    if (job.poster) {
        outcome.message = OverlapProblem(page.page, job.overlapCm);
        if (!outcome.message.empty()) return outcome;
    }
    const PrintLayout layout = PrintPageLayout(job.design->Paper, page.page);
    const PosterLayout poster =
        job.poster ? PosterLayout::ForPrinter(job.design->Paper, page.page, job.overlapCm) : PosterLayout();
    const RasterSize rasterSize = job.poster ? poster.Sheet() : layout.raster;
    if (job.poster ? poster.PageCount() == 0
                   : layout.raster.empty() || layout.visible.width <= 0 || layout.visible.height <= 0) {
        outcome.message = "Der Entwurf liegt außerhalb des druckbaren Bereichs der Seite.";
        return outcome;
    }

    const VisiblePart part = CutToPage(layout);
    const int layers = int(job.design->Layers.Count);
    const bool inBands = ComposedInBands(job.design->Paper, rasterSize);
    int64_t pixels = int64_t(part.area.width) * part.area.height;
    if (job.poster) {
        pixels = 0;
        for (const PosterPage& piece : poster.Pages()) pixels += int64_t(piece.source.width) * piece.source.height;
    }
    const auto fail = [&](const std::string& m) {
        session.Abort();
        outcome.cancelled = m == kCompositionCancelled;
        outcome.message = outcome.cancelled ? std::string(kCancelledMessage) : m;
        outcome.pagesPrinted = outcome.sheetsPrinted = 0;
        return outcome;
    };
    // The font library gets its memory before the sheets take their share.
    if (job.fonts) PrepareFonts(*job.design, *job.fonts);
    uint32_t seed = job.firstSeed;
    for (int sheet = 1; sheet <= sheets; ++sheet) {
        BandComposer composer(*job.design, rasterSize, page.page.ppi, 100.0, seed, job.fonts);
        composer.SetFilterScale(job.previewFilters ? FilterScale(page.page.ppi, job.screenPpi, job.zoomPercent)
                                                   : 1.0);
        SheetBands bands(composer, inBands ? BandRows(rasterSize.width) : rasterSize.height, job.progress, sheet,
                         sheets, layers, pixels);
        if (job.poster) {
            for (const PosterPage& piece : poster.Pages()) {
                std::string m = outcome.pagesPrinted == 0 ? session.Begin(job.title) : session.NewPage();
                if (m.empty()) m = PrintPosterPage(session, bands, piece, page);
                if (!m.empty()) return fail(m);
                ++outcome.pagesPrinted;
                // Many pages take a while to send: the window keeps answering, and a stop ends the job.
                if (!bands.Report()) return fail(kCompositionCancelled);
            }
        } else {
            std::string m = sheet == 1 ? session.Begin(job.title) : session.NewPage();
            if (m.empty())
                m = bands.Compose(part.area, [&](RasterView band, int top) {
                    return session.DrawRaster(band, BandTarget(layout, part, top, band.height));
                });
            if (!m.empty()) return fail(m);
            ++outcome.pagesPrinted;
        }
        outcome.sheetsPrinted = sheet;
        seed = composer.EndSeed();
    }
    outcome.message = session.End();
    if (!outcome.message.empty()) outcome.sheetsPrinted = outcome.pagesPrinted = 0;
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

    const bool inBands = ComposedInBands(job.design->Paper, size);
    if (inBands && !job.previewFileName.empty())
        return "Die Vorschau aus 3 x 3 Kacheln braucht den ganzen Bogen im Speicher; bei " +
               std::to_string(size.width) + " x " + std::to_string(size.height) +
               " Pixeln wird sie nicht geschrieben. Es wurde nichts exportiert.";
    std::string previewFormat;
    if (!job.previewFileName.empty()) {
        previewFormat = OutputFormat(job.previewFileName);
        if (previewFormat.empty())
            return "Das Dateiformat von „" + job.previewFileName +
                   "“ ist unbekannt: erlaubt sind PNG, JPEG, TIFF, BMP und PDF.";
    }

    // The font library gets its memory before the sheet takes its share.
    if (job.fonts) PrepareFonts(*job.design, *job.fonts);
    BandComposer composer(*job.design, size, dpi, 100.0, job.seed, job.fonts);
    composer.SetFilterScale(job.previewFilters ? FilterScale(dpi, job.screenPpi, job.zoomPercent) : 1.0);
    SheetBands bands(composer, inBands ? BandRows(size.width) : size.height, job.progress, 1, 1,
                     int(job.design->Layers.Count), int64_t(size.width) * size.height);
    // Every format, the PDF included, goes through the checked temporary file:
    // a full disk is reported and leaves an existing file as it was.
    RasterFileStream file(job.fileName, format, size.width, size.height, dpi);
    if (std::string m = file.Begin(); !m.empty()) return m;
    RasterView whole; // the last band: the whole sheet when it came as one
    const std::string composed = bands.Compose({0, 0, size.width, size.height}, [&](RasterView band, int) {
        whole = band;
        return file.AddRows(band);
    });
    if (!composed.empty()) {
        file.Abort();
        return composed == kCompositionCancelled ? std::string(kCancelledMessage) : composed;
    }
    if (std::string m = file.Finish(); !m.empty()) return m;
    if (job.previewFileName.empty()) return {};
    const PaperSettings& paper = job.design->Paper;
    DibPicture tiles;
    if (!MakeRepeatPreview(whole, paper.Seamless ? paper.Repeat : kRepeatBasic, tiles))
        return DesignMemoryMessage({3 * size.width, 3 * size.height});
    return WriteRaster(tiles, job.previewFileName, previewFormat, dpi);
}

} // namespace zb
