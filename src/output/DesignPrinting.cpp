#include "output/DesignPrinting.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

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

JobResult FromMessage(std::string message) {
    return message.empty() ? JobResult::Done() : JobResult::Failed(std::move(message));
}

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
JobResult PrintPosterPage(PrintSession& session, SheetBands& bands, const PosterPage& piece,
                          const PrinterPage& page) {
    const double scaleY = page.page.ppi > 0 ? double(VerticalPpi(page.page)) / page.page.ppi : 1.0;
    auto onPage = [scaleY](const PixelRect& r) {
        const int top = int(std::lround(r.y * scaleY));
        return QRect(r.x, top, r.width, std::max(1, int(std::lround((r.y + r.height) * scaleY)) - top));
    };
    JobResult composed = bands.Compose(piece.source, [&](RasterView band, int top) {
        return FromMessage(
            session.DrawRaster(band, onPage({0, top - piece.source.y, piece.source.width, band.height})));
    });
    if (!composed.ok()) return composed;
    std::vector<QRect> lines;
    for (const PixelRect& line : piece.cutMarks) lines.push_back(onPage(line));
    std::string m = session.DrawCutMarks(lines);
    if (m.empty())
        m = session.DrawLabel(onPage(piece.labelBox), QString::fromStdString(piece.label),
                              piece.labelPlace == PosterLabelPlace::RightStrip,
                              piece.labelPlace == PosterLabelPlace::Corner);
    return FromMessage(std::move(m));
}

PrintOutcome PrintSheets(QPrinter& printer, const DesignPrintJob& job);

} // namespace

JobResult ChoosePrinter(QPrinter& printer, const QString& name, const std::function<QString()>& askPdfFileName,
                        const OtherPrinterQuestion& useInstead) {
    if (!name.isEmpty()) return FromMessage(SelectPrinter(printer, name));
    const QStringList installed = QPrinterInfo::availablePrinterNames();
    if (installed.isEmpty()) {
        const QString file = askPdfFileName ? askPdfFileName() : QString();
        if (file.isEmpty()) return JobResult::Cancelled();
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
            return JobResult::Failed("Der eingerichtete Drucker „" + chosen.toStdString() +
                                     "“ ist nicht mehr vorhanden.");
        if (!useInstead(chosen, instead)) return JobResult::Cancelled();
        return FromMessage(SelectPrinter(printer, instead));
    }
    return FromMessage(SelectPrinter(printer, QString()));
}

PosterCheck CheckPosterJob(QPrinter& printer, const DesignPrintJob& job) {
    PosterCheck check;
    if (!job.settings.poster || !job.design) return check;
    const PrinterPage page = PrinterPageOf(printer);
    check.refusal = OverlapProblem(page.page, job.settings.overlapCm);
    if (check.refusal.empty())
        check.pages = PosterLayout::PageCountFor(job.design->Paper, page.page, job.settings.overlapCm) *
                      std::clamp(job.settings.sheets, 1, kMaxSheets);
    return check;
}

PrintOutcome PrintDesign(QPrinter& printer, const DesignPrintJob& job) {
    try {
        return PrintSheets(printer, job);
    } catch (const std::bad_alloc&) {
        // The session went with the unwound stack and cancelled its job.
        PrintOutcome outcome;
        outcome.result = JobResult::OutOfMemory(
            "Nicht genug Speicher, um den Entwurf zu drucken. Der Druckauftrag wurde abgebrochen.");
        return outcome;
    }
}

