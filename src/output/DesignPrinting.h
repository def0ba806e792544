#pragma once
// Printing and exporting a design: composed anew at the printer's or the
// file's resolution from the generator state of the composition on screen, so
// pattern and text layers come out as the very sheet the preview shows, only
// sharp, and placed where the preview puts it. The window's print and export
// commands and the command-line program all call these.
//
// Both run on the calling thread (the window runs them as background jobs on
// the thread pool, each on a snapshot of the design it owns), report progress
// through a callback called on that thread, and stop when the job's token asks.
#include <QString>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

#include "base/JobResult.h"
#include "model/Design.h"
#include "render/DesignSize.h"
#include "render/FontEngine.h"
#include "render/PosterLayout.h"
#include "workspace/PrintSettings.h"

class QPrinter;

namespace zb {

// Progress of a sheet: layers done of layers.
using SheetProgress = std::function<void(int sheet, int sheets, int layersDone, int layers)>;

struct DesignPrintJob {
    const Design* design = nullptr; // borrowed, read only
    FontEngine* fonts = nullptr;    // borrowed; null: text layers show their ground
    uint32_t firstSeed = 0;         // generator state of the composition on screen
    // Sheets, poster and overlap, filters at the preview's scale (Limited here).
    PrintSettings settings;
    // The preview's scale, so filter layers look as on screen.
    double screenPpi = 96;
    double zoomPercent = 30;
    QString title;                  // the job's name in the print queue: the design's file name
    // For a PDF printer: the file in the file system's encoding, byte for
    // byte as given; empty: the printer's output file name.
    std::string pdfFileName;
    // With settings.poster each sheet is spread over pages in rows and columns
    // sharing glue strips of settings.overlapCm, instead of being cut at the
    // printable area; the margins then play no part.
    SheetProgress progress;         // may be empty
    std::stop_token stop;           // a stop cancels the job: nothing is printed
};

struct PrintOutcome {
    JobResult result;
    int sheetsPrinted = 0;
    int pagesPrinted = 0;
};

// Asked when the printer set up before is gone: whether to print on `instead`.
using OtherPrinterQuestion = std::function<bool(const QString& gone, const QString& instead)>;

// Makes `printer` ready for a print command: the printer named (an unknown
// name or instance is an error), else the printer as it is set up (the
// window's, after the setup dialog), else the default printer. A printer set
// up before that is gone is replaced by the default one only when
// `useInstead` agrees (no: Cancelled; no question: an error). With no
// printer installed it becomes the A4 PDF stand-in writing to the file
// askPdfFileName names; an empty answer (the user cancelled) gives Cancelled.
JobResult ChoosePrinter(QPrinter& printer, const QString& name, const std::function<QString()>& askPdfFileName,
                        const OtherPrinterQuestion& useInstead = {});

// More pages than this are printed only after a question (the window) or
// when allowed expressly (the command line's --max-pages).
inline constexpr int kPagesWithoutQuestion = 50;

struct PosterCheck {
    std::string refusal; // German; a glue strip that leaves nothing to print
    int64_t pages = 0;   // pages of the whole job; 0 when it is no poster
};
// What a poster job would print on `printer` as it is set up.
PosterCheck CheckPosterJob(QPrinter& printer, const DesignPrintJob& job);

// One job with one page per sheet on the printer as it is set up (a real
// printer, or the PDF stand-in with its file name set). Sheet 1 starts from
// firstSeed; each further sheet from the state the one before left the
// generator in. A poster prints each sheet's pages one after the other, every
// page its piece of the one composition. Sheets too large for the memory are
// composed band by band (render/BandComposer) as they are drawn. A cancel or a
// failure at any point aborts the job, so nothing reaches the printer. Memory
// running short anywhere on the way is reported as such.
PrintOutcome PrintDesign(QPrinter& printer, const DesignPrintJob& job);

struct DesignExportJob {
    const Design* design = nullptr;
    FontEngine* fonts = nullptr;
    uint32_t seed = 0;
    double dpi = 300;               // the file's resolution, recorded in it
    // The printer's page: the size of a design that covers the whole printable page.
    PrintablePage page;
    double screenPpi = 96;
    double zoomPercent = 30;
    PrintSettings settings;         // only previewFilters counts here
    std::string fileName;           // in the file system's encoding
    std::string format;             // "png", "jpg", "tif", "bmp", "pdf"; empty: from the extension
    // Also writes 3 x 3 tiles as the design's repeat lays them (straight for a
    // design that is no seamless tile) under this name, in its extension's format.
    std::string previewFileName;
    SheetProgress progress;         // called with sheet 1 of 1
    std::stop_token stop;           // a stop cancels the export: no file is written
};

// Writes the design at its physical size at job.dpi. A PDF holds the pixels
// without loss. A sheet too large for the memory is composed and written band
// by band; its 3 x 3 preview is refused, since that needs the whole sheet. A failed or cancelled export leaves no file under the name
// (and an existing one as it was).
JobResult ExportDesign(const DesignExportJob& job);

// The raster size of an export (for the dialog's size line).
RasterSize ExportRasterSize(const PaperSettings& paper, const PrintablePage& page, double dpi);

} // namespace zb
