// Seamless tiles: the choice in the design file, shapes and texts that wrap
// round the tile, filters that read the plane of copies, and the seam itself.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <random>
#include <set>
#include <vector>

#include "DesignFileTestUtil.h"
#include "base/DibCopy.h"
#include "TestRaster.h"
#include "TestSeed.h"
#include "document/DesignReader.h"
#include "document/LayerBlock.h"
#include "imaging/FilterTable.h"
#include "imaging/ScaledFilter.h"
#include "imaging/WrappedFilter.h"
#include "model/LayerChoices.h"
#include "render/Compositor.h"
#include "render/PatternGenerator.h"
#include "render/SeamHints.h"
#include "render/TextScatter.h"

using namespace zb;
using zb::test::MemorySink;
using zb::test::MemorySource;

namespace {

// Texts as a row of square blocks, one per character, each with a broken
// line through its middle.
class BlockFonts : public FontEngine {
public:
    const std::vector<std::string>& Families() override { return families_; }
    TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) override {
        TextBitmap b;
        b.height = std::max(pixelHeight, 1) + int(family.size() % 3);
        const int cell = b.height + 2;
        b.width = int(text.size()) * cell;
        b.pixels.assign(size_t(b.width) * size_t(b.height), 255);
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x)
                if (x % cell < b.height && (y != b.height / 2 || x % 3 == 0))
                    b.pixels[size_t(y) * size_t(b.width) + size_t(x)] = 0;
        return b;
    }

private:
    std::vector<std::string> families_{"Eins", "Zwei", "Dreier"};
};

TLayerRecord& AddLayer(Design& design, uint32_t kind) {
    TLayerRecord& layer = design.Layers.Add();
    SetLayerDefaults(layer);
    layer.Kind = kind;
    return layer;
}

// ---- the design file ------------------------------------------------------------------

std::vector<uint8_t> Written(const Design& design) {
    MemorySink sink;
    EXPECT_TRUE(WriteDesign(design, sink));
    return sink.bytes;
}

PaperSettings ReadPaper(std::vector<uint8_t> bytes, std::string* problem = nullptr) {
    MemorySource source(std::move(bytes));
    Design design;
    const std::string message = ReadDesign(source, design);
    if (problem) *problem = message;
    EXPECT_EQ(message, "");
    return design.Paper;
}

constexpr size_t kFirstBlock = 4;

// The file of a pattern layer under a text layer, with these options.
std::vector<uint8_t> TwoLayerFile(bool seamless, RepeatMode repeat) {
    Design design;
    AddLayer(design, kKindPattern);
    AddLayer(design, kKindText);
    design.Paper.Seamless = seamless;
    design.Paper.Repeat = repeat;
    return Written(design);
}

TEST(SeamlessFile, TheChoiceAndRepeatModeTravelInTheFirstLayerBlock) {
    for (const bool seamless : {false, true}) {
        for (const RepeatMode repeat : {kRepeatBasic, kRepeatHalfDrop, kRepeatMirror}) {
            SCOPED_TRACE(testing::Message() << "seamless " << seamless << ", repeat " << int(repeat));
            const std::vector<uint8_t> bytes = TwoLayerFile(seamless, repeat);
            const PaperSettings paper = ReadPaper(bytes);
            EXPECT_EQ(paper.Seamless, seamless);
            EXPECT_EQ(paper.Repeat, repeat);
            // The layout stays the described one: no byte more, the
            // settings of the block untouched.
            const std::vector<uint8_t> before = TwoLayerFile(false, kRepeatBasic);
            ASSERT_EQ(bytes.size(), before.size());
            for (size_t i = 0; i < bytes.size(); ++i) {
                const bool optionByte = i >= kFirstBlock + kDesignOptionsOffset && i < kFirstBlock + 1180;
                if (!optionByte) {
                    ASSERT_EQ(bytes[i], before[i]) << "byte " << i;
                }
            }
            // Without options the file is the one written before there were any.
            if (!seamless && repeat == kRepeatBasic) {
                EXPECT_EQ(bytes, before);
            }
        }
    }
}

