// An edit composes the sheet from the edited layer up, going on from what the
// sheet looked like beneath it, and only the part in sight; the result must
// be, byte for byte, the whole stack composed from the sheet's start.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TestSeed.h"
#include "model/LayerChoices.h"
#include "render/Compositor.h"
#include "render/FontEngine.h"
#include "workspace/DesignWorkspace.h"

using namespace zb;

namespace {

// A4 at 600 dpi; at 96 ppi and 20 % the sheet is 152 x 216 pixels.
const PrinterFacts kA4{{4760, 6779, 600, 600}, true};
constexpr int kPpi = 96;
constexpr double kZoom = 20;

// Blocks of ink whose size depends on the family and height, so a text layer's
// random fonts and sizes show in the sheet.
class BlockFonts : public FontEngine {
public:
    const std::vector<std::string>& Families() override { return families_; }
    TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) override {
        TextBitmap b;
        b.height = std::max(pixelHeight, 2) + int(family.size() % 4);
        b.width = b.height * int(text.size() + family.size() % 3) / 2 + 1;
        b.pixels.assign(size_t(b.width) * size_t(b.height), 255);
        for (int y = b.height / 4; y < b.height; y += 2)
            for (int x = 0; x < b.width; x += 1 + int(family.size() % 2)) b.pixels[size_t(y * b.width + x)] = 0;
        return b;
    }

private:
    std::vector<std::string> families_{"Eins", "Zwei", "Drei"};
};

std::vector<uint8_t> Bytes(RasterView v) {
    std::vector<uint8_t> out;
    for (int y = 0; y < v.height; ++y) out.insert(out.end(), v.row(y), v.row(y) + v.width * 3);
    return out;
}

// The whole stack composed from the shown sheet's start, as print and export do.
std::vector<uint8_t> FullComposition(const DesignWorkspace& w, FontEngine& fonts) {
    Compositor full;
    EXPECT_EQ(full.EnsureSize(w.SheetSize(kPpi)), "");
    EXPECT_EQ(full.ComposeFromSeed(w.GetDesign(), kPpi, w.Zoom(), w.Sheet().StartSeed(), &fonts).message, "");
    return Bytes(full.DesignView());
}

using Rng = std::mt19937;

int Pick(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
uint32_t Colour(Rng& rng) { return uint32_t(rng()) & 0xFFFFFFu; }

// Every setting of every kind, each drawn within the editor's range.
const std::vector<std::function<void(TLayerRecord&, Rng&)>>& FieldEdits() {
    static const std::vector<std::function<void(TLayerRecord&, Rng&)>> edits = {
        [](TLayerRecord& l, Rng& r) { l.Kind = uint32_t(Pick(r, 0, 4)); },
        [](TLayerRecord& l, Rng& r) { l.Transparency = Pick(r, kTransparencyMin, kTransparencyMax); },
        [](TLayerRecord& l, Rng& r) { l.GradientDirection = Pick(r, 0, 3); },
        [](TLayerRecord& l, Rng& r) { l.GradientColor1 = Colour(r); },
        [](TLayerRecord& l, Rng& r) { l.GradientColor2 = Colour(r); },
        [](TLayerRecord& l, Rng& r) { l.PatternShape = Pick(r, 0, 5); },
        [](TLayerRecord& l, Rng& r) { l.PatternColorMode = Pick(r, 0, 2); },
        [](TLayerRecord& l, Rng& r) { l.PatternSizeMode = Pick(r, 0, 1); },
        [](TLayerRecord& l, Rng& r) { l.PatternPosMode = Pick(r, 0, 1); },
        [](TLayerRecord& l, Rng& r) { l.PatternCount = Pick(r, 0, 1500); },
        [](TLayerRecord& l, Rng& r) { l.PatternSizeMM = Pick(r, 1, 400) / 10.0; },
        [](TLayerRecord& l, Rng& r) { l.PatternColor = Colour(r); },
        [](TLayerRecord& l, Rng& r) { l.FilterIndex = Pick(r, 0, 13); },
        [](TLayerRecord& l, Rng& r) { l.TextCount = Pick(r, 0, kTextCountMax); },
        [](TLayerRecord& l, Rng& r) { l.TextColorMode = Pick(r, 0, 2); },
        [](TLayerRecord& l, Rng& r) { l.TextSize = Pick(r, 1, 48); },
        [](TLayerRecord& l, Rng& r) { l.TextSizeMode = Pick(r, 0, 1); },
        [](TLayerRecord& l, Rng& r) { l.TextPosMode = Pick(r, 0, 1); },
        [](TLayerRecord& l, Rng& r) { l.TextFontMode = Pick(r, 0, 1); },
        [](TLayerRecord& l, Rng& r) { l.TextColor = Colour(r); },
        [](TLayerRecord& l, Rng& r) { l.FontName = Pick(r, 0, 1) ? "Zwei" : "Eins"; },
        [](TLayerRecord& l, Rng& r) { l.LayerText = std::string(size_t(Pick(r, 0, 6)), 'x'); },
        [](TLayerRecord& l, Rng& r) { l.PictureWidthMM = Pick(r, 20, 800) / 10.0; },
    };
    return edits;
}

// A picture of random pixels for the texture page.
void TakeRandomPicture(DesignWorkspace& w, Rng& rng) {
    const int width = Pick(rng, 3, 40), height = Pick(rng, 3, 40);
    DibPicture picture(width, height, 24);
    ASSERT_NE(picture.dib().Bits, nullptr);
    const RasterView v = ViewOf(picture);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x) v.row(y)[x] = uint8_t(rng());
    w.TakePicture(std::move(picture));
}