namespace {

PrintOutcome PrintSheets(QPrinter& printer, const DesignPrintJob& job) {
    PrintOutcome outcome;
    if (!job.design) {
        outcome.result = JobResult::Failed("Es gibt keinen Entwurf zum Drucken.");
        return outcome;
    }
    const PrintSettings settings = Limited(job.settings);
    const int sheets = settings.sheets;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        // A PDF that cannot be written fails now, not after a long composition.
        const std::string pdf =
            job.pdfFileName.empty() ? QFile::encodeName(printer.outputFileName()).toStdString() : job.pdfFileName;
        if (!pdf.empty()) {
            if (std::string m = CheckOutputPath(pdf); !m.empty()) {
                outcome.result = JobResult::Failed(m);
                return outcome;
            }
        }
    }
    PrintSession session(printer);
    if (!job.pdfFileName.empty()) session.SetPdfFile(job.pdfFileName);
    const PrinterPage page = PrinterPageOf(printer);
    if (job.settings.poster) {
        if (std::string problem = OverlapProblem(page.page, job.settings.overlapCm); !problem.empty()) {
            outcome.result = JobResult::Failed(std::move(problem));
            return outcome;
        }
    }
    const PrintLayout layout = PrintPageLayout(job.design->Paper, page.page);
    const PosterLayout poster =
        settings.poster ? PosterLayout::ForPrinter(job.design->Paper, page.page, settings.overlapCm) : PosterLayout();
    const RasterSize rasterSize = settings.poster ? poster.Sheet() : layout.raster;
    if (settings.poster ? poster.PageCount() == 0
                   : layout.raster.empty() || layout.visible.width <= 0 || layout.visible.height <= 0) {
        outcome.result = JobResult::Failed("Der Entwurf liegt außerhalb des druckbaren Bereichs der Seite.");
        return outcome;
    }

    const VisiblePart part = CutToPage(layout);
    const int layers = int(job.design->Layers.size());
    const bool inBands = ComposedInBands(job.design->Paper, rasterSize);
    int64_t pixels = int64_t(part.area.width) * part.area.height;
    if (settings.poster) {
        pixels = 0;
        for (const PosterPage& piece : poster.Pages()) pixels += int64_t(piece.source.width) * piece.source.height;
    }
    const auto fail = [&](JobResult result) {
        session.Abort();
        outcome.result = std::move(result);
        outcome.pagesPrinted = outcome.sheetsPrinted = 0;
        return outcome;
    };
    // The font library gets its memory before the sheets take their share.
    if (job.fonts) PrepareFonts(*job.design, *job.fonts);
    uint32_t seed = job.firstSeed;
    for (int sheet = 1; sheet <= sheets; ++sheet) {
        BandComposer composer(*job.design, rasterSize, page.page.ppi, 100.0, seed, job.fonts);
        composer.SetFilterScale(settings.previewFilters ? FilterScale(page.page.ppi, job.screenPpi, job.zoomPercent)
                                                        : 1.0);
        SheetBands bands(composer, inBands ? BandRows(rasterSize.width) : rasterSize.height, job.progress, job.stop,
                         sheet, sheets, layers, pixels);
        if (settings.poster) {
            for (const PosterPage& piece : poster.Pages()) {
                JobResult r = FromMessage(outcome.pagesPrinted == 0 ? session.Begin(job.title) : session.NewPage());
                if (r.ok()) r = PrintPosterPage(session, bands, piece, page);
                if (!r.ok()) return fail(std::move(r));
                ++outcome.pagesPrinted;
                // Many pages take a while to send: a stop between them ends the job.
                if (!bands.Going()) return fail(JobResult::Cancelled());
            }
        } else {
            JobResult r = FromMessage(sheet == 1 ? session.Begin(job.title) : session.NewPage());
            if (r.ok())
                r = bands.Compose(part.area, [&](RasterView band, int top) {
                    return FromMessage(session.DrawRaster(band, BandTarget(layout, part, top, band.height)));
                });
            if (!r.ok()) return fail(std::move(r));
            ++outcome.pagesPrinted;
        }
        outcome.sheetsPrinted = sheet;
        seed = composer.EndSeed();
    }
    outcome.result = FromMessage(session.End());
    if (!outcome.result.ok()) outcome.sheetsPrinted = outcome.pagesPrinted = 0;
    return outcome;
}

} // namespace