TEST(SeamlessFile, StrayBytesWithoutTheSignatureAreNeverReadAsOptions) {
    const std::vector<uint8_t> withOptions = TwoLayerFile(true, kRepeatMirror);
    const std::vector<uint8_t> plain = TwoLayerFile(false, kRepeatBasic);

    std::mt19937 rng(zb::test::TestSeed());
    const size_t secondBlock = plain.size() - 68 - (plain.size() - 4 - 68) / 2;
    for (int trial = 0; trial < 500; ++trial) {
        // What other writers leave there: memory contents of the picture
        // descriptor and the text addresses (offsets 96 .. 1191).
        std::vector<uint8_t> bytes = plain;
        for (size_t i = 96; i < kLayerBlockSize; ++i) bytes[kFirstBlock + i] = uint8_t(rng());
        const PaperSettings paper = ReadPaper(bytes);
        ASSERT_FALSE(paper.Seamless) << "trial " << trial;
        ASSERT_EQ(paper.Repeat, kRepeatBasic) << "trial " << trial;
    }

    struct Case {
        const char* what;
        size_t offset; // within the first block
        uint8_t value;
        bool read;
    };
    const Case cases[] = {
        {"signature intact", 0, 0, true},
        {"one signature byte differs", kDesignOptionsOffset + 3, 'P', false},
        {"version 0", kDesignOptionsOffset + 8, 0, false},
        {"version 1 with an unknown option bit", kDesignOptionsOffset + 12, 0x03, false},
        {"version 1 with a non-zero word after the bits", kDesignOptionsOffset + 17, 0x40, false},
        {"a later version is read for what version 1 knows", kDesignOptionsOffset + 9, 0x01, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = withOptions;
        if (c.offset) bytes[kFirstBlock + c.offset] = c.value;
        const PaperSettings paper = ReadPaper(bytes);
        EXPECT_EQ(paper.Seamless, c.read);
        EXPECT_EQ(paper.Repeat, c.read ? kRepeatMirror : kRepeatBasic);
    }
    // Only the first block carries options: the same bytes in a later block mean nothing.
    std::vector<uint8_t> later = plain;
    std::copy(withOptions.begin() + long(kFirstBlock + kDesignOptionsOffset),
              withOptions.begin() + long(kFirstBlock + 1180), later.begin() + long(secondBlock + kDesignOptionsOffset));
    EXPECT_FALSE(ReadPaper(later).Seamless);
}

// ---- filters read the plane -----------------------------------------------------------

// The plane of copies around a tile: three tiles across and down, the tile in the middle.
test::TestRaster Plane(RasterView tile, const TileWrap& wrap) {
    test::TestRaster plane(3 * tile.width, 3 * tile.height);
    for (int y = 0; y < plane.view().height; ++y)
        for (int x = 0; x < plane.view().width; ++x) {
            int tx, ty;
            wrap.Map(x - tile.width, y - tile.height, tx, ty);
            std::memcpy(plane.view().pixel(x, y), tile.pixel(tx, ty), 3);
        }
    return plane;
}

TEST(SeamlessFilter, FiltersTheTileAsTheyFilterThePlaneOfItsCopies) {
    const int W = 23, H = 17;
    // Straight, half-drop and mirrored: in the mirrored plane each edge meets
    // the tile's own mirror image.
    for (const TileWrap wrap : {TileWrap{W, H, 0}, TileWrap{W, H, H / 2}, TileWrap{W, H, 0, true}}) {
        for (const int k : {1, 2}) {
            for (int index = 0; index < kFilterCount; ++index) {
                SCOPED_TRACE(testing::Message() << "drop " << wrap.drop << ", mirrored " << wrap.mirror << ", scale "
                                                << k << ", filter " << index);
                test::TestRaster tile(W, H);
                tile.fillRandom(zb::test::TestSeed() + uint32_t(index));
                test::TestRaster plane = Plane(tile.view(), wrap);
                ASSERT_TRUE(ApplyScaledFilter(plane.view(), FilterTable[index], k));
                ASSERT_TRUE(ApplyWrappedFilter(tile.view(), FilterTable[index], wrap, k));
                for (int y = 0; y < H; ++y)
                    ASSERT_EQ(std::memcmp(tile.view().row(y), plane.view().pixel(W, H + y), size_t(W) * 3), 0)
                        << "row " << y;
                EXPECT_TRUE(tile.paddingIntact());
            }
        }
    }
}

// ---- shapes and texts continue across the edges ---------------------------------------

bool White(const uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

// Pixels of `plane` that are not white and 4-connected to (x, y), which is
// not white either: their count, and whether all have the colour of (x, y).
// Visited pixels are painted white.
int TakeComponent(RasterView plane, int x, int y, bool& oneColour) {
    uint8_t colour[3];
    std::memcpy(colour, plane.pixel(x, y), 3);
    std::vector<std::pair<int, int>> todo{{x, y}};
    std::memset(plane.pixel(x, y), 255, 3);
    int count = 0;
    while (!todo.empty()) {
        auto [px, py] = todo.back();
        todo.pop_back();
        ++count;
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int k = 0; k < 4; ++k) {
            const int nx = px + dx[k], ny = py + dy[k];
            if (nx < 0 || ny < 0 || nx >= plane.width || ny >= plane.height) continue;
            uint8_t* p = plane.pixel(nx, ny);
            if (White(p)) continue;
            if (std::memcmp(p, colour, 3) != 0) oneColour = false;
            std::memset(p, 255, 3);
            todo.emplace_back(nx, ny);
        }
    }
    return count;
}

// One shape at a time on a small tile, laid out as the repeat lays it: the
// piece on the tile and the pieces on its neighbours join into the whole
// shape, in one colour. Drawn without the wrap, a shape that crosses an edge
// stays a piece.
TEST(SeamlessPattern, EveryShapeThatCrossesAnEdgeAppearsOnTheOppositeEdgeInItsColour) {
    const int W = 61, H = 47;
    std::mt19937 rng(zb::test::TestSeed());
    for (int shape = kShapeDiscs; shape <= kShapeStripes2; ++shape) {
        for (const int drop : {0, H / 2}) {
            SCOPED_TRACE(testing::Message() << "shape " << shape << ", drop " << drop);
            TLayerRecord layer{};
            SetLayerDefaults(layer);
            layer.PatternShape = shape;
            layer.PatternCount = 1;
            layer.PatternSizeMode = kPatternSizeFixed;
            layer.PatternSizeMM = 6.0; // 22 pixels at 96 ppi
            int crossed = 0;
            for (int trial = 0; trial < 60; ++trial) {
                const uint32_t seed = uint32_t(rng());
                SCOPED_TRACE(testing::Message() << "generator state " << seed);
                // The whole shape: the same draws on a sheet it lies inside.
                test::TestRaster whole(400, 400), tile(W, H), cut(W, H);
                for (auto* r : {&whole, &tile, &cut})
                    for (int y = 0; y < r->view().height; ++y) std::memset(r->view().row(y), 255, size_t(r->view().width) * 3);
                RandomInt a(seed), b(seed), c(seed);
                GeneratePattern(whole.view(), layer, 96, 100, a);
                GeneratePattern(tile.view(), layer, 96, 100, b, TileWrap{W, H, drop});
                GeneratePattern(cut.view(), layer, 96, 100, c);
                ASSERT_EQ(a.seed(), b.seed()) << "the wrap draws no numbers of its own";
                int area = 0;
                bool touches = false;
                for (int y = 0; y < 400; ++y)
                    for (int x = 0; x < 400; ++x)
                        if (!White(whole.view().pixel(x, y))) {
                            ++area;
                            touches |= x == 0 || y == 0 || x == 399 || y == 399;
                        }
                if (touches || area == 0) continue;

                for (const bool wrapped : {true, false}) {
                    test::TestRaster plane = Plane((wrapped ? tile : cut).view(), TileWrap{W, H, drop});
                    bool oneColour = true;
                    int largest = 0;
                    for (int y = H; y < 2 * H; ++y)
                        for (int x = W; x < 2 * W; ++x)
                            if (!White(plane.view().pixel(x, y)))
                                largest = std::max(largest, TakeComponent(plane.view(), x, y, oneColour));
                    EXPECT_TRUE(oneColour);
                    if (wrapped) EXPECT_EQ(largest, area) << "the whole shape, wherever it lies";
                    else if (largest < area) ++crossed;
                }
            }
            EXPECT_GT(crossed, 5) << "enough shapes crossed an edge";
        }
    }
}

// ---- the mirrored repeat ----------------------------------------------------------------

test::TestRaster WhiteRaster(int w, int h) {
    test::TestRaster r(w, h);
    for (int y = 0; y < h; ++y) std::memset(r.view().row(y), 255, size_t(w) * 3);
    return r;
}

// A shape or text that crosses an edge of a mirrored tile is drawn mirrored
// back into the same edge: the tile is the same draws made without the wrap
// on a raster three tiles across and down (the tile in the middle), folded
// into the tile at its edges. The straight repeat's copies fold otherwise.
TEST(SeamlessMirror, ShapesAndTextsCrossingAnEdgeAreFoldedBackIntoIt) {
    const int W = 61, H = 47;
    const TileWrap mirror{W, H, 0, true};
    BlockFonts fonts;
    std::mt19937 rng(zb::test::TestSeed());
    // Pattern shapes on their grid (their places are the draws themselves) and
    // texts at random places; one colour, so overlaps do not depend on order.
    for (int shape = kShapeDiscs; shape <= kShapeStripes2 + 1; ++shape) {
        const bool text = shape > kShapeStripes2;
        SCOPED_TRACE(text ? std::string("text") : "shape " + std::to_string(shape));
        TLayerRecord layer{};
        SetLayerDefaults(layer);
        layer.PatternShape = shape;
        layer.PatternCount = 4;
        layer.PatternColorMode = layer.TextColorMode = kColorSingle;
        layer.PatternColor = layer.TextColor = 0x204080;
        layer.PatternSizeMode = kPatternSizeRandom;
        layer.PatternPosMode = kPositionRegular;
        layer.PatternSizeMM = 6.0; // up to 22 pixels at 96 ppi
        layer.LayerText = "Zb";
        layer.TextSizeMode = kTextSizeChosen;
        layer.TextSize = 9;
        layer.TextCount = 2;
        int straightDiffers = 0;
        for (int trial = 0; trial < 30; ++trial) {
            const uint32_t seed = uint32_t(rng());
            SCOPED_TRACE(testing::Message() << "generator state " << seed);
            test::TestRaster tile = WhiteRaster(W, H), straight = WhiteRaster(W, H), plane = WhiteRaster(3 * W, 3 * H);
            const SheetWindow around{-W, -H, W, H};
            RandomInt a(seed), b(seed), c(seed);
            if (text) {
                ScatterText(tile.view(), layer, 96, 100, a, fonts, mirror);
                ScatterText(straight.view(), layer, 96, 100, b, fonts, TileWrap{W, H, 0});
                ScatterText(plane.view(), layer, 96, 100, c, fonts, TileWrap{}, around);
            } else {
                GeneratePattern(tile.view(), layer, 96, 100, a, mirror);
                GeneratePattern(straight.view(), layer, 96, 100, b, TileWrap{W, H, 0});
                GeneratePattern(plane.view(), layer, 96, 100, c, TileWrap{}, around);
            }
            test::TestRaster folded = WhiteRaster(W, H);
            for (int y = 0; y < 3 * H; ++y)
                for (int x = 0; x < 3 * W; ++x)
                    if (!White(plane.view().pixel(x, y))) {
                        int tx, ty;
                        mirror.Map(x - W, y - H, tx, ty);
                        std::memcpy(folded.view().pixel(tx, ty), plane.view().pixel(x, y), 3);
                    }
            ASSERT_EQ(test::PixelBytes(tile.view()), test::PixelBytes(folded.view()));
            straightDiffers += test::PixelBytes(straight.view()) != test::PixelBytes(folded.view());
        }
        EXPECT_GT(straightDiffers, 3) << "enough of them crossed an edge";
    }
}

// Shapes at random places show no band along the edges of a mirrored tile:
// no edge is covered more densely than the middle, and opposite edges alike.
// (A shape across an edge overlaps its own mirror image there, so the edges
// are covered somewhat less than the middle; shapes placed by their corners,
// or as in the straight repeat, crowd one edge or both.)
TEST(SeamlessMirror, ShapesAtRandomPlacesCrowdNoEdge) {
    const int side = 200, band = 22; // shapes of 22 pixels
    for (const int shape : {int(kShapeDiscs), int(kShapeStripes)}) {
        SCOPED_TRACE(shape);
        TLayerRecord layer{};
        SetLayerDefaults(layer);
        layer.PatternShape = shape;
        layer.PatternCount = 5;
        layer.PatternColorMode = kColorSingle;
        layer.PatternSizeMode = kPatternSizeFixed;
        layer.PatternSizeMM = 6.0;
        // Covered pixels per column and per row, over many tiles.
        std::vector<double> columns(side), rows(side);
        RandomInt random(zb::test::TestSeed());
        for (int trial = 0; trial < 1500; ++trial) {
            test::TestRaster tile = WhiteRaster(side, side);
            GeneratePattern(tile.view(), layer, 96, 100, random, TileWrap{side, side, 0, true});
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x)
                    if (!White(tile.view().pixel(x, y))) ++columns[size_t(x)], ++rows[size_t(y)];
        }
        for (const std::vector<double>* counts : {&columns, &rows}) {
            const auto mean = [&](int from, int to) {
                double sum = 0;
                for (int i = from; i < to; ++i) sum += (*counts)[size_t(i)];
                return sum / (to - from);
            };
            const double middle = mean(band, side - band);
            ASSERT_GT(middle, 0);
            const double first = mean(0, band) / middle, last = mean(side - band, side) / middle;
            EXPECT_LT(first, 1.1);
            EXPECT_LT(last, 1.1);
            EXPECT_LT(std::abs(first - last), 0.12) << first << " and " << last;
        }
    }
}

