// A sheet of several bands is composed one band ahead of the one being
// written: the bands handed over are still the whole sheet's rows, in order,
// and a failed write or a stop ends it with that result, nothing composed
// or handed over after it.
#include <gtest/gtest.h>

#include <cstring>
#include <stop_token>
#include <vector>

#include "CupsTestUtil.h"
#include "output/SheetBands.h"
#include "render/Compositor.h"

namespace {

using zb::JobResult;

TEST(SheetBands, BandsAheadAreTheWholeSheetsRowsAndStopWithTheirCaller) {
    zb::Design design;
    zb::test::SampleDesign(design, 40, 6);
    const zb::RasterSize sheet{401, 300};
    const uint32_t seed = 4242;
    zb::Compositor whole;
    ASSERT_EQ(whole.EnsureSize(sheet), "");
    zb::RandomInt random(seed);
    ASSERT_TRUE(whole.Compose(design, 300, 100, random, nullptr).ok());
    const zb::RasterView expected = whole.DesignView();

    struct Case {
        int rowsPerBand;
        int failAt; // band whose take fails, -1 none
        int stopAt; // band during whose take the job is stopped, -1 none
        JobResult::Kind result;
        int bandsTaken;
    };
    const Case cases[] = {
        {300, -1, -1, JobResult::Kind::Done, 1},   {7, -1, -1, JobResult::Kind::Done, 43},
        {1, -1, -1, JobResult::Kind::Done, 300},   {7, 3, -1, JobResult::Kind::Failed, 4},
        {7, -1, 2, JobResult::Kind::Cancelled, 3}, {300, -1, 0, JobResult::Kind::Cancelled, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "bands of " << c.rowsPerBand << ", failing at " << c.failAt
                                        << ", stopped at " << c.stopAt);
        zb::BandComposer composer(design, sheet, 300, 100, seed, nullptr);
        std::stop_source stop;
        int told = 0;
        const zb::SheetProgress progress = [&](int, int, int done, int layers) {
            EXPECT_EQ(done, told + 1);
            EXPECT_LE(done, layers);
            told = done;
            return true;
        };
        zb::SheetBands bands(composer, c.rowsPerBand, progress, stop.get_token(), 1, 1, 3,
                             int64_t(sheet.width) * sheet.height);
        int taken = 0, row = 0;
        const JobResult result = bands.Compose({0, 0, sheet.width, sheet.height}, [&](zb::RasterView band, int top) {
            EXPECT_EQ(top, row);
            for (int y = 0; y < band.height; ++y)
                EXPECT_EQ(std::memcmp(band.row(y), expected.row(top + y), size_t(sheet.width) * 3), 0) << "row " << top + y;
            row += band.height;
            if (taken++ == c.stopAt) stop.request_stop();
            return taken - 1 == c.failAt ? JobResult::Failed("Schreibfehler") : JobResult::Done();
        });
        EXPECT_EQ(result.kind, c.result);
        EXPECT_EQ(taken, c.bandsTaken);
        if (c.result == JobResult::Kind::Done) {
            EXPECT_EQ(told, 3);
        }
    }
}

} // namespace
