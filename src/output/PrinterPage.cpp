#include "output/PrinterPage.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace zb {

PrinterPage FallbackPrinterPage() {
    PrinterPage p;
    p.page = kFallbackPrintablePage;
    p.ppiY = kFallbackPrintablePage.ppi;
    p.fallback = true;
    return p;
}

PrinterPage PrinterPageOf(QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty()) return FallbackPrinterPage();
    // The paint device knows the resolution of each axis; the page layout
    // knows the printable rectangle in points.
    const int ppiX = printer.logicalDpiX();
    const int ppiY = printer.logicalDpiY();
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Inch);
    const int width = int(paint.width() * ppiX);
    const int height = int(paint.height() * ppiY);
    if (ppiX <= 0 || ppiY <= 0 || width <= 0 || height <= 0) return FallbackPrinterPage();
    PrinterPage p;
    p.page = PrintablePage{width, height, ppiX, ppiY};
    p.ppiY = ppiY;
    p.printerName = printer.printerName();
    return p;
}

PrinterPage DefaultPrinterPage() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return FallbackPrinterPage();
    QPrinter printer(info, QPrinter::HighResolution);
    return PrinterPageOf(printer);
}

} // namespace zb
