#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TestRaster.h"
#include "TestSeed.h"
#include "imaging/FilterReference.h"
#include "imaging/FilterRunner.h"
#include "imaging/FilterTable.h"
#include "base/DibPicture.h"

using zb::ApplyFilter;
using zb::ApplyFilterReference;
using zb::ApplyFilterWith;
using zb::FilterEntry;
using zb::FilterIsa;
using zb::FilterRunOptions;
using zb::FilterTable;
using zb::RasterView;
using zb::test::TestRaster;

namespace {

// Every way of running a filter, each supported one checked separately.
struct Variant {
    const char* name;
    bool reference;
    FilterIsa isa;
};
const Variant kVariants[] = {
    {"reference", true, FilterIsa::Automatic}, {"automatic", false, FilterIsa::Automatic},
    {"scalar", false, FilterIsa::Scalar},      {"sse2", false, FilterIsa::Sse2},
    {"avx2", false, FilterIsa::Avx2},          {"avx512", false, FilterIsa::Avx512},
};

std::vector<Variant> SupportedVariants() {
    std::vector<Variant> out;
    for (const Variant& v : kVariants)
        if (v.reference || zb::FilterIsaSupported(v.isa)) out.push_back(v);
    return out;
}

bool RunVariant(const Variant& v, RasterView r, const FilterEntry& f, int bands = 0) {
    if (v.reference) return ApplyFilterReference(r, f);
    FilterRunOptions o;
    o.isa = v.isa;
    o.bands = bands;
    return ApplyFilterWith(r, f, o);
}

void Fill(RasterView r, uint8_t b, uint8_t g, uint8_t red) {
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            uint8_t* p = r.pixel(x, y);
            p[0] = b;
            p[1] = g;
            p[2] = red;
        }
}

std::vector<uint8_t> Pixels(RasterView r) {
    std::vector<uint8_t> out;
    for (int y = 0; y < r.height; ++y) out.insert(out.end(), r.row(y), r.row(y) + r.width * 3);
    return out;
}

uint32_t BaseSeed() { return zb::test::TestSeed(); }

} // namespace

TEST(FilterTable, NamesInListOrderAndUnknownIndexGivesFirstEntry) {
    const char* names[] = {"Weichzeichnen", "Schwach Weichzeichnen", "Stark Weichzeichnen", "Schärfen",
                           "Stark Schärfen", "Grease", "Lithograph", "Psychdist", "Ecken hervorheben",
                           "Ecken finden", "Ecken horizontal finden", "Ecken vertikal finden", "Emboss",
                           "Emboss vertikal"};
    for (int k = 0; k < zb::kFilterCount; ++k) {
        EXPECT_STREQ(FilterTable[k].Name, names[k]);
        EXPECT_EQ(&zb::FilterForIndex(k), &FilterTable[k]);
    }
    for (int bad : {-1, 14, 1000, INT32_MIN, INT32_MAX}) EXPECT_EQ(&zb::FilterForIndex(bad), &FilterTable[0]);
}

// A uniform raster: the result is sum(weights) * value / divisor + bias.
TEST(Filter, UniformRasterFollowsTheWeightSum) {
    const uint8_t b = 40, g = 100, r = 200;
    for (const Variant& v : SupportedVariants()) {
        for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {9, 1}, {7, 5}, {45, 30}}) {
            SCOPED_TRACE(std::string(v.name) + " " + std::to_string(w) + "x" + std::to_string(h));
            for (int k = 0; k < zb::kFilterCount; ++k) {
                SCOPED_TRACE(FilterTable[k].Name);
                TestRaster raster(w, h);
                Fill(raster.view(), b, g, r);
                ASSERT_TRUE(RunVariant(v, raster.view(), FilterTable[k]));
                uint8_t want[3] = {b, g, r};
                if (k == 6 || k == 7) want[0] = 80, want[1] = 200, want[2] = 255;
                if (k == 9 || k == 10 || k == 11) want[0] = want[1] = want[2] = 0;
                if (k == 12 || k == 13) want[0] = want[1] = want[2] = 128;
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const uint8_t* p = raster.view().pixel(x, y);
                        ASSERT_EQ(p[0], want[0]) << x << "," << y;
                        ASSERT_EQ(p[1], want[1]) << x << "," << y;
                        ASSERT_EQ(p[2], want[2]) << x << "," << y;
                    }
                EXPECT_TRUE(raster.paddingIntact());
            }
        }
    }
}

