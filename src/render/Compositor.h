#pragma once
// Composes a design's layer stack into the design raster: each layer is
// generated into the layer raster, bottom (record 0) to top, and laid over the
// design with its transparency. The rasters hold the whole sheet, or a window
// of a larger sheet (ComposeWindow).
//
// Ownership: a Compositor owns its two 24-bit rasters (pictures it frees when
// they are replaced or it goes). The design, the random source and the
// font engine stay the caller's. Not copyable. Everything runs on the caller's
// thread; the kernels may split rows over worker threads internally.
//
// The composition is cached: DesignValid() says the design raster holds the
// composition of the current stack. The owner calls Invalidate() whenever the
// stack, a layer, the zoom or the paper format changes.
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "base/DibPicture.h"
#include "base/JobResult.h"
#include "base/RasterView.h"
#include "base/SheetWindow.h"
#include "base/TileWrap.h"
#include "model/Design.h"
#include "render/DesignSize.h"
#include "render/FontEngine.h"
#include "render/LayerThumbnail.h"
#include "render/RandomInt.h"

namespace zb {

// The generators of the pattern, filter and text kinds. Each receives the
// layer raster after the ground fill and leaves its result in it, and the
// wrap of a seamless design (TileWrap; no wrap otherwise). Pattern and text
// also receive the window of the sheet the raster holds (SheetWindow; the
// default one for the whole sheet). Default() plugs in
// GeneratePattern, ApplyFilter with FilterForIndex (ApplyWrappedFilter for a
// wrap), and ScatterText; tests plug in fakes to watch the dispatch.
struct LayerGenerators {
    std::function<void(RasterView, const TLayerRecord&, double ppi, double zoom, RandomInt&, const TileWrap&,
                       const SheetWindow&)>
        pattern;
    // Returns false when the filter found no memory (the raster is unchanged).
    std::function<bool(RasterView, int32_t filterIndex, const TileWrap&)> filter;
    std::function<void(RasterView, const TLayerRecord&, double ppi, double zoom, RandomInt&, FontEngine&,
                       const TileWrap&, const SheetWindow&)>
        text;
    // The filter at a whole scale k > 1 (see SetFilterScale). Default():
    // ApplyScaledFilter.
    std::function<bool(RasterView, int32_t filterIndex, int k, const TileWrap&)> scaledFilter;

    static LayerGenerators Default();
};

// The wrap a design's sheet of this size is composed with: none unless the
// design is a seamless tile; the half-drop repeat drops each column of tiles
// by half the sheet's height (rounded down); in the mirrored repeat each
// edge meets the sheet's own mirror image.
TileWrap SheetWrap(const PaperSettings& paper, RasterSize size);

// "Fehler: Nicht genug Speicher für die Entwurfsgrafik (W x H Pixel)!"
std::string DesignMemoryMessage(RasterSize size);

class Compositor {
public:
    // No rasters yet: Size() is 0 x 0 until EnsureSize.
    Compositor();
    explicit Compositor(LayerGenerators generators);
    ~Compositor();
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;

    // Gives both rasters the size. A change of size re-creates them (pixels
    // zero) and clears DesignValid; the same size changes nothing. A size of 0
    // in either direction releases them: nothing is composed or drawn. When the
    // rasters cannot be allocated the previous ones, with their composition,
    // stay in place and the German message is returned; FailedSize() then
    // names the size. Returns an empty string on success.
    std::string EnsureSize(RasterSize size);

    // Composes the stack at the rasters' current size, drawing every random
    // number from `random` (its state on entry is remembered as StartSeed()).
    // targetPpi and zoomPercent are what the generators size shapes with (the
    // screen's pixels per inch and the view zoom, or the printer's and 100).
    // Without a font engine text layers show only their ground. Reads the
    // design only (its layer cursor and selection stay where they are). With
    // rasters of size 0 nothing happens and DesignValid stays false. Returns
    // Done, Cancelled (SetStop's token asked to stop) or the first failure
    // (OutOfMemory: a filter without memory, that layer keeps its unfiltered
    // ground); DesignValid is set unless cancelled, so a failure is reported
    // once and not on every paint.
    JobResult Compose(const Design& design, double targetPpi, double zoomPercent, RandomInt& random,
                        FontEngine* fonts);

    // Composes from a given generator state, leaving the caller's generator
    // alone: print, export and the command line reproduce the sheet the screen
    // shows (StartSeed() of the screen's compositor) at another size.
    JobResult ComposeFromSeed(const Design& design, double targetPpi, double zoomPercent, uint32_t seed,
                                FontEngine* fonts);

    // Composes only the layers from `first` up, going on from `below`, the
    // composition of the layers beneath `first` at the rasters' size (read,
    // never written; ignored when first is 0), with `random` standing where
    // it stood after them. The result is byte for byte what Compose gives
    // from the sheet's start; `sheetStart` is remembered as StartSeed(). With
    // first at the layer count nothing is composed: `below` is copied in.
    // With a window the rasters hold that window of the sheet (as
    // ComposeWindow), and `below` is the same window.
    JobResult ComposeAbove(const Design& design, int first, RasterView below, uint32_t sheetStart,
                             double targetPpi, double zoomPercent, RandomInt& random, FontEngine* fonts,
                             const SheetWindow& window = {});

