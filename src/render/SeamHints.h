#pragma once
// What keeps a seamless sheet from repeating without a seam, in German, for
// the window's hint and the command line's standard error: a gradient does
// not repeat, and a tiled picture, or shapes and texts at regular places,
// whose grid does not fit a whole number of times into the sheet break off at
// the edge; in the mirrored repeat, texts that read backwards in every other
// tile. All are the user's choice, so they are said, not changed.
#include <string>
#include <vector>

#include "model/Design.h"
#include "render/DesignSize.h"

namespace zb {

// One line per visible gradient, picture or regular layer that makes a seam at a
// sheet of `size` pixels composed at targetPpi and zoomPercent; empty for a
// design that is not seamless and for a design without such layers. A
// gradient of one colour makes no seam. In the mirrored repeat every edge
// meets its own mirror image, so nothing makes a seam; there each visible
// text layer gets a line that its texts read backwards in every other tile.
std::vector<std::string> SeamHints(const Design& design, RasterSize size, double targetPpi, double zoomPercent);

} // namespace zb
