#include "render/SeamHints.h"

#include "render/LayerBlend.h"
#include "render/TextureTiling.h"

namespace zb {

namespace {
std::string LayerName(uint32_t index) { return "Ebene " + std::to_string(index + 1); }
constexpr const char* kSeam = ": wo die Kacheln aneinanderstoßen, entsteht eine Naht.";
} // namespace

std::vector<std::string> SeamHints(const Design& design, RasterSize size, double targetPpi, double zoomPercent) {
    std::vector<std::string> hints;
    const PaperSettings& paper = design.Paper;
    if (!paper.Seamless || paper.Repeat == kRepeatMirror || size.empty()) return hints;
    for (uint32_t i = 0; i < design.Layers.Count; ++i) {
        const TLayerRecord& layer = design.Layers[i];
        // A layer that lets everything through shows nothing of its own.
        if (i > 0 && BlendWeight(layer.Transparency) == 10) continue;
        if (layer.Kind == kKindGradient && layer.GradientColor1 != layer.GradientColor2) {
            hints.push_back(LayerName(i) + " ist ein Farbverlauf und wiederholt sich nicht" + kSeam);
        } else if (layer.Kind == kKindTexture && layer.LayerPicture.Bits) {
            const TileSize tile = TextureTileSize(DibWidth(layer.LayerPicture), DibHeight(layer.LayerPicture),
                                                  layer.PictureWidthMM, targetPpi, zoomPercent);
            const int64_t across = size.width, down = size.height;
            // In the half-drop repeat a tile row must also meet the one half a sheet lower.
            const int64_t drop = paper.Repeat == kRepeatHalfDrop ? down / 2 : 0;
            if (across % tile.width != 0) {
                hints.push_back("Die Grafik von " + LayerName(i) + " ist " + std::to_string(tile.width) +
                                " Pixel breit und passt nicht ganzzahlig in die Bogenbreite von " +
                                std::to_string(across) + " Pixel" + kSeam);
            } else if (down % tile.height != 0 || drop % tile.height != 0) {
                hints.push_back("Die Grafik von " + LayerName(i) + " ist " + std::to_string(tile.height) +
                                " Pixel hoch und passt nicht ganzzahlig in die " +
                                (down % tile.height != 0 ? "Bogenhöhe von " + std::to_string(down)
                                                         : "halbe Bogenhöhe von " + std::to_string(drop)) +
                                " Pixel" + kSeam);
            }
        }
    }
    return hints;
}

} // namespace zb