    // Composes the rasters as the window of a larger sheet: every layer is
    // generated as that part of the whole sheet's composition (random draws
    // over the whole sheet, gradients and pictures placed by sheet
    // coordinates). Filters see only the rasters and replicate their edges,
    // so rows and columns within the filters' reach of an edge that is no
    // sheet edge differ from the sheet's (BandComposer composes a margin).
    // A window covering the whole sheet is Compose itself (with the seamless
    // wrap); any other window of a seamless design is composed without the
    // wrap. With rasters of size 0 and a window of a sheet, the draws of the
    // whole stack are made and nothing else happens.
    JobResult ComposeWindow(const Design& design, const SheetWindow& window, double targetPpi,
                              double zoomPercent, RandomInt& random, FontEngine* fonts);

    // Called after each layer with the layers done and the layer count, so
    // long compositions (print, export) can show their progress.
    void SetProgress(std::function<void(int done, int total)> progress) { progress_ = std::move(progress); }

    // Once `stop` is requested the composition ends at its next row band or
    // layer, returns Cancelled and leaves DesignValid() false.
    void SetStop(std::stop_token stop) { stop_ = std::move(stop); }

    // Where the owner keeps the composition after some layers, so a later
    // ComposeAbove can go on from there. Those layers are composed straight
    // into the owner's raster (no copy is taken); the rasters must stay
    // untouched until Compose returns.
    struct KeptLayers {
        // Before layer i: a raster of the rasters' size for the composition
        // of the bottom i + 1 layers, or an empty view when it is not kept.
        std::function<RasterView(int layers)> raster;
        // That raster holds the composition, sound (no failure so far, not
        // cancelled), the generator standing at `seed`.
        std::function<void(int layers, uint32_t seed)> composed;
    };
    void SetKeptLayers(KeptLayers kept) { kept_ = std::move(kept); }

    // How many pixels of this composition make one pixel of the screen's
    // (FilterScale of render/PageGeometry.h). Above 1, filter layers work at
    // that scale, so a sheet composed for paper looks like the preview;
    // 1 (the default) is the plain pixel filter of the design view.
    void SetFilterScale(double scale) { filterScale_ = scale; }
    double FilterScale() const { return filterScale_; }

    bool DesignValid() const { return designValid_; }
    void Invalidate() { designValid_ = false; }
    // True when the design raster holds some composition (possibly stale),
    // false after the rasters were re-created or released.
    bool HoldsComposition() const { return holdsComposition_; }
    // The generator state the last composition started from.
    uint32_t StartSeed() const { return startSeed_; }
    RasterSize Size() const;
    // The size whose allocation failed last (0 x 0 when the last attempt worked).
    RasterSize FailedSize() const { return failedSize_; }

    // What each layer added, small (kThumbnailWidth x kThumbnailHeight at
    // most), taken from the layer raster (the window it holds): one
    // per layer, empty for layers this composition did not generate (those
    // beneath `first` of ComposeAbove, hidden ones).
    static constexpr int kThumbnailWidth = 40;
    static constexpr int kThumbnailHeight = 30;
    const std::vector<LayerThumbnail>& Thumbnails() const { return thumbnails_; }
    // Takes the thumbnails of `older` for the layers below `first` and for
    // those this composition left empty (the same layers, not composed again).
    void KeepThumbnails(const Compositor& older, int first);

    // The composition, bottom-up rows as every DIB record. Owned by the
    // compositor; valid until the next EnsureSize or Compose.
    const TDibRecord& DesignRaster() const { return designRaster_; }
    RasterView DesignView() const { return ViewOf(designRaster_); }

private:
    // Generates one layer into `view` over `ground`, the composition beneath
    // it (empty for the bottom layer). Returns a failure message or "".
    std::string GenerateLayer(const TLayerRecord& layer, RasterView view, RasterView ground, double targetPpi,
                              double zoomPercent, RandomInt& random, FontEngine* fonts, const TileWrap& wrap,
                              const SheetWindow& window);
    // ComposeAbove for the window of the sheet the rasters hold.
    JobResult ComposeStack(const Design& design, int first, RasterView below, uint32_t sheetStart,
                             double targetPpi, double zoomPercent, RandomInt& random, FontEngine* fonts,
                             const SheetWindow& window);
    // A window that is the whole sheet at the rasters' size is the whole sheet
    // (composed with the seamless wrap).
    SheetWindow Used(const SheetWindow& window) const;
    static void GroundFill(RasterView target, RasterView ground);
    void ReleaseRasters();

    LayerGenerators generators_;
    std::function<void(int, int)> progress_;
    std::stop_token stop_;
    KeptLayers kept_;
    double filterScale_ = 1.0;
    DibPicture designRaster_;
    DibPicture layerRaster_;
    std::vector<LayerThumbnail> thumbnails_;
    bool designValid_ = false;
    bool holdsComposition_ = false;
    uint32_t startSeed_ = 0;
    RasterSize failedSize_{};
};

} // namespace zb
