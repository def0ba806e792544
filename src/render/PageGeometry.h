#pragma once
// Where the design lands on the page: the printable-size line, the print
// preview's page picture and design rectangle, the placement in printer
// pixels that printing uses, and the filter scale of a composition at another
// resolution than the screen's. Plain functions of the paper format, the
// printer's page and the devices' pixels per inch, so the window, printing,
// export and the command-line program agree.
#include <cstdint>
#include <string>

#include "model/Design.h"
#include "render/DesignSize.h"

namespace zb {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// "Maximal druckbare Größe: 20,15 cm x 28,70 cm": the printable area in
// centimetres (width with the horizontal, height with the vertical pixels
// per inch), two decimals and the given separator. A page without a
// resolution gives 0,00 for that axis.
std::string PrintableSizeLine(const PrintablePage& page, char separator = ',');
// The same line followed by the note that the PDF stand-in is in use.
std::string FallbackPrintableSizeLine(const PrintablePage& page, char separator = ',');

// Centimetres to whole pixels at the given pixels per inch and zoom:
// Trunc(cm * 10 / 25.39995 * ppi * zoom / 100), evaluated left to right.
int CentimetresToPixels(double centimetres, double ppi, double zoomPercent = 100.0);

// The print preview: the page picture (the printable area at z % on a screen
// of s pixels per inch) and the design rectangle on it, at the margins.
// Whole-page mode divides PW * s by p in whole numbers before the zoom, so the
// design may fall short of the page picture by less than z / 100 + 1 pixels.
struct PreviewLayout {
    RasterSize page;   // the page picture, Wp x Hp
    PixelRect design;  // where the design raster is drawn, scaled; cut at the page's edges
};
PreviewLayout PreviewPageLayout(const PaperSettings& paper, const PrintablePage& page, int32_t screenPpi,
                                double zoomPercent);

// The preview of a sheet spread over several pages: the whole design is the
// page picture, without margins (the pages' grid is drawn over it).
PreviewLayout PosterPreviewLayout(const PaperSettings& paper, const PrintablePage& page, int32_t screenPpi,
                                  double zoomPercent);

// "Ganze Seite": the largest whole zoom within minZoom .. maxZoom at which the
// page picture fits a view of viewWidth x viewHeight pixels (minZoom when even
// that is too large).
// With `poster` the picture is the whole design (PosterPreviewLayout).
int WholePageZoom(const PaperSettings& paper, const PrintablePage& page, int32_t screenPpi, int viewWidth,
                  int viewHeight, int minZoom, int maxZoom, bool poster = false);

// The same placement in printer pixels: origin at the printable area's
// top-left corner, the design at the margins with its physical size (the
// whole printable area in whole-page mode), cut at the printable area.
struct PrintLayout {
    PixelRect design;  // target rectangle of the design on the page
    PixelRect visible; // the part of `design` inside the printable area
    RasterSize raster; // the composition to draw there: square pixels at the horizontal ppi
};
PrintLayout PrintPageLayout(const PaperSettings& paper, const PrintablePage& page);

// How many output pixels make one pixel of the screen's composition: the
// scale at which a filter layer must work to look as in the preview.
// Values below 1 count as 1.
double FilterScale(double outputPpi, double screenPpi, double zoomPercent);

} // namespace zb