// ---- the seam ----------------------------------------------------------------------------

// Sums of absolute differences per channel, over one sheet or several.
struct SeamFigures {
    double across[3] = {}, acrossCount = 0;   // right edge column against the left one
    double columns[3] = {}, columnsCount = 0; // neighbouring columns inside
    double down[3] = {}, downCount = 0;       // bottom row against the top one
    double rows[3] = {}, rowsCount = 0;       // neighbouring rows inside

    void Add(RasterView r) {
        for (int ch = 0; ch < 3; ++ch) {
            for (int y = 0; y < r.height; ++y) {
                across[ch] += std::abs(r.pixel(r.width - 1, y)[ch] - r.pixel(0, y)[ch]);
                for (int x = 0; x + 1 < r.width; ++x) columns[ch] += std::abs(r.pixel(x + 1, y)[ch] - r.pixel(x, y)[ch]);
            }
            for (int x = 0; x < r.width; ++x) {
                down[ch] += std::abs(r.pixel(x, r.height - 1)[ch] - r.pixel(x, 0)[ch]);
                for (int y = 0; y + 1 < r.height; ++y) rows[ch] += std::abs(r.pixel(x, y + 1)[ch] - r.pixel(x, y)[ch]);
            }
        }
        acrossCount += r.height;
        columnsCount += double(r.width - 1) * r.height;
        downCount += r.width;
        rowsCount += double(r.height - 1) * r.width;
    }
    // The largest ratio of a seam's mean difference to the mean inside, over
    // both seams and the three channels.
    double WorstRatio() const {
        double worst = 0;
        for (int ch = 0; ch < 3; ++ch) {
            if (columns[ch] > 0) worst = std::max(worst, (across[ch] / acrossCount) / (columns[ch] / columnsCount));
            if (rows[ch] > 0) worst = std::max(worst, (down[ch] / downCount) / (rows[ch] / rowsCount));
        }
        return worst;
    }
};