void EditLayer(DesignWorkspace& w, int index, Rng& rng, int fields) {
    w.Select(index);
    w.StoreEditor([&](TLayerRecord& l) {
        for (int n = 0; n < fields; ++n) FieldEdits()[size_t(Pick(rng, 0, int(FieldEdits().size()) - 1))](l, rng);
    });
}

void NewRandomLayer(DesignWorkspace& w, Rng& rng) {
    w.NewLayer();
    EditLayer(w, w.CurrentIndex(), rng, 8);
}

int LayerCount(const DesignWorkspace& w) { return int(w.GetDesign().Layers.size()); }

} // namespace

// The part of the sheet the workspace shows, against the same part of `full`.
void ExpectShownPartOf(const DesignWorkspace& w, const std::vector<uint8_t>& full) {
    const PixelRect area = w.ShownArea(), extent = w.ShownExtent();
    const RasterView shown = w.Sheet().DesignView();
    const size_t stride = size_t(w.ShownSheetSize().width) * 3;
    for (int y = 0; y < area.height; ++y)
        ASSERT_EQ(std::memcmp(shown.pixel(area.x - extent.x, area.y - extent.y + y),
                              full.data() + size_t(area.y + y) * stride + size_t(area.x) * 3, size_t(area.width) * 3),
                  0)
            << "row " << area.y + y << " of the part " << area.width << " x " << area.height << " at " << area.x
            << ", " << area.y;
}

// A few hundred random edits of random stacks of up to 12 layers, composed
// after one or two edits at a time: once with room for a state after every
// layer, once with room for three (so only every k-th is kept). Now and then
// the view scrolls: a random part of the sheet (or all of it) is in sight.
TEST(IncrementalComposition, EveryEditGivesTheSheetOfTheWholeStackFromItsStart) {
    BlockFonts fonts;
    for (const size_t keptStates : {size_t(100), size_t(3)}) {
        const uint32_t seed = test::TestSeed() + uint32_t(keptStates);
        SCOPED_TRACE(testing::Message() << "kept states " << keptStates << ", seed " << seed);
        Rng rng(seed);
        const size_t stateBytes = size_t(152) * 3 * 216;
        DesignWorkspace w(seed, kA4, &fonts, keptStates * stateBytes);
        w.Start();
        w.SetZoom(kZoom);
        ASSERT_EQ(w.SheetSize(kPpi), (RasterSize{152, 216}));
        for (int n = Pick(rng, 1, 11); n > 0; --n) NewRandomLayer(w, rng);
        ASSERT_EQ(w.Compose(kPpi, -1), "");
        uint32_t start = w.Sheet().StartSeed();

        int reused = 0;
        const int compositions = 150;
        std::optional<PixelRect> sight;
        for (int step = 0; step < compositions; ++step) {
            bool newSheet = false;
            std::string what;
            if (Pick(rng, 0, 3) == 0) {
                sight.reset();
                if (Pick(rng, 0, 3) > 0)
                    sight = PixelRect{Pick(rng, -20, 160), Pick(rng, -20, 220), Pick(rng, 0, 60), Pick(rng, 0, 90)};
                what += sight ? " scrolled" : " whole sheet in sight";
            }
            for (int edits = Pick(rng, 1, 2); edits > 0; --edits) {
                const int count = LayerCount(w);
                const int row = Pick(rng, 0, count - 1);
                switch (Pick(rng, 0, 19)) {
                case 0: case 1: case 2: case 3: case 4: case 5:
                    what += " fields of " + std::to_string(row);
                    EditLayer(w, row, rng, Pick(rng, 1, 3));
                    break;
                case 6: case 7:
                    what += " transparency of " + std::to_string(row);
                    w.Select(row);
                    w.StoreEditor([&](TLayerRecord& l) { l.Transparency = Pick(rng, -5, 5); });
                    break;
                case 8: case 9:
                    what += " up " + std::to_string(row);
                    w.MoveLayerUp(row);
                    break;
                case 10: case 11:
                    what += " down " + std::to_string(row);
                    w.MoveLayerDown(row);
                    break;
                case 12: case 13:
                    what += " delete " + std::to_string(row);
                    w.DeleteLayer(row);
                    break;
                case 14: case 15:
                    if (count >= 12) break;
                    what += " insert at " + std::to_string(row);
                    NewRandomLayer(w, rng);
                    for (int at = count; at > row; --at) w.MoveLayerUp(at);
                    break;
                case 16:
                    what += " picture of " + std::to_string(row);
                    w.Select(row);
                    TakeRandomPicture(w, rng);
                    w.StoreEditor([](TLayerRecord& l) { l.Kind = kKindTexture; });
                    break;
                case 17:
                    what += " undo";
                    w.Undo();
                    newSheet = true;
                    break;
                case 18:
                    what += " zoom";
                    w.SetZoom(w.Zoom() == kZoom ? kZoom + 1 : kZoom);
                    newSheet = true;
                    break;
                default:
                    what += " reroll";
                    w.Reroll();
                    newSheet = true;
                    break;
                }
            }
            SCOPED_TRACE("step " + std::to_string(step) + ":" + what);
            const PixelRect* visible = sight ? &*sight : nullptr;
            ASSERT_EQ(w.Compose(kPpi, -1, visible), "");
            ASSERT_TRUE(w.Shows(kPpi, visible));
            if (!newSheet) {
                EXPECT_EQ(w.Sheet().StartSeed(), start) << "an edit keeps the sheet";
            }
            start = w.Sheet().StartSeed();
            ExpectShownPartOf(w, FullComposition(w, fonts));
            ASSERT_LE(w.Cache().Bytes(), keptStates * stateBytes);
            if (w.LastComposedFrom() > 0) ++reused;
        }
        // Edits reuse the layers beneath them (undo, zoom, "Neu würfeln" and
        // edits of the bottom layer cannot).
        EXPECT_GT(reused, compositions / 6);
    }
}