// Edge replication and clamping, on rows wide enough for the vector kernels.
TEST(Filter, EdgesRepeatTheOuterPixelsAndNegativeSumsClampToZero) {
    for (const Variant& v : SupportedVariants()) {
        SCOPED_TRACE(v.name);
        // Column x holds 2x + 1 in every channel and row.
        const int w = 40, h = 4;
        TestRaster box(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) std::memset(box.view().pixel(x, y), 2 * x + 1, 3);
        ASSERT_TRUE(RunVariant(v, box.view(), FilterTable[2]));
        // Right edge: columns W-3, W-2 and three times W-1, five rows: (75+77+3*79)*5/25 = 77.
        EXPECT_EQ(box.view().pixel(w - 1, 0)[0], 77);
        EXPECT_EQ(box.view().pixel(w - 1, h - 1)[2], 77);
        // Left edge: three times column 0, then columns 1 and 2: (3+3+5)/5 = 2.
        EXPECT_EQ(box.view().pixel(0, 2)[1], 2);

        // A black pixel among white ones: 8 * 0 - 8 * 255 is negative, so 0;
        // its neighbours see 8 * 255 - 7 * 255 - 0 = 255.
        TestRaster dot(33, 7);
        Fill(dot.view(), 255, 255, 255);
        Fill(RasterView{dot.view().pixel(16, 3), dot.view().strideBytes, 1, 1}, 0, 0, 0);
        ASSERT_TRUE(RunVariant(v, dot.view(), FilterTable[9]));
        EXPECT_EQ(dot.view().pixel(16, 3)[0], 0);
        EXPECT_EQ(dot.view().pixel(15, 2)[1], 255);
        EXPECT_EQ(dot.view().pixel(17, 4)[2], 255);
        EXPECT_EQ(dot.view().pixel(18, 3)[2], 0);
    }
}

// The direction filters on a DIB (rows stored bottom-up): "horizontal" weighs
// the row below against the row above, "vertikal" the column to the right
// against the column to the left.
TEST(Filter, DirectionFiltersWeighBelowAgainstAboveAndRightAgainstLeft) {
    const uint8_t dark[3] = {100, 50, 0}, light[3] = {110, 70, 5}; // differences 10, 20, 5
    for (const Variant& v : SupportedVariants()) {
        SCOPED_TRACE(v.name);
        for (bool lightSecond : {true, false}) {
            SCOPED_TRACE(lightSecond ? "light below / right" : "light above / left");
            const uint8_t* first = lightSecond ? dark : light;
            const uint8_t* second = lightSecond ? light : dark;
            const int sign = lightSecond ? 1 : -1;
            for (int k : {10, 11, 12, 13}) {
                SCOPED_TRACE(FilterTable[k].Name);
                const bool rows = k == 10 || k == 12; // split into a top and a bottom half
                const int bias = k >= 12 ? 128 : 0;
                zb::DibPicture dib(36, 36, 24);
                RasterView view = zb::ViewOf(dib);
                ASSERT_FALSE(view.empty());
                for (int y = 0; y < 36; ++y)
                    for (int x = 0; x < 36; ++x) std::memcpy(view.pixel(x, y), (rows ? y : x) < 18 ? first : second, 3);
                ASSERT_TRUE(RunVariant(v, view, FilterTable[k]));
                for (int i = 0; i < 36; ++i) {
                    // Both lines next to the boundary see three pixels of each half.
                    for (int line : {17, 18}) {
                        const uint8_t* p = rows ? view.pixel(i, line) : view.pixel(line, i);
                        for (int c = 0; c < 3; ++c)
                            ASSERT_EQ(p[c], std::clamp(bias + sign * 3 * (light[c] - dark[c]), 0, 255))
                                << "line " << line << " at " << i << " channel " << c;
                    }
                    const uint8_t* far = rows ? view.pixel(i, 5) : view.pixel(5, i);
                    ASSERT_EQ(far[1], bias);
                }
            }
        }
    }
}

