#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestRaster.h"
#include "imaging/FilterReference.h"
#include "imaging/FilterRunner.h"
#include "imaging/FilterTable.h"
#include "imaging/ScaledFilter.h"

using zb::test::TestRaster;

namespace {

bool SamePixels(zb::RasterView a, zb::RasterView b) {
    for (int y = 0; y < a.height; ++y)
        if (std::memcmp(a.row(y), b.row(y), size_t(a.width) * 3) != 0) return false;
    return true;
}

// The first differing pixel, for the failure message.
std::string FirstDifference(zb::RasterView a, zb::RasterView b) {
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width * 3; ++x)
            if (a.row(y)[x] != b.row(y)[x])
                return "x " + std::to_string(x / 3) + " y " + std::to_string(y) + " channel " + std::to_string(x % 3) +
                       ": " + std::to_string(a.row(y)[x]) + " vs " + std::to_string(b.row(y)[x]);
    return "none";
}

} // namespace

TEST(ScaledFilter, ScaleStep) {
    const struct {
        double scale;
        int step;
    } cases[] = {{0.2, 1}, {1.0, 1}, {1.49, 1}, {1.5, 2}, {6.25, 6}, {20.83, 21}, {127.6, 128}, {1e9, 128}, {-3, 1}};
    for (const auto& c : cases) EXPECT_EQ(zb::FilterScaleStep(c.scale), c.step) << c.scale;
}

// At k = 1 the scaled filter is the plain one, bit for bit, in both the fast
// routine and the plain loop.
TEST(ScaledFilter, ScaleOneIsThePlainFilter) {
    const uint32_t seed = 4711;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    for (int f = 0; f < zb::kFilterCount; ++f) {
        SCOPED_TRACE(zb::FilterTable[f].Name);
        TestRaster plain(61, 29), scaled(61, 29), reference(61, 29);
        plain.fillRandom(seed);
        scaled.fillRandom(seed);
        reference.fillRandom(seed);
        ASSERT_TRUE(zb::ApplyFilter(plain.view(), zb::FilterTable[f]));
        ASSERT_TRUE(zb::ApplyScaledFilter(scaled.view(), zb::FilterTable[f], 1));
        ASSERT_TRUE(zb::ApplyScaledFilterReference(reference.view(), zb::FilterTable[f], 1));
        EXPECT_TRUE(SamePixels(plain.view(), scaled.view()));
        EXPECT_TRUE(SamePixels(plain.view(), reference.view())) << FirstDifference(plain.view(), reference.view());
    }
}

// The fast routine against the plain loop: every filter, scales with even and
// odd box widths, rasters narrower and lower than the taps' reach (phases
// without pixels), several row bands, each instruction set this processor runs.
TEST(ScaledFilter, MatchesThePlainLoop) {
    struct Size {
        int w, h;
    };
    const Size sizes[] = {{1, 1}, {3, 50}, {97, 41}, {40, 7}, {230, 12}};
    const int scales[] = {2, 3, 4, 7, 20};
    const zb::FilterIsa isas[] = {zb::FilterIsa::Scalar, zb::FilterIsa::Sse2, zb::FilterIsa::Avx2,
                                  zb::FilterIsa::Avx512};
    uint32_t seed = 20261207;
    for (const Size& s : sizes)
        for (int k : scales)
            for (int f = 0; f < zb::kFilterCount; ++f) {
                ++seed;
                for (zb::FilterIsa isa : isas) {
                    if (!zb::FilterIsaSupported(isa)) continue;
                    for (int bands : {1, 3}) {
                        SCOPED_TRACE(testing::Message() << s.w << " x " << s.h << " k " << k << " "
                                                        << zb::FilterTable[f].Name << " isa " << int(isa)
                                                        << " bands " << bands << " seed " << seed);
                        TestRaster fast(s.w, s.h), reference(s.w, s.h);
                        fast.fillRandom(seed);
                        reference.fillRandom(seed);
                        zb::FilterRunOptions options;
                        options.isa = isa;
                        options.bands = bands;
                        ASSERT_TRUE(zb::ApplyScaledFilter(fast.view(), zb::FilterTable[f], k, options));
                        ASSERT_TRUE(zb::ApplyScaledFilterReference(reference.view(), zb::FilterTable[f], k));
                        ASSERT_TRUE(SamePixels(fast.view(), reference.view()))
                            << FirstDifference(fast.view(), reference.view());
                        EXPECT_TRUE(fast.paddingIntact());
                    }
                }
            }
}

