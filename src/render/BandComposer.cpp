#include "render/BandComposer.h"

#include <algorithm>
#include <cstring>

#include "imaging/ScaledFilter.h"
#include "render/Compositor.h"
#include "render/LayerBlend.h"
#include "render/RandomInt.h"

namespace zb {

namespace {

// Pixels per band in a normal build.
constexpr int64_t kBandPixels = int64_t{16} << 20;

#ifdef ZB_BANDS_ALWAYS
constexpr bool kBandsAlways = true;
// A prime, so bands cut shapes, texts and filter reaches at odd places.
constexpr int kAlwaysBandRows = 13;
#else
constexpr bool kBandsAlways = false;
#endif

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

} // namespace

bool ComposedInBands(const PaperSettings& paper, RasterSize sheet) {
    if (paper.Seamless || sheet.empty()) return false;
    return kBandsAlways || int64_t(sheet.width) * sheet.height > kBandPixelLimit;
}

int BandRows(int sheetWidth) {
#ifdef ZB_BANDS_ALWAYS
    (void)sheetWidth;
    return kAlwaysBandRows;
#else
    return int(std::max<int64_t>(1, kBandPixels / std::max(sheetWidth, 1)));
#endif
}

BandComposer::BandComposer(const Design& design, RasterSize sheet, double targetPpi, double zoomPercent,
                           uint32_t seed, FontEngine* fonts)
    : design_(design), sheet_(sheet), targetPpi_(targetPpi), zoomPercent_(zoomPercent), seed_(seed), fonts_(fonts),
      compositor_(std::make_unique<Compositor>()) {}

BandComposer::~BandComposer() = default;

void BandComposer::SetFilterScale(double scale) {
    compositor_->SetFilterScale(scale);
    composed_.reset();
}

void BandComposer::SetProgress(std::function<void(int done, int total)> progress) {
    compositor_->SetProgress(std::move(progress));
}

void BandComposer::SetCancel(std::function<bool()> cancelled) { compositor_->SetCancel(std::move(cancelled)); }

int BandComposer::Margin() const {
    const int64_t reach = FilterReach(FilterScaleStep(compositor_->FilterScale()));
    int64_t margin = 0;
    for (uint32_t i = 0; i < design_.Layers.Count; ++i) {
        const TLayerRecord& layer = design_.Layers[i];
        // The compositor leaves out hidden layers and an upper filter layer that shows nothing.
        if (layer.Kind == kKindFilter && layer.Visible && (i == 0 || BlendWeight(layer.Transparency) != 10))
            margin += reach;
    }
    // Beyond the sheet's size a margin covers the sheet anyway.
    return int(std::min<int64_t>(margin, std::max(sheet_.width, sheet_.height)));
}

BandComposer::Extent BandComposer::Extended(int left, int top, int width, int height) const {
    // A seamless tile's filters read the opposite edge: only the whole sheet has it.
    if (design_.Paper.Seamless) return {0, 0, sheet_.width, sheet_.height};
    const int m = Margin();
    return {std::max(0, left - m), std::max(0, top - m), int(std::min<int64_t>(sheet_.width, int64_t(left) + width + m)),
            int(std::min<int64_t>(sheet_.height, int64_t(top) + height + m))};
}

std::string BandComposer::ComposeWindow(int left, int top, RasterView out) {
    RasterView composed;
    std::string message = ComposeWindowView(left, top, std::max(out.width, 0), std::max(out.height, 0), composed);
    if (message == kCompositionCancelled || composed.empty() || !out.data) return message;
    for (int y = 0; y < composed.height; ++y) std::memcpy(out.row(y), composed.row(y), size_t(composed.width) * 3);
    return message;
}

std::string BandComposer::ComposeWindowView(int left, int top, int width, int height, RasterView& result) {
    result = {};
    if (left < 0 || top < 0 || width < 0 || height < 0 || int64_t(left) + width > sheet_.width ||
        int64_t(top) + height > sheet_.height)
        return OutsideMessage(left, top, width, height, sheet_);
    if (width == 0 || height == 0) {
        EndSeed();
        return {};
    }
    // The window with the margin the filters read, cut at the sheet's edges:
    // at layer i every pixel within the reach of the filters above i of the
    // window is the sheet's, and an edge of the extent that is a sheet edge is
    // replicated there as on the whole sheet.
    const Extent e = Extended(left, top, width, height);
    std::string message;
    if (composed_ != e) {
        composed_.reset();
        const RasterSize size{e.x1 - e.x0, e.y1 - e.y0};
        if (std::string failure = compositor_->EnsureSize(size); !failure.empty()) return failure;
        RandomInt random(seed_);
        message = compositor_->ComposeWindow(design_, SheetWindow{e.x0, e.y0, sheet_.width, sheet_.height}, targetPpi_,
                                             zoomPercent_, random, fonts_);
        if (message == kCompositionCancelled) return message;
        endSeed_ = random.seed();
        if (message.empty()) composed_ = e;
    }

    const RasterView composed = compositor_->DesignView();
    result = RasterView{composed.pixel(left - e.x0, top - e.y0), composed.strideBytes, width, height};
    return message;
}

uint32_t BandComposer::EndSeed() const {
    if (!endSeed_) {
        // No window composed yet: make the sheet's draws without pixels.
        Compositor replay;
        RandomInt random(seed_);
        replay.ComposeWindow(design_, SheetWindow{0, 0, sheet_.width, sheet_.height}, targetPpi_, zoomPercent_, random,
                             fonts_);
        endSeed_ = random.seed();
    }
    return *endSeed_;
}

} // namespace zb
