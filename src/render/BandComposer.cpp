#include "render/BandComposer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "imaging/ScaledFilter.h"
#include "render/Compositor.h"
#include "render/LayerBlend.h"
#include "render/RandomInt.h"
#include "render/TextScatter.h"
#include "render/TextWalkCache.h"

namespace zb {

namespace {

// Pixels per band.
constexpr int64_t kBandPixels = int64_t{16} << 20;

// How far the filter at whole scale k reads from the pixel it writes, in
// rows and in columns. Output (x, y) reads the averages A at x + (a - 2)k for
// a = 0 .. 4 (clamped), and A(x') sums the pixels x' - h .. x' - h + k - 1,
// h = k div 2, so it reads x - 2k - h .. x + 3k - 1 - h; since
// 2k + h >= 3k - 1 - h (2h >= k - 1), the reach is 2k + h (2 at k = 1, the
// plain 5 x 5 filter).
int FilterReach(int k) { return 2 * k + k / 2; }

std::string OutsideMessage(int left, int top, int width, int height, RasterSize sheet) {
    return "Fehler: Der Ausschnitt (" + std::to_string(width) + " x " + std::to_string(height) +
           " Pixel ab " + std::to_string(left) + ", " + std::to_string(top) + ") liegt nicht im Bogen (" +
           std::to_string(sheet.width) + " x " + std::to_string(sheet.height) + " Pixel)!";
}

// The default generators, with the text layers walking each sheet once for
// all its windows.
LayerGenerators SheetGenerators(TextWalkCache& walks) {
    LayerGenerators g = LayerGenerators::Default();
    g.text = [&walks](RasterView raster, const TLayerRecord& layer, double ppi, double zoom, RandomInt& random,
                      FontEngine& fonts, const TileWrap& wrap, const SheetWindow& window) {
        ScatterText(raster, layer, ppi, zoom, random, fonts, wrap, window, &walks);
    };
    return g;
}

} // namespace

int ForcedBandRows() {
    static const int rows = [] {
        const char* text = std::getenv("ZB_BAND_ROWS");
        if (!text || !*text) return 0;
        char* end = nullptr;
        const long n = std::strtol(text, &end, 10);
        return *end == '\0' && n > 0 && n <= (1 << 20) ? int(n) : 0;
    }();
    return rows;
}

bool ComposedInBands(const PaperSettings& paper, RasterSize sheet) {
    if (paper.Seamless || sheet.empty()) return false;
    return ForcedBandRows() > 0 || int64_t(sheet.width) * sheet.height > kBandPixelLimit;
}

int BandRows(int sheetWidth) {
    if (const int forced = ForcedBandRows()) return forced;
    return int(std::max<int64_t>(1, kBandPixels / std::max(sheetWidth, 1)));
}

int FilterMargin(const Design& design, RasterSize sheet, double filterScale) {
    const int64_t reach = FilterReach(FilterScaleStep(filterScale));
    int64_t margin = 0;
    for (uint32_t i = 0; i < design.Layers.size(); ++i) {
        const TLayerRecord& layer = design.Layers[i];
        // The compositor leaves out hidden layers and an upper filter layer that shows nothing.
        if (layer.Kind == kKindFilter && layer.Visible && (i == 0 || BlendWeight(layer.Transparency) != 10))
            margin += reach;
    }
    // Beyond the sheet's size a margin covers the sheet anyway.
    return int(std::min<int64_t>(margin, std::max(sheet.width, sheet.height)));
}

PixelRect ComposedExtent(const Design& design, RasterSize sheet, double filterScale, const PixelRect& window) {
    if (design.Paper.Seamless) return {0, 0, sheet.width, sheet.height};
    const int m = FilterMargin(design, sheet, filterScale);
    const int x0 = std::max(0, window.x - m), y0 = std::max(0, window.y - m);
    const int x1 = int(std::min<int64_t>(sheet.width, int64_t(window.x) + window.width + m));
    const int y1 = int(std::min<int64_t>(sheet.height, int64_t(window.y) + window.height + m));
    return {x0, y0, x1 - x0, y1 - y0};
}

BandComposer::BandComposer(const Design& design, RasterSize sheet, double targetPpi, double zoomPercent,
                           uint32_t seed, FontEngine* fonts)
    : design_(design), sheet_(sheet), targetPpi_(targetPpi), zoomPercent_(zoomPercent), seed_(seed), fonts_(fonts),
      textWalks_(std::make_unique<TextWalkCache>()),
      compositor_(std::make_unique<Compositor>(SheetGenerators(*textWalks_))) {}

BandComposer::~BandComposer() = default;

void BandComposer::SetFilterScale(double scale) {
    compositor_->SetFilterScale(scale);
    composed_.reset();
}

void BandComposer::SetProgress(std::function<void(int done, int total)> progress) {
    compositor_->SetProgress(std::move(progress));
}

void BandComposer::SetStop(std::stop_token stop) { compositor_->SetStop(std::move(stop)); }

int BandComposer::Margin() const { return FilterMargin(design_, sheet_, compositor_->FilterScale()); }

BandComposer::Extent BandComposer::Extended(int left, int top, int width, int height) const {
    const PixelRect e = ComposedExtent(design_, sheet_, compositor_->FilterScale(), {left, top, width, height});
    return {e.x, e.y, e.x + e.width, e.y + e.height};
}

JobResult BandComposer::ComposeWindow(int left, int top, RasterView out) {
    RasterView composed;
    JobResult result = ComposeWindowView(left, top, std::max(out.width, 0), std::max(out.height, 0), composed);
    if (result.cancelled() || composed.empty() || !out.data) return result;
    for (int y = 0; y < composed.height; ++y) std::memcpy(out.row(y), composed.row(y), size_t(composed.width) * 3);
    return result;
}

JobResult BandComposer::ComposeWindowView(int left, int top, int width, int height, RasterView& result) {
    result = {};
    if (left < 0 || top < 0 || width < 0 || height < 0 || int64_t(left) + width > sheet_.width ||
        int64_t(top) + height > sheet_.height)
        return JobResult::Failed(OutsideMessage(left, top, width, height, sheet_));
    if (width == 0 || height == 0) {
        EndSeed();
        return {};
    }
    // The window with the margin the filters read, cut at the sheet's edges:
    // at layer i every pixel within the reach of the filters above i of the
    // window is the sheet's, and an edge of the extent that is a sheet edge is
    // replicated there as on the whole sheet.
    const Extent e = Extended(left, top, width, height);
    JobResult outcome;
    if (composed_ != e) {
        composed_.reset();
        const RasterSize size{e.x1 - e.x0, e.y1 - e.y0};
        if (std::string failure = compositor_->EnsureSize(size); !failure.empty())
            return JobResult::OutOfMemory(std::move(failure));
        RandomInt random(seed_);
        outcome = compositor_->ComposeWindow(design_, SheetWindow{e.x0, e.y0, sheet_.width, sheet_.height}, targetPpi_,
                                             zoomPercent_, random, fonts_);
        if (outcome.cancelled()) return outcome;
        endSeed_ = random.seed();
        if (outcome.ok()) composed_ = e;
    }

    const RasterView composed = compositor_->DesignView();
    result = RasterView{composed.pixel(left - e.x0, top - e.y0), composed.strideBytes, width, height};
    return outcome;
}

uint32_t BandComposer::EndSeed() const {
    if (!endSeed_) {
        // No window composed yet: make the sheet's draws without pixels.
        Compositor replay(SheetGenerators(*textWalks_));
        RandomInt random(seed_);
        replay.ComposeWindow(design_, SheetWindow{0, 0, sheet_.width, sheet_.height}, targetPpi_, zoomPercent_, random,
                             fonts_);
        endSeed_ = random.seed();
    }
    return *endSeed_;
}

} // namespace zb
