#pragma once
// What the program needs to know of a printer: its printable area in printer
// pixels and its resolution on each axis. The window's design size, the print
// preview, printing and the command-line program all ask here, so they agree
// on the page, including the fallback when no printer is installed.
#include <QString>

#include "render/DesignSize.h"

class QPrinter;

namespace zb {

struct PrinterPage {
    // Printable area in printer pixels, with the horizontal pixels per inch.
    PrintablePage page;
    // Vertical pixels per inch (printers exist whose two resolutions differ);
    // page.ppiY holds the same.
    int32_t ppiY = 0;
    // True when no printer is installed and the A4 page at 600 dpi stands in.
    bool fallback = false;
    // The printer's name; empty for the fallback.
    QString printerName;
};

// A4 at 600 dpi: what a page is taken to be when no printer is installed.
inline constexpr PrintablePage kFallbackPrintablePage{4760, 6779, 600};

// The page that stands in when no printer is installed (or none answers).
PrinterPage FallbackPrinterPage();

// The page of a configured printer (as the printer setup dialog leaves it).
// A printer that reports no usable page gives the fallback.
PrinterPage PrinterPageOf(QPrinter& printer);

// The default printer's page, or the fallback when there is none.
PrinterPage DefaultPrinterPage();

} // namespace zb