RasterSize ExportRasterSize(const PaperSettings& paper, const PrintablePage& page, double dpi) {
    if (!(dpi >= 1)) return {};
    return DesignRasterSize(paper, page, int32_t(std::lround(dpi)), 100.0);
}

namespace {

JobResult ExportSheet(const DesignExportJob& job) {
    if (!job.design) return JobResult::Failed("Es gibt keinen Entwurf zum Exportieren.");
    const std::string format = job.format.empty() ? OutputFormat(job.fileName) : job.format;
    if (format.empty())
        return JobResult::Failed("Das Dateiformat von „" + job.fileName +
                                 "“ ist unbekannt: erlaubt sind PNG, JPEG, TIFF, BMP und PDF.");
    if (std::string m = CheckOutputPath(job.fileName); !m.empty()) return JobResult::Failed(m);
    const int dpi = int(std::lround(job.dpi));
    const RasterSize size = ExportRasterSize(job.design->Paper, job.page, job.dpi);
    if (size.empty())
        return JobResult::Failed("Die Größe des Entwurfs ist unbekannt: es ist keine druckbare Seite bekannt.");

    const bool inBands = ComposedInBands(job.design->Paper, size);
    if (inBands && !job.previewFileName.empty())
        return JobResult::Failed("Die Vorschau aus 3 x 3 Kacheln braucht den ganzen Bogen im Speicher; bei " +
                                 std::to_string(size.width) + " x " + std::to_string(size.height) +
                                 " Pixeln wird sie nicht geschrieben. Es wurde nichts exportiert.");
    std::string previewFormat;
    if (!job.previewFileName.empty()) {
        previewFormat = OutputFormat(job.previewFileName);
        if (previewFormat.empty())
            return JobResult::Failed("Das Dateiformat von „" + job.previewFileName +
                                     "“ ist unbekannt: erlaubt sind PNG, JPEG, TIFF, BMP und PDF.");
    }

    // The font library gets its memory before the sheet takes its share.
    if (job.fonts) PrepareFonts(*job.design, *job.fonts);
    BandComposer composer(*job.design, size, dpi, 100.0, job.seed, job.fonts);
    composer.SetFilterScale(job.settings.previewFilters ? FilterScale(dpi, job.screenPpi, job.zoomPercent) : 1.0);
    SheetBands bands(composer, inBands ? BandRows(size.width) : size.height, job.progress, job.stop, 1, 1,
                     int(job.design->Layers.size()), int64_t(size.width) * size.height);
    // Every format, the PDF included, goes through the checked temporary file:
    // a full disk is reported and leaves an existing file as it was.
    RasterFileStream file(job.fileName, format, size.width, size.height, dpi);
    if (std::string m = file.Begin(); !m.empty()) return JobResult::Failed(m);
    RasterView whole; // the last band: the whole sheet when it came as one
    JobResult composed = bands.Compose({0, 0, size.width, size.height}, [&](RasterView band, int) {
        whole = band;
        return FromMessage(file.AddRows(band));
    });
    if (!composed.ok()) {
        file.Abort();
        return composed;
    }
    if (std::string m = file.Finish(); !m.empty()) return JobResult::Failed(m);
    if (job.previewFileName.empty()) return {};
    const PaperSettings& paper = job.design->Paper;
    DibPicture tiles;
    if (!MakeRepeatPreview(whole, paper.Seamless ? paper.Repeat : kRepeatBasic, tiles))
        return JobResult::OutOfMemory(DesignMemoryMessage({3 * size.width, 3 * size.height}));
    return FromMessage(WriteRaster(tiles, job.previewFileName, previewFormat, dpi));
}

} // namespace

JobResult ExportDesign(const DesignExportJob& job) {
    try {
        return ExportSheet(job);
    } catch (const std::bad_alloc&) {
        return JobResult::OutOfMemory("Nicht genug Speicher, um den Entwurf zu exportieren. Es wurde nichts "
                                      "exportiert.");
    }
}

} // namespace zb