// A colour every channel of which stands well apart from white.
uint32_t Dark(std::mt19937& rng) { return (rng() % 150) | (rng() % 150) << 8 | (rng() % 150) << 16; }

// A random design of one kind: shapes of one colour in random shapes and
// sizes, or texts in random fonts, on white. Texture layers alone tile the
// same with the choice on and off, so theirs carries shapes over a picture
// whose tiles fit the sheet; filters work on shapes beneath them.
void RandomDesign(Design& design, uint32_t kind, std::mt19937& rng, const TDibRecord& picture) {
    auto pattern = [&](Design& d) {
        TLayerRecord& l = AddLayer(d, kKindPattern);
        l.PatternShape = int32_t(rng() % 6);
        l.PatternColorMode = kColorSingle;
        l.PatternColor = Dark(rng);
        l.PatternSizeMode = kPatternSizeRandom;
        l.PatternPosMode = kPositionRandom;
        l.PatternSizeMM = 1.5 + (rng() % 6) / 10.0; // 5 .. 7 pixels
        l.PatternCount = 12000 + int32_t(rng() % 2000);
        l.Transparency = int32_t(rng() % 3) - 5;
    };
    switch (kind) {
    case kKindPattern: pattern(design); break;
    case kKindText: {
        TLayerRecord& l = AddLayer(design, kKindText);
        l.LayerText = rng() % 2 ? "Zier" : "Bogen";
        l.TextColorMode = kColorSingle;
        l.TextColor = Dark(rng);
        l.TextSizeMode = kTextSizeChosen;
        l.TextSize = 3 + int32_t(rng() % 4);
        l.TextPosMode = kPositionRandom;
        l.TextFontMode = int32_t(rng() % 2);
        l.TextCount = 8 + int32_t(rng() % 3);
        break;
    }
    case kKindFilter: {
        pattern(design);
        TLayerRecord& l = AddLayer(design, kKindFilter);
        // Sharpening and edge filters: at a cut edge they draw a line of their own.
        const int32_t filters[] = {3, 4, 6, 8};
        l.FilterIndex = filters[rng() % 4];
        l.Transparency = int32_t(rng() % 4) - 5;
        break;
    }
    case kKindTexture: {
        TLayerRecord& t = AddLayer(design, kKindTexture);
        MakeDIBCopy(picture, t.LayerPicture);
        t.PictureWidthMM = 30.2 * 25.39995 / 96; // tiles of 30 pixels across
        pattern(design);
        break;
    }
    }
}

