#include "render/Compositor.h"

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

#include "base/DibCopy.h"
#include "base/StopScope.h"
#include "imaging/ConvertDib.h"
#include "imaging/FilterTable.h"
#include "imaging/ScaledFilter.h"
#include "imaging/WrappedFilter.h"
#include "render/GradientFill.h"
#include "render/GroundFill.h"
#include "render/LayerBlend.h"
#include "render/PatternGenerator.h"
#include "render/TextScatter.h"
#include "render/TextureTiling.h"

namespace zb {

LayerGenerators LayerGenerators::Default() {
    LayerGenerators g;
    g.pattern = [](RasterView raster, const TLayerRecord& layer, double ppi, double zoom, RandomInt& random,
                   const TileWrap& wrap, const SheetWindow& window) {
        GeneratePattern(raster, layer, ppi, zoom, random, wrap, window);
    };
    g.filter = [](RasterView raster, int32_t filterIndex, const TileWrap& wrap) {
        if (wrap.On()) return ApplyWrappedFilter(raster, FilterForIndex(filterIndex), wrap);
        return ApplyFilter(raster, FilterForIndex(filterIndex));
    };
    g.scaledFilter = [](RasterView raster, int32_t filterIndex, int k, const TileWrap& wrap) {
        if (wrap.On()) return ApplyWrappedFilter(raster, FilterForIndex(filterIndex), wrap, k);
        return ApplyScaledFilter(raster, FilterForIndex(filterIndex), k);
    };
    g.text = [](RasterView raster, const TLayerRecord& layer, double ppi, double zoom, RandomInt& random,
                FontEngine& fonts, const TileWrap& wrap, const SheetWindow& window) {
        ScatterText(raster, layer, ppi, zoom, random, fonts, wrap, window);
    };
    return g;
}

TileWrap SheetWrap(const PaperSettings& paper, RasterSize size) {
    if (!paper.Seamless || size.empty()) return {};
    return TileWrap{size.width, size.height, paper.Repeat == kRepeatHalfDrop ? size.height / 2 : 0,
                    paper.Repeat == kRepeatMirror};
}

std::string DesignMemoryMessage(RasterSize size) {
    return "Fehler: Nicht genug Speicher für die Entwurfsgrafik (" + std::to_string(size.width) + " x " +
           std::to_string(size.height) + " Pixel)!";
}

Compositor::Compositor() : Compositor(LayerGenerators::Default()) {}

Compositor::Compositor(LayerGenerators generators) : generators_(std::move(generators)) {}

Compositor::~Compositor() { ReleaseRasters(); }

void Compositor::ReleaseRasters() {
    designRaster_.reset();
    layerRaster_.reset();
}

RasterSize Compositor::Size() const { return {DibWidth(designRaster_), DibHeight(designRaster_)}; }

static bool HasSize(const TDibRecord& dib, RasterSize size) {
    return dib.Bits && DibWidth(dib) == size.width && DibHeight(dib) == size.height;
}

std::string Compositor::EnsureSize(RasterSize size) {
    if (size.empty()) {
        ReleaseRasters();
        designValid_ = false;
        holdsComposition_ = false;
        failedSize_ = {};
        return {};
    }
    if (HasSize(designRaster_, size) && HasSize(layerRaster_, size)) {
        failedSize_ = {};
        return {};
    }
    // The layer raster holds nothing worth keeping between compositions:
    // release it first, so a resize holds at most three rasters at once.
    const RasterSize previous = Size();
    layerRaster_.reset();
    auto restoreLayer = [&] {
        if (!previous.empty()) layerRaster_ = DibPicture(previous.width, previous.height, 24);
    };

    DibPicture design(size.width, size.height, 24);
    if (design.empty()) {
        restoreLayer();
        failedSize_ = size;
        return DesignMemoryMessage(size);
    }
    DibPicture layer(size.width, size.height, 24);
    if (layer.empty()) {
        design.reset();
        restoreLayer();
        failedSize_ = size;
        return DesignMemoryMessage(size);
    }
    designRaster_ = std::move(design);
    layerRaster_ = std::move(layer);
    designValid_ = false;
    holdsComposition_ = false;
    failedSize_ = {};
    return {};
}

void Compositor::GroundFill(RasterView target, RasterView ground) {
    if (ground.empty()) FillWhite(target);
    else CopyPixels(target, ground);
}

std::string Compositor::GenerateLayer(const TLayerRecord& layer, RasterView view, RasterView ground,
                                      double targetPpi, double zoomPercent, RandomInt& random, FontEngine* fonts,
                                      const TileWrap& wrap, const SheetWindow& window) {
    const bool bottom = ground.empty();
    switch (layer.Kind) {
    case kKindGradient:
        FillGradient(view, layer.GradientColor1, layer.GradientColor2, layer.GradientDirection, window);
        return {};
    case kKindPattern:
        GroundFill(view, ground);
        if (generators_.pattern) generators_.pattern(view, layer, targetPpi, zoomPercent, random, wrap, window);
        return {};
    case kKindTexture: {
        // Files may carry pictures of 1, 4 or 8 bits: those are tiled through
        // a 24-bit copy, so the stored picture keeps its bytes.
        DibPicture converted;
        RasterView picture = ViewOf(layer.LayerPicture);
        const int bits = layer.LayerPicture.empty() ? 0 : DibBitCount(layer.LayerPicture);
        if (picture.empty() && (bits == 1 || bits == 4 || bits == 8)) {
            if (!MakeDIBCopy(layer.LayerPicture, converted) || !ConvertDib(converted, 24)) {
                GroundFill(view, ground);
                return kCopyMemoryMessage;
            }
            picture = ViewOf(converted);
        }
        if (picture.empty()) {
            // A layer without a usable picture shows its ground.
            GroundFill(view, ground);
            return {};
        }
        TileTexture(view, picture,
                    TextureTileSize(picture.width, picture.height, layer.PictureWidthMM, targetPpi, zoomPercent),
                    window);
        return {};
    }
    case kKindFilter:
        GroundFill(view, ground);
        // The filter draws no random numbers, so an invisible upper filter
        // layer can be left out without changing anything.
        if (!bottom && BlendWeight(layer.Transparency) == 10) return {};
        if (const int k = FilterScaleStep(filterScale_); k > 1 && generators_.scaledFilter) {
            if (!generators_.scaledFilter(view, layer.FilterIndex, k, wrap)) return kFilterMemoryMessage;
        } else if (generators_.filter && !generators_.filter(view, layer.FilterIndex, wrap)) {
            return kFilterMemoryMessage;
        }
        return {};
    case kKindText:
        GroundFill(view, ground);
        if (fonts && generators_.text)
            generators_.text(view, layer, targetPpi, zoomPercent, random, *fonts, wrap, window);
        return {};
    default:
        // A kind this program does not know (foreign files): the ground only.
        GroundFill(view, ground);
        return {};
    }
}

JobResult Compositor::Compose(const Design& design, double targetPpi, double zoomPercent, RandomInt& random,
                                FontEngine* fonts) {
    return ComposeAbove(design, 0, {}, random.seed(), targetPpi, zoomPercent, random, fonts);
}

JobResult Compositor::ComposeAbove(const Design& design, int first, RasterView below, uint32_t sheetStart,
                                     double targetPpi, double zoomPercent, RandomInt& random, FontEngine* fonts,
                                     const SheetWindow& window) {
    return ComposeStack(design, first, below, sheetStart, targetPpi, zoomPercent, random, fonts, Used(window));
}

SheetWindow Compositor::Used(const SheetWindow& window) const {
    const RasterSize size = Size();
    if (window.left == 0 && window.top == 0 && window.sheetWidth == size.width && window.sheetHeight == size.height)
        return SheetWindow{};
    return window;
}

JobResult Compositor::ComposeWindow(const Design& design, const SheetWindow& window, double targetPpi,
                                      double zoomPercent, RandomInt& random, FontEngine* fonts) {
    const RasterSize size = Size();
    const SheetWindow used = Used(window);
    if (size.empty() && !used.Whole()) {
        // Nothing to draw into: only the draws of the layers that make them.
        std::optional<StopScope> scope;
        if (stop_.stop_possible()) scope.emplace(stop_);
        startSeed_ = random.seed();
        for (uint32_t i = 0; i < design.Layers.size(); ++i) {
            const TLayerRecord& layer = design.Layers[i];
            if (layer.Kind == kKindPattern && generators_.pattern)
                generators_.pattern(RasterView{}, layer, targetPpi, zoomPercent, random, TileWrap{}, used);
            else if (layer.Kind == kKindText && fonts && generators_.text)
                generators_.text(RasterView{}, layer, targetPpi, zoomPercent, random, *fonts, TileWrap{}, used);
        }
        return StopRequested() ? JobResult::Cancelled() : JobResult::Done();
    }
    return ComposeStack(design, 0, {}, random.seed(), targetPpi, zoomPercent, random, fonts, used);
}

JobResult Compositor::ComposeStack(const Design& design, int first, RasterView below, uint32_t sheetStart,
                                     double targetPpi, double zoomPercent, RandomInt& random, FontEngine* fonts,
                                     const SheetWindow& window) {
    const RasterSize size = Size();
    if (size.empty()) return {};
    if (!HasSize(layerRaster_, size)) {
        // A failed resize could not restore the layer raster; try once more.
        layerRaster_.reset();
        layerRaster_ = DibPicture(size.width, size.height, 24);
        if (layerRaster_.empty()) return JobResult::OutOfMemory(DesignMemoryMessage(size));
    }
    // The kernels beneath ask the token every few rows or shapes.
    std::optional<StopScope> scope;
    if (stop_.stop_possible()) scope.emplace(stop_);
    const auto cancelled = [&] {
        holdsComposition_ = false;
        designValid_ = false;
        return JobResult::Cancelled();
    };

    startSeed_ = sheetStart;
    // Only the whole sheet wraps: a window's edges meet the rest of the sheet.
    const TileWrap wrap = window.Whole() ? SheetWrap(design.Paper, size) : TileWrap{};
    const bool keeping = bool(kept_.raster);
    const int count = int(design.Layers.size());
    first = std::clamp(first, 0, count);
    // Hidden layers are left out as if deleted: the lowest shown layer lies
    // on the paper as the bottom layer does. `painted`: a shown layer lies
    // beneath the one at hand.
    bool painted = false;
    for (int i = 0; i < first; ++i) painted = painted || design.Layers[uint32_t(i)].Visible;
    // The composition so far: empty beneath the lowest shown layer, else the
    // design raster or a raster the owner keeps.
    RasterView current = painted ? below : RasterView{};
    // The design raster ends up holding the composition, wherever it was made.
    const auto settle = [&] {
        if (!painted) FillWhite(ViewOf(designRaster_));
        else if (!current.empty() && current.data != ViewOf(designRaster_).data)
            CopyPixels(ViewOf(designRaster_), current);
    };
    // A hidden pattern or text layer still draws its numbers over the whole
    // sheet, so the layers above it come out the same whether it is shown.
    const SheetWindow drawWindow =
        window.Whole() ? SheetWindow{0, 0, size.width, size.height} : window;
    std::string message;
    try {
        thumbnails_.assign(size_t(count), LayerThumbnail{});
        for (int i = first; i < count; ++i) {
            const TLayerRecord& layer = design.Layers[uint32_t(i)];
            RasterView out = keeping ? kept_.raster(i + 1) : RasterView{};
            const bool keep = out.width == size.width && out.height == size.height && out.data;
            std::string failure;
            if (!layer.Visible) {
                if (layer.Kind == kKindPattern && generators_.pattern)
                    generators_.pattern(RasterView{}, layer, targetPpi, zoomPercent, random, wrap, drawWindow);
                else if (layer.Kind == kKindText && fonts && generators_.text)
                    generators_.text(RasterView{}, layer, targetPpi, zoomPercent, random, *fonts, wrap, drawWindow);
                if (keep) {
                    if (painted) CopyPixels(out, current);
                    else FillWhite(out);
                    current = out;
                }
            } else {
                const int weight = painted ? BlendWeight(layer.Transparency) : 0;
                const RasterView ground = painted ? current : RasterView{};
                if (keep && weight == 0) {
                    // An opaque layer is made where it is kept.
                    failure = GenerateLayer(layer, out, ground, targetPpi, zoomPercent, random, fonts, wrap, window);
                    thumbnails_[size_t(i)] = LayerThumbnail::Of(out, kThumbnailWidth, kThumbnailHeight);
                } else {
                    failure = GenerateLayer(layer, ViewOf(layerRaster_), ground, targetPpi, zoomPercent, random,
                                            fonts, wrap, window);
                    thumbnails_[size_t(i)] = LayerThumbnail::Of(ViewOf(layerRaster_), kThumbnailWidth, kThumbnailHeight);
                    if (weight == 0) {
                        // An opaque layer replaces the design: the layer raster's
                        // content is not needed afterwards, so the two rasters trade places.
                        std::swap(designRaster_, layerRaster_);
                        out = ViewOf(designRaster_);
                    } else {
                        if (!keep) out = ViewOf(designRaster_);
                        BlendLayerInto(out, current, ViewOf(layerRaster_), weight);
                    }
                }
                current = out;
                painted = true;
            }
            if (message.empty()) message = std::move(failure);
            // A layer cut short by a stop is not told as done.
            if (stop_.stop_requested()) return cancelled();
            if (progress_) progress_(i + 1, count);
            if (keep && message.empty() && kept_.composed) kept_.composed(i + 1, random.seed());
        }
        settle();
    } catch (const std::bad_alloc&) {
        if (message.empty()) message = kCopyMemoryMessage;
    }
    if (!message.empty() && painted && current.data != ViewOf(designRaster_).data) {
        // What was composed before the failure is shown.
        try {
            settle();
        } catch (const std::exception&) {
        }
    }
    if (stop_.stop_requested()) return cancelled();
    designValid_ = true;
    holdsComposition_ = true;
    // Every failure a layer reports is a want of memory.
    return message.empty() ? JobResult::Done() : JobResult::OutOfMemory(std::move(message));
}

void Compositor::KeepThumbnails(const Compositor& older, int first) {
    for (size_t i = 0; i < thumbnails_.size() && i < older.thumbnails_.size(); ++i)
        if (int(i) < first || thumbnails_[i].empty()) thumbnails_[i] = older.thumbnails_[i];
}

JobResult Compositor::ComposeFromSeed(const Design& design, double targetPpi, double zoomPercent, uint32_t seed,
                                        FontEngine* fonts) {
    RandomInt random(seed);
    return Compose(design, targetPpi, zoomPercent, random, fonts);
}

} // namespace zb
