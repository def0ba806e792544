#pragma once
// One print job on the application's printer: the job title, pages, and 24-bit
// rasters drawn at rectangles of printer pixels with every pixel kept (the
// data sent to the printer is compressed losslessly, never as JPEG).
//
// Ownership: the session borrows the QPrinter, which must outlive it; the
// window keeps one printer for its whole run so that the choices of the setup
// dialog hold. A session that is destroyed before End() aborts its job, so an
// early return never leaves a half-finished job or PDF file behind.
//
// Every job is written by the session itself as a PDF, with the printer's
// page layout and resolution, through a checked temporary file: every write
// and the close are checked. A printer job's file lies in a private folder
// of its own (SpoolFolder), never at a name another user could foresee. For a PDF printer only a
// complete PDF replaces a file of the chosen name, keeping its mode; a pipe,
// a device or a write-protected file under the name is refused. For a
// printer the PDF goes to its queue at End() as one job, whose acceptance is
// checked; a cancelled job never reaches the queue.
//
// Coordinates: (0, 0) is the top-left corner of the printable area, one unit
// per printer pixel; whatever lies beyond the printable area is cut off.
#include <QRect>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "base/RasterView.h"
#include "output/PdfDocument.h"
#include "output/PrinterPage.h"

class QPrinter;

namespace zb {

class SpoolFolder;

// Makes the printer the A4 PDF printer at 600 dpi that stands in when no
// printer is installed, writing to pdfFileName. Its printable area is at least
// kFallbackPrintablePage (the session cuts at exactly that).
void SetUpFallbackPrinter(QPrinter& printer, const QString& pdfFileName);

// Selects the printer named `name`, or the default printer when the name is
// empty. Returns a German message when that printer does not exist (or, for
// an empty name, when no printer is installed: then the caller sets up the
// fallback). Leaves the printer's paper and orientation to the printer's defaults.
std::string SelectPrinter(QPrinter& printer, const QString& name);

// True when no printer is installed at all.
bool NoPrinterInstalled();

class PrintSession {
public:
    explicit PrintSession(QPrinter& printer);
    ~PrintSession();
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

    // The printable area to cut at, instead of the printer's own: for a PDF
    // page of a size of its own (export). Call before Begin.
    void SetPrintableArea(const PrinterPage& page) {
        page_ = page;
        ownArea_ = true;
    }

    // The PDF file to write for a PDF printer, in the file system's encoding
    // (a name from the command line keeps its bytes). Without it the
    // printer's output file name is taken. Call before Begin.
    void SetPdfFile(std::string path) { pdfPath_ = std::move(path); }

    // Starts the job with the title (the name the print queue shows) on the
    // first page. Returns a German message on failure, empty on success.
    std::string Begin(const QString& jobTitle);
    // Ends the current page and starts the next one.
    std::string NewPage();
    // Draws the whole raster scaled to `target` (printer pixels), cut at the
    // printable area. One raster pixel per printer pixel is the usual case;
    // other scales are drawn too. The raster is handed over in bands of rows,
    // so at most one band is copied at a time.
    std::string DrawRaster(RasterView raster, QRect target);
    // Thin lines for scissors and glue: each rectangle filled in a mid grey.
    std::string DrawCutMarks(const std::vector<QRect>& lines);
    // A short text fitted into `box` (printer pixels): along its width, or,
    // `vertical`, turned to read from bottom to top, always on a white field
    // just around it. `onWhite` clears the whole box first.
    std::string DrawLabel(QRect box, const QString& text, bool vertical, bool onWhite);
    // Finishes the job and sends it; a PDF replaces the chosen file only now.
    // Returns a German message on failure (for a PDF naming the chosen file
    // and the reason).
    std::string End();
    // Cancels the job: nothing reaches the printer, a PDF being written is
    // removed and a file of the chosen name stays as it was.
    void Abort();

    // The page being printed on (printable area, resolution of each axis).
    const PrinterPage& Page() const { return page_; }
    bool Active() const { return active_; }

private:
    struct PdfOutput;
    std::string BeginPdf(const QString& jobTitle);
    // The printer's page in points and where its printable area starts.
    PdfPageFrame PageFrame() const;
    // "Die PDF-Datei „…“ konnte nicht geschrieben werden: reason." or, for a
    // printer, the same about its job.
    std::string PdfFailed(const std::string& reason) const;
    // The device's first error, else a general input/output error.
    std::string PdfWriteFailed() const;
    // Completes the PDF and checks its writes; empty or the German message.
    std::string EndPdf();
    // Memory ran short: ends the job and removes the PDF; returns the message.
    std::string OutOfMemory();

    QPrinter& printer_;
    PrinterPage page_;
    bool active_ = false;
    bool ownArea_ = false;
    std::string pdfPath_;            // the PDF file, or a printer job's spool file
    std::unique_ptr<PdfOutput> pdf_; // while the PDF is being written
    std::unique_ptr<SpoolFolder> spool_; // a printer job's private folder, until the job is sent
};

} // namespace zb
