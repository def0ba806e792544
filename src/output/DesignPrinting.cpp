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
#include "render/Compositor.h"
#include "render/PageGeometry.h"
#include "render/RepeatPreview.h"

namespace zb {

namespace {

// Composes one sheet with `compose` on a thread of its own while this thread
// keeps calling the progress callback: after each layer, and every 100 ms
// while a layer takes long, so a window showing the progress keeps answering.
// A stop from the callback cancels the composition at its next row band, not
// only between layers.
std::string ComposeWatched(Compositor& compositor, const SheetProgress& progress, int sheet, int sheets,
                           int layers, const std::function<std::string()>& compose) {
    compositor.SetProgress({});
    compositor.SetCancel({});
    if (!progress) return compose();
    std::atomic<bool> stop{false};
    std::atomic<int> done{0};
    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false;
    compositor.SetProgress([&](int d, int) {
        done = d;
        changed.notify_one();
    });
    compositor.SetCancel([&] { return stop.load(); });
    std::string result;
    std::exception_ptr failure;
    std::thread worker([&] {
        CancelScope scope(&stop);
        try {
            result = compose();
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        changed.notify_one();
    });
    int told = 0; // layers reported
    for (;;) {
        bool over;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait_for(lock, std::chrono::milliseconds(100), [&] { return finished || done != told; });
            over = finished;
        }
        const int now = done;
        // A layer still at work: the same count again.
        if (now == told && !over && !stop && !progress(sheet, sheets, now, layers)) stop = true;
        while (told < now) {
            ++told;
            if (!stop && !progress(sheet, sheets, told, layers)) stop = true;
        }
        if (over) break;
    }
    worker.join();
    compositor.SetProgress({});
    compositor.SetCancel({});
    if (failure) std::rethrow_exception(failure);
    return stop ? std::string(kCompositionCancelled) : result;
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

// One page of a poster: its piece of the sheet at the printable area's
// top-left corner, then the lines and the label (page coordinates are sheet
// pixels; rows of a printer with a vertical resolution of its own are stretched).
std::string PrintPosterPage(PrintSession& session, RasterView sheet, const PosterPage& piece,
                            const PrinterPage& page) {
    const double scaleY = page.page.ppi > 0 ? double(VerticalPpi(page.page)) / page.page.ppi : 1.0;
    auto onPage = [scaleY](const PixelRect& r) {
        const int top = int(std::lround(r.y * scaleY));
        return QRect(r.x, top, r.width, std::max(1, int(std::lround((r.y + r.height) * scaleY)) - top));
    };
    RasterView part = sheet;
    part.data = sheet.pixel(piece.source.x, piece.source.y);
    part.width = piece.source.width;
    part.height = piece.source.height;
    std::string m = session.DrawRaster(part, onPage({0, 0, piece.source.width, piece.source.height}));
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
    const PosterLayout poster =
        job.poster ? PosterLayout::ForPrinter(job.design->Paper, page.page, job.overlapCm) : PosterLayout();
    const RasterSize rasterSize = job.poster ? poster.Sheet() : layout.raster;
    if (job.poster ? poster.PageCount() == 0
                   : layout.raster.empty() || layout.visible.width <= 0 || layout.visible.height <= 0) {
        outcome.message = "Der Entwurf liegt außerhalb des druckbaren Bereichs der Seite.";
        return outcome;
    }

    Compositor compositor;
    if (std::string m = compositor.EnsureSize(rasterSize); !m.empty()) {
        outcome.message = m;
        return outcome;
    }
    compositor.SetFilterScale(job.previewFilters ? FilterScale(page.page.ppi, job.screenPpi, job.zoomPercent)
                                                 : 1.0);
    RandomInt random(job.firstSeed);
    for (int sheet = 1; sheet <= sheets; ++sheet) {
        const std::string composed =
            ComposeWatched(compositor, job.progress, sheet, sheets, int(job.design->Layers.Count),
                           [&] { return compositor.Compose(*job.design, page.page.ppi, 100.0, random, job.fonts); });
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
        std::string m;
        if (job.poster) {
            for (const PosterPage& piece : poster.Pages()) {
                m = outcome.pagesPrinted == 0 ? session.Begin(job.title) : session.NewPage();
                if (m.empty()) m = PrintPosterPage(session, compositor.DesignView(), piece, page);
                if (!m.empty()) break;
                ++outcome.pagesPrinted;
                // Many pages take a while to send: the window keeps answering, and a stop ends the job.
                const int layers = int(job.design->Layers.Count);
                if (job.progress && !job.progress(sheet, sheets, layers, layers)) {
                    session.Abort();
                    outcome.cancelled = true;
                    outcome.message = kCancelledMessage;
                    outcome.pagesPrinted = 0;
                    return outcome;
                }
            }
        } else {
            m = sheet == 1 ? session.Begin(job.title) : session.NewPage();
            const VisiblePart part = CutToPage(compositor.DesignView(), layout);
            if (m.empty()) m = session.DrawRaster(part.raster, part.target);
            if (m.empty()) ++outcome.pagesPrinted;
        }
        if (!m.empty()) {
            session.Abort();
            outcome.message = m;
            outcome.pagesPrinted = 0;
            return outcome;
        }
        outcome.sheetsPrinted = sheet;
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

    Compositor compositor;
    if (std::string m = compositor.EnsureSize(size); !m.empty()) return m;
    compositor.SetFilterScale(job.previewFilters ? FilterScale(dpi, job.screenPpi, job.zoomPercent) : 1.0);
    const std::string composed =
        ComposeWatched(compositor, job.progress, 1, 1, int(job.design->Layers.Count),
                       [&] { return compositor.ComposeFromSeed(*job.design, dpi, 100.0, job.seed, job.fonts); });
    if (composed == kCompositionCancelled) return kCancelledMessage;
    if (!composed.empty()) return composed;

    // Every format, the PDF included, goes through the checked temporary file:
    // a full disk is reported and leaves an existing file as it was.
    if (std::string m = WriteRaster(compositor.DesignRaster(), job.fileName, format, dpi); !m.empty()) return m;
    if (job.previewFileName.empty()) return {};
    const std::string previewFormat = OutputFormat(job.previewFileName);
    if (previewFormat.empty())
        return "Das Dateiformat von „" + job.previewFileName +
               "“ ist unbekannt: erlaubt sind PNG, JPEG, TIFF, BMP und PDF.";
    const PaperSettings& paper = job.design->Paper;
    DibPicture tiles;
    if (!MakeRepeatPreview(compositor.DesignRaster(), paper.Seamless ? paper.Repeat : kRepeatBasic, tiles))
        return DesignMemoryMessage({3 * size.width, 3 * size.height});
    return WriteRaster(tiles, job.previewFileName, previewFormat, dpi);
}

} // namespace zb