// What the scale is for: a blur reaches k times as far. A black column on
// white, blurred with "Weichzeichnen" (3 x 3): the plain filter greys only
// the neighbours, the filter at k = 4 greys pixels up to k + k/2 away and
// keeps a uniform area uniform.
TEST(ScaledFilter, ReachesKTimesAsFar) {
    const int w = 41, h = 9, line = 20;
    auto run = [&](int k) {
        TestRaster r(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) std::memset(r.view().pixel(x, y), x == line ? 0 : 255, 3);
        EXPECT_TRUE(zb::ApplyScaledFilter(r.view(), zb::FilterTable[0], k));
        std::vector<int> row;
        for (int x = 0; x < w; ++x) row.push_back(r.view().pixel(x, 4)[0]);
        return row;
    };
    const std::vector<int> plain = run(1), scaled = run(4);
    EXPECT_EQ(plain[line + 1], 170); // (6 x 255) div 9
    EXPECT_EQ(plain[line + 2], 255);
    EXPECT_LT(scaled[line + 4], 255);
    EXPECT_LT(scaled[line + 5], 255);
    EXPECT_EQ(scaled[line + 7], 255);
    EXPECT_EQ(scaled[0], 255);
    EXPECT_EQ(scaled[w - 1], 255);
}

// Every scale the program uses, up to the largest, against the plain loop:
// rasters smaller than the taps reach in either direction (edges replicated
// many times over), rows just wide enough for the vector kernels, and rows
// longer than one chunk of the vector box averages. The reference runs once
// per case; the fast routine with every instruction set and band count.
TEST(ScaledFilter, MatchesThePlainLoopAtEveryScale) {
    struct Case {
        int w, h, k;
    };
    const Case cases[] = {
        {1, 1, 1},    {5, 3, 1},     {230, 12, 1},  {1, 1, 2},   {2, 9, 2},     {23, 5, 2},    {1100, 6, 2},
        {4, 1, 3},    {22, 17, 3},   {1100, 5, 3},  {6, 30, 7},  {61, 29, 7},   {700, 8, 7},   {3, 3, 20},
        {30, 90, 20}, {97, 41, 20},  {1100, 5, 20}, {1, 3, 128}, {30, 4, 128},  {230, 5, 128},
    };
    const zb::FilterIsa isas[] = {zb::FilterIsa::Scalar, zb::FilterIsa::Sse2, zb::FilterIsa::Avx2,
                                  zb::FilterIsa::Avx512, zb::FilterIsa::Automatic};
    uint32_t seed = 71207;
    for (const Case& c : cases)
        for (int f = 0; f < zb::kFilterCount; ++f) {
            ++seed;
            TestRaster reference(c.w, c.h);
            reference.fillRandom(seed);
            ASSERT_TRUE(zb::ApplyScaledFilterReference(reference.view(), zb::FilterTable[f], c.k));
            for (zb::FilterIsa isa : isas) {
                if (!zb::FilterIsaSupported(isa)) continue;
                for (int bands : {1, 2, 5}) {
                    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " k " << c.k << " "
                                                    << zb::FilterTable[f].Name << " isa " << int(isa) << " bands "
                                                    << bands << " seed " << seed);
                    TestRaster fast(c.w, c.h);
                    fast.fillRandom(seed);
                    zb::FilterRunOptions options;
                    options.isa = isa;
                    options.bands = bands;
                    ASSERT_TRUE(zb::ApplyScaledFilter(fast.view(), zb::FilterTable[f], c.k, options));
                    ASSERT_TRUE(SamePixels(fast.view(), reference.view()))
                        << FirstDifference(fast.view(), reference.view());
                    EXPECT_TRUE(fast.paddingIntact());
                }
            }
        }
}

// A filter that is not in the table takes the scalar row loop with the taps
// k pixels apart; it must agree with the plain loop as the table's do.
TEST(ScaledFilter, FilterOutsideTheTableMatchesThePlainLoop) {
    zb::FilterEntry odd = zb::FilterTable[7];
    odd.Weights[3] = 5;
    odd.Bias = 17;
    odd.Divisor = 3;
    const uint32_t seed = 31337;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    for (int k : {2, 5, 20}) {
        SCOPED_TRACE(testing::Message() << "k " << k);
        TestRaster fast(150, 31), reference(150, 31);
        fast.fillRandom(seed);
        reference.fillRandom(seed);
        ASSERT_TRUE(zb::ApplyScaledFilter(fast.view(), odd, k));
        ASSERT_TRUE(zb::ApplyScaledFilterReference(reference.view(), odd, k));
        EXPECT_TRUE(SamePixels(fast.view(), reference.view())) << FirstDifference(fast.view(), reference.view());
    }
}