// A light picture that repeats without a seam of its own: rising to the
// middle and falling again across and down, gently, so that the patterns
// over it differ from it alike everywhere. At 31 x 25 pixels and tiles of 30 x 24 every
// column and row but the last is sampled once.
DibPicture SmoothPicture(int w, int h) {
    DibPicture dib(w, h, 24);
    const RasterView v = ViewOf(dib);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = v.pixel(x, y);
            const int across = std::min(x, w - 1 - x), down = std::min(y, h - 1 - y);
            p[0] = uint8_t(200 + 2 * across), p[1] = uint8_t(200 + 2 * down), p[2] = uint8_t(200 + across + down);
        }
    return dib;
}

// The sheets are large and their shapes and texts small, so a column holds
// many of them; the means are taken over a few sheets of each design, since
// a single pair of columns of a text layer scatters by half its mean inside a
// tile as well. Shapes and texts stand at random places: a regular grid
// that does not fit the sheet breaks off at its edge (the hints say so).
TEST(SeamlessSheet, EdgesDifferNoMoreThanNeighboursInsideAndDoWithoutTheChoice) {
    const RasterSize size{600, 600}; // 20 x 25 picture tiles
    std::mt19937 rng(zb::test::TestSeed());
    DibPicture picture = SmoothPicture(31, 25); // tiles of 30 x 24
    BlockFonts fonts;
    for (const uint32_t kind : {kKindPattern, kKindText, kKindFilter, kKindTexture}) {
        for (int trial = 0; trial < 3; ++trial) {
            Design design;
            RandomDesign(design, kind, rng, picture);
            const uint32_t seed = uint32_t(rng());
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", trial " << trial << ", sheets from " << seed);
            for (const bool seamless : {true, false}) {
                design.Paper.Seamless = seamless;
                Compositor compositor;
                ASSERT_EQ(compositor.EnsureSize(size), "");
                SeamFigures f;
                RandomInt random(seed);
                for (int sheet = 0; sheet < 12; ++sheet) {
                    ASSERT_EQ(compositor.Compose(design, 96, 100, random, &fonts).message, "");
                    f.Add(compositor.DesignView());
                }
                if (seamless) EXPECT_LE(f.WorstRatio(), 1.5);
                else EXPECT_GT(f.WorstRatio(), 1.5);
            }
        }
    }
}

