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
// Coordinates: (0, 0) is the top-left corner of the printable area, one unit
// per printer pixel; whatever lies beyond the printable area is cut off.
#include <QRect>
#include <QString>
#include <QPainter>
#include <string>

#include "base/RasterView.h"
#include "output/PrinterPage.h"

class QPrinter;

namespace zb {

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
    // Finishes the job and sends it. Returns a German message on failure.
    std::string End();
    // Cancels the job. A PDF being written is removed. A printer's job takes
    // the pages finished so far: the print system offers no way to withdraw
    // it, so callers compose a sheet before they start its page.
    void Abort();

    // The page being printed on (printable area, resolution of each axis).
    const PrinterPage& Page() const { return page_; }
    bool Active() const { return active_; }

private:
    // Puts the chosen PDF name back on the printer; keep: the temporary file
    // becomes that file, otherwise it is removed. False when renaming failed.
    bool RestorePdfName(bool keep);

    QPrinter& printer_;
    QPainter painter_;
    PrinterPage page_;
    bool active_ = false;
    bool ownArea_ = false;
    QString pdfFileName_;
    QString partFileName_;
};

// "Der Druckauftrag konnte nicht gestartet werden." and the like, with the
// printer's or file's name.
std::string PrintFailureMessage(const QPrinter& printer);

} // namespace zb