// Which layer a composition after an edit starts from, on a sheet of six
// layers composed once (states kept after every layer, or every second).
TEST(IncrementalComposition, AnEditComposesFromTheLowestLayerItChanged) {
    const auto topColour = [](DesignWorkspace& w) {
        w.Select(5);
        w.StoreEditor([](TLayerRecord& l) { l.TextColor = 0x3366CC; });
    };
    const struct Case {
        const char* what;
        size_t keptStates;
        std::function<void(DesignWorkspace&)> edit;
        int composedFrom;
    } cases[] = {
        {"top layer's colour", 6, topColour, 5},
        {"transparency of layer 3", 6, [](DesignWorkspace& w) {
             w.Select(3);
             w.StoreEditor([](TLayerRecord& l) { l.Transparency = 2; });
         }, 3},
        {"layer 2 moved up", 6, [](DesignWorkspace& w) { w.MoveLayerUp(2); }, 1},
        {"top layer moved down (no move)", 6, [](DesignWorkspace& w) { w.MoveLayerDown(5); }, 6},
        {"top layer deleted", 6, [](DesignWorkspace& w) { w.DeleteLayer(5); }, 5},
        {"layer 4 deleted", 6, [](DesignWorkspace& w) { w.DeleteLayer(4); }, 4},
        {"new layer", 6, [](DesignWorkspace& w) { w.NewLayer(); }, 6},
        {"bottom layer", 6, [](DesignWorkspace& w) {
             w.Select(0);
             w.StoreEditor([](TLayerRecord& l) { l.GradientColor1 = 0x102030; });
         }, 0},
        {"top layer, every second kept", 3, topColour, 4},
        {"undo of the top layer's colour", 6, [&](DesignWorkspace& w) {
             topColour(w);
             EXPECT_EQ(w.Compose(kPpi, -1), "");
             w.Undo();
         }, 5},
        {"zoom", 6, [](DesignWorkspace& w) { w.SetZoom(kZoom + 5); }, 0},
        {"Neu würfeln", 6, [](DesignWorkspace& w) { w.Reroll(); }, 0},
    };
    const size_t stateBytes = size_t(152) * 3 * 216;
    BlockFonts fonts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DesignWorkspace w(5, kA4, &fonts, c.keptStates * stateBytes);
        w.Start();
        w.SetZoom(kZoom);
        const uint32_t kinds[] = {kKindGradient, kKindPattern, kKindFilter, kKindTexture, kKindPattern, kKindText};
        for (int i = 0; i < 6; ++i) {
            if (i > 0) w.NewLayer();
            w.StoreEditor([&](TLayerRecord& l) {
                l.Kind = kinds[i];
                l.PatternCount = 200;
                l.Transparency = i % 3 - 1;
            });
        }
        ASSERT_EQ(w.Compose(kPpi, -1), "");
        ASSERT_EQ(w.LastComposedFrom(), 0);
        c.edit(w);
        ASSERT_EQ(w.Compose(kPpi, -1), "");
        EXPECT_EQ(w.LastComposedFrom(), c.composedFrom);
        EXPECT_TRUE(Bytes(w.Sheet().DesignView()) == FullComposition(w, fonts));
    }
}
