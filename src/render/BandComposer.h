#pragma once
// Composing a sheet too large for the memory a piece at a time. Any window
// (rectangle) of the sheet is composed with exactly the pixels the whole-sheet
// composition (Compositor) gives it, byte for byte:
//  - pattern and text layers replay the sheet's whole sequence of random
//    draws and draw only what falls into the window;
//  - gradients and pictures are placed by sheet coordinates;
//  - each filter layer reads a margin of the composition beneath it (its
//    reach), and stacked filters add their reaches, so the window is composed
//    with that margin around it, cut at the sheet's edges where the filter
//    replicates the edge as on the whole sheet.
// Seamless tiles read the opposite edge instead of a margin; they are always
// composed whole (ComposedInBands says false).
//
// Text layers walk their cells and render their texts once per sheet: the
// first window keeps each walk, the others only stamp its copies.
//
// Ownership: borrows the design and the font engine, which must outlive it;
// owns its working rasters (a window plus margins, twice) and the sheet's
// text walks. Not copyable.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "base/JobResult.h"
#include "base/RasterView.h"
#include "model/Design.h"
#include "render/DesignSize.h"
#include "render/FontEngine.h"
#include "render/PageGeometry.h"

namespace zb {

class Compositor;
class TextWalkCache;

// Sheets with more pixels than this are printed and exported in bands.
inline constexpr int64_t kBandPixelLimit = int64_t{64} << 20;

// Rows per band when the environment variable ZB_BAND_ROWS names a positive
// number: then every printed and exported sheet is composed in bands of that
// many rows, so tests can hold band-wise sheets to whole-sheet references in
// any build. 0 when it is not set (read once).
int ForcedBandRows();

// Whether a sheet of this size is composed in bands: above kBandPixelLimit,
// and any sheet while ForcedBandRows() is set; never a seamless tile.
bool ComposedInBands(const PaperSettings& paper, RasterSize sheet);

// Rows per band for a sheet this wide: about 16 megapixels a band, at least
// one row (ForcedBandRows() while that is set).
int BandRows(int sheetWidth);

// Rows (and columns) around a window that the design's filter layers read
// from beneath them at this filter scale: the sum of their reaches, at most
// the sheet's larger side.
int FilterMargin(const Design& design, RasterSize sheet, double filterScale);

// The part of the sheet to compose so that `window` comes out exactly as in
// the whole sheet: the window with FilterMargin around it, cut at the sheet's
// edges; the whole sheet for a seamless tile, whose filters read the opposite
// edge.
PixelRect ComposedExtent(const Design& design, RasterSize sheet, double filterScale, const PixelRect& window);

class BandComposer {
public:
    // The sheet's size, the target's pixels per inch and the zoom as the
    // whole composition would take them, and the generator state it starts from.
    BandComposer(const Design& design, RasterSize sheet, double targetPpi, double zoomPercent, uint32_t seed,
                 FontEngine* fonts);
    ~BandComposer();
    BandComposer(const BandComposer&) = delete;
    BandComposer& operator=(const BandComposer&) = delete;

    // As Compositor::SetFilterScale.
    void SetFilterScale(double scale);
    // After each layer of each window: layers done of the layer count.
    void SetProgress(std::function<void(int done, int total)> progress);
    // As Compositor::SetStop: a stop ends the window with Cancelled.
    void SetStop(std::stop_token stop);

    // Rows (and columns) around a window that the filter layers read from
    // beneath them: the sum of their reaches.
    int Margin() const;

    // Composes the window whose top-left corner is sheet pixel (left, top) and
    // which is out.width x out.height pixels into `out` (a top-down view,
    // 24 bits). The window must lie inside the sheet (else a German message,
    // `out` untouched). A window of no pixels composes nothing but makes the
    // sheet's draws (EndSeed). Returns what Compositor::Compose does (a
    // filter without memory, the working rasters' memory message, Cancelled).
    JobResult ComposeWindow(int left, int top, RasterView out);

    // The same without a copy: `result` views the window inside the
    // composer's own raster, valid until the next call or the composer goes.
    JobResult ComposeWindowView(int left, int top, int width, int height, RasterView& result);

    // The generator state after the whole sheet: where the next sheet starts.
    uint32_t EndSeed() const;

private:
    // The rectangle [x0, x1) x [y0, y1) of the sheet composed for a window.
    struct Extent {
        int x0, y0, x1, y1;
        friend bool operator==(const Extent&, const Extent&) = default;
    };
    Extent Extended(int left, int top, int width, int height) const;

    const Design& design_;
    RasterSize sheet_;
    double targetPpi_;
    double zoomPercent_;
    uint32_t seed_;
    FontEngine* fonts_;
    // The sheet's text walks, made by the first window and stamped by the others.
    std::unique_ptr<TextWalkCache> textWalks_;
    std::unique_ptr<Compositor> compositor_;
    // The generator state after the sheet, once a window or a replay made it.
    mutable std::optional<uint32_t> endSeed_;
    // The extent the compositor's raster holds, soundly composed: a seamless
    // tile's pages, which all need the whole sheet, compose it once.
    std::optional<Extent> composed_;
};

} // namespace zb