// A single brighter pixel on grey shows each weight at the mirrored offset:
// weight 5a + b (a - 2 columns right, b - 2 rows below) reaches the pixel a - 2
// columns left of and b - 2 rows above the bright one.
TEST(Filter, ImpulseResponseMirrorsTheWeights) {
    const int grey = 40, delta = 3, w = 41, h = 9, cx = 20, cy = 4;
    for (const Variant& v : SupportedVariants()) {
        SCOPED_TRACE(v.name);
        for (int k = 0; k < zb::kFilterCount; ++k) {
            SCOPED_TRACE(FilterTable[k].Name);
            const FilterEntry& f = FilterTable[k];
            int sum = 0;
            for (int32_t wt : f.Weights) sum += wt;
            TestRaster raster(w, h);
            Fill(raster.view(), grey, grey, grey);
            std::memset(raster.view().pixel(cx, cy), grey + delta, 3);
            ASSERT_TRUE(RunVariant(v, raster.view(), f));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int a = cx - x + 2, b = cy - y + 2;
                    const int weight = (a >= 0 && a < 5 && b >= 0 && b < 5) ? f.Weights[5 * a + b] : 0;
                    const int want = std::clamp((sum * grey + weight * delta) / f.Divisor + f.Bias, 0, 255);
                    ASSERT_EQ(raster.view().pixel(x, y)[1], want) << "x " << x << " y " << y;
                }
        }
    }
}

// The fast kernels against the plain algorithm on random rasters of awkward sizes.
TEST(Filter, EveryPathMatchesTheReferenceOnRandomRasters) {
    const std::vector<Variant> variants = SupportedVariants();
    uint32_t seed = BaseSeed();
    // Widths around the vector block sizes and, from 515 on, rows long enough
    // to be cut into chunks, with short remainders.
    for (int w : {1, 2, 3, 5, 10, 11, 17, 21, 22, 67, 213, 515, 520, 1031}) {
        for (int h : {1, 2, 3, 5, 241}) {
            if (w > 213 && h > 5) continue;
            for (int k = 0; k < zb::kFilterCount; ++k) {
                ++seed;
                SCOPED_TRACE("seed " + std::to_string(seed) + " size " + std::to_string(w) + "x" +
                             std::to_string(h) + " filter " + FilterTable[k].Name);
                TestRaster expected(w, h);
                expected.fillRandom(seed);
                ASSERT_TRUE(ApplyFilterReference(expected.view(), FilterTable[k]));
                const std::vector<uint8_t> want = Pixels(expected.view());
                for (const Variant& v : variants) {
                    if (v.reference) continue;
                    SCOPED_TRACE(v.name);
                    TestRaster raster(w, h, 7 + w % 5);
                    raster.fillRandom(seed);
                    ASSERT_TRUE(RunVariant(v, raster.view(), FilterTable[k]));
                    ASSERT_EQ(Pixels(raster.view()), want);
                    ASSERT_TRUE(raster.paddingIntact());
                }
            }
        }
    }
}