// ---- hints ------------------------------------------------------------------------------

TEST(SeamHints, GradientsAndPicturesThatDoNotFitAreNamed) {
    DibPicture picture = test::MakePicture(40, 32, 24, 3);
    struct Case {
        const char* what;
        uint32_t kind;
        double tilePixels; // tile width or grid at 96 ppi and 100 % (0: random places)
        uint32_t colour1, colour2;
        RepeatMode repeat;
        bool seamless;
        int hints;
    };
    const Case cases[] = {
        {"gradient of two colours", kKindGradient, 0, 0xFF0000, 0x0000FF, kRepeatBasic, true, 1},
        {"gradient of one colour", kKindGradient, 0, 0x123456, 0x123456, kRepeatBasic, true, 0},
        {"gradient, mirrored repeat", kKindGradient, 0, 0xFF0000, 0x0000FF, kRepeatMirror, true, 0},
        {"gradient, not seamless", kKindGradient, 0, 0xFF0000, 0x0000FF, kRepeatBasic, false, 0},
        // The sheet is 300 x 240 pixels; the picture 40 x 32.
        {"picture tiles of 30 x 24 fit across and down", kKindTexture, 30, 0, 0, kRepeatBasic, true, 0},
        {"picture tiles of 40 x 32 do not fit across", kKindTexture, 40, 0, 0, kRepeatBasic, true, 1},
        {"picture tiles of 20 x 16 fit the sheet, not its half", kKindTexture, 20, 0, 0, kRepeatHalfDrop, true, 1},
        {"pattern at random places", kKindPattern, 0, 0, 0, kRepeatBasic, true, 0},
        {"pattern on a grid of 30 pixels", kKindPattern, 30, 0, 0, kRepeatBasic, true, 0},
        {"pattern on a grid of 40 pixels", kKindPattern, 40, 0, 0, kRepeatBasic, true, 1},
        {"text at regular places", kKindText, 0, 0, 0, kRepeatBasic, true, 1},
        {"picture tiles of 40 x 32, mirrored repeat", kKindTexture, 40, 0, 0, kRepeatMirror, true, 0},
        {"text, mirrored repeat: reads backwards in every other tile", kKindText, 0, 0, 0, kRepeatMirror, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Design design;
        TLayerRecord& l = AddLayer(design, c.kind);
        MakeDIBCopy(picture, l.LayerPicture);
        l.PictureWidthMM = (c.tilePixels + 0.2) * 25.39995 / 96;
        l.PatternSizeMM = l.PictureWidthMM;
        l.PatternSizeMode = kPatternSizeFixed;
        l.PatternPosMode = l.TextPosMode = c.tilePixels > 0 || c.kind == kKindText ? kPositionRegular : kPositionRandom;
        l.GradientColor1 = c.colour1;
        l.GradientColor2 = c.colour2;
        design.Paper.Seamless = c.seamless;
        design.Paper.Repeat = c.repeat;
        const std::vector<std::string> hints = SeamHints(design, {300, 240}, 96, 100);
        EXPECT_EQ(int(hints.size()), c.hints);
        for (const std::string& h : hints) EXPECT_NE(h.find("Ebene 1"), std::string::npos) << h;
    }
}

} // namespace
