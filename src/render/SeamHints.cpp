#include "render/SeamHints.h"

#include <algorithm>

#include "model/LayerChoices.h"
#include "render/LayerBlend.h"
#include "render/PatternGenerator.h"
#include "render/TextureTiling.h"

namespace zb {

namespace {
std::string LayerName(uint32_t index) { return "Ebene " + std::to_string(index + 1); }
constexpr const char* kSeam = ": wo die Kacheln aneinanderstoßen, entsteht eine Naht.";
} // namespace

std::vector<std::string> SeamHints(const Design& design, RasterSize size, double targetPpi, double zoomPercent) {
    std::vector<std::string> hints;
    const PaperSettings& paper = design.Paper;
    if (!paper.Seamless || size.empty()) return hints;
    for (uint32_t i = 0; i < design.Layers.size(); ++i) {
        const TLayerRecord& layer = design.Layers[i];
        // A hidden layer, or one that lets everything through, shows nothing of its own.
        if (!layer.Visible || (i > 0 && BlendWeight(layer.Transparency) == 10)) continue;
        if (paper.Repeat == kRepeatMirror) {
            // Every edge meets its own mirror image: no seam, but mirrored texts.
            if (layer.Kind == kKindText && !layer.LayerText.empty())
                hints.push_back("Die Texte von " + LayerName(i) +
                                " stehen in jeder zweiten Kachel des gespiegelten Rapports spiegelverkehrt.");
            continue;
        }
        const int64_t across = size.width, down = size.height;
        // In the half-drop repeat a row must also meet the one half a sheet lower.
        const int64_t drop = paper.Repeat == kRepeatHalfDrop ? down / 2 : 0;
        if (layer.Kind == kKindPattern && layer.PatternPosMode == kPositionRegular) {
            // Regular shapes sit on a grid from the top-left corner, of their own size.
            const int64_t cell = std::max<int64_t>(PatternSizePx(layer.PatternSizeMM, targetPpi, zoomPercent), 1);
            const bool fits = layer.PatternSizeMode != kPatternSizeRandom || cell == 1;
            if (!fits || across % cell != 0 || down % cell != 0 || drop % cell != 0)
                hints.push_back("Die regelmäßig gesetzten Formen von " + LayerName(i) +
                                " passen nicht ganzzahlig in den Bogen" + kSeam);
        } else if (layer.Kind == kKindText && layer.TextPosMode == kPositionRegular) {
            // Text cells are as wide as the rendered text: their grid breaks off at the edges.
            hints.push_back("Die regelmäßig gesetzten Texte von " + LayerName(i) + " brechen am Rand ab" + kSeam);
        } else if (layer.Kind == kKindGradient && layer.GradientColor1 != layer.GradientColor2) {
            hints.push_back(LayerName(i) + " ist ein Farbverlauf und wiederholt sich nicht" + kSeam);
        } else if (layer.Kind == kKindTexture && !layer.LayerPicture.empty()) {
            const TileSize tile = TextureTileSize(DibWidth(layer.LayerPicture), DibHeight(layer.LayerPicture),
                                                  layer.PictureWidthMM, targetPpi, zoomPercent);
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