// Bands filter in place next to each other; their seams must not see rows a
// neighbour has already overwritten, whether bands run one after another or
// on separate threads (the large raster).
TEST(Filter, BandSeamsMatchTheReference) {
    uint32_t seed = BaseSeed() ^ 0x5EA5u;
    struct Case {
        int w, h, bands;
    };
    const Case cases[] = {{19, 5, 2}, {19, 5, 5}, {40, 9, 3}, {40, 13, 4}, {67, 31, 7}, {701, 503, 0}, {701, 503, 3}};
    for (const Case& c : cases) {
        for (int k : {0, 2, 6, 7, 12}) {
            ++seed;
            SCOPED_TRACE("seed " + std::to_string(seed) + " size " + std::to_string(c.w) + "x" +
                         std::to_string(c.h) + " bands " + std::to_string(c.bands) + " filter " +
                         FilterTable[k].Name);
            TestRaster expected(c.w, c.h);
            expected.fillRandom(seed);
            ASSERT_TRUE(ApplyFilterReference(expected.view(), FilterTable[k]));
            for (FilterIsa isa : {FilterIsa::Automatic, FilterIsa::Scalar}) {
                TestRaster raster(c.w, c.h);
                raster.fillRandom(seed);
                FilterRunOptions o;
                o.isa = isa;
                o.bands = c.bands;
                ASSERT_TRUE(ApplyFilterWith(raster.view(), FilterTable[k], o));
                ASSERT_EQ(Pixels(raster.view()), Pixels(expected.view()));
                ASSERT_TRUE(raster.paddingIntact());
            }
        }
    }
}

// Entries that are not in the table take the scalar kernel: sums beyond 16
// bits, a negative divisor, a bias with a divisor, a divisor of 0 (counts as 1).
TEST(Filter, EntriesOutsideTheTableMatchTheReference) {
    FilterEntry heavy{7, -3, {}, "heavy"};
    for (int i = 0; i < 25; ++i) heavy.Weights[i] = (i % 3 == 0 ? 1 : -1) * (1000 + 37 * i);
    FilterEntry negative{-3, 20, {}, "negative"};
    for (int i = 0; i < 25; ++i) negative.Weights[i] = i - 12;
    FilterEntry huge{1, 0, {}, "huge"};
    for (int i = 0; i < 25; ++i) huge.Weights[i] = INT32_MAX - i; // 32-bit sums wrap
    FilterEntry zero = FilterTable[3];
    zero.Divisor = 0;
    FilterEntry copy = FilterTable[7];
    copy.Name = "copy";

    uint32_t seed = BaseSeed() ^ 0xC0DEu;
    for (const FilterEntry* f : {&heavy, &negative, &huge, &zero, &copy}) {
        for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {37, 23}}) {
            ++seed;
            SCOPED_TRACE(std::string(f->Name) + " seed " + std::to_string(seed));
            TestRaster expected(w, h), raster(w, h);
            expected.fillRandom(seed);
            raster.fillRandom(seed);
            ASSERT_TRUE(ApplyFilterReference(expected.view(), *f));
            ASSERT_TRUE(ApplyFilter(raster.view(), *f));
            EXPECT_EQ(Pixels(raster.view()), Pixels(expected.view()));
        }
    }
    // The divisor-0 entry behaves exactly like a divisor of 1.
    FilterEntry one = zero;
    one.Divisor = 1;
    TestRaster a(9, 9), b(9, 9);
    a.fillRandom(seed);
    b.fillRandom(seed);
    ASSERT_TRUE(ApplyFilter(a.view(), zero));
    ASSERT_TRUE(ApplyFilter(b.view(), one));
    EXPECT_EQ(Pixels(a.view()), Pixels(b.view()));
}

TEST(Filter, NoWorkingMemoryLeavesTheRasterUntouched) {
    TestRaster raster(50, 20);
    raster.fillRandom(7);
    const std::vector<uint8_t> before = Pixels(raster.view());
    FilterRunOptions o;
    o.workBytesLimit = 1;
    for (int k = 0; k < zb::kFilterCount; ++k) EXPECT_FALSE(ApplyFilterWith(raster.view(), FilterTable[k], o));
    EXPECT_EQ(Pixels(raster.view()), before);
    EXPECT_TRUE(raster.paddingIntact());

    // A raster with nothing in it is not a failure.
    EXPECT_TRUE(ApplyFilter(RasterView{}, FilterTable[0]));
    EXPECT_TRUE(ApplyFilterReference(RasterView{}, FilterTable[0]));
}
