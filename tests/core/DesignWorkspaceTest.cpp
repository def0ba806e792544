#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "base/Cancellation.h"
#include "base/ParallelRows.h"
#include "model/LayerChoices.h"
#include "render/Compositor.h"
#include "workspace/DesignWorkspace.h"

using namespace zb;

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

std::vector<uint8_t> Bytes(RasterView v) {
    std::vector<uint8_t> out;
    for (int y = 0; y < v.height; ++y) out.insert(out.end(), v.row(y), v.row(y) + v.width * 3);
    return out;
}

// A4 at 600 dpi: at 96 ppi and 100 % the sheet is 761 x 1084 pixels.
const PrinterFacts kA4{{4760, 6779, 600, 600}, true};

// A gradient under a dense pattern of large random discs, softened by a filter:
// long enough to compose that an edit meets it under way.
void MakeDenseDesign(DesignWorkspace& w) {
    w.Start();
    w.StoreEditor([](TLayerRecord& l) { l.Kind = kKindGradient; });
    w.NewLayer();
    w.StoreEditor([](TLayerRecord& l) {
        l.Kind = kKindPattern;
        l.PatternCount = 100000;
        l.PatternSizeMM = 100;
        l.PatternSizeMode = kPatternSizeRandom;
    });
    w.NewLayer();
    w.StoreEditor([](TLayerRecord& l) { l.Kind = kKindFilter; });
    w.SetZoom(100);
}

} // namespace

// Bands of work stop at the next band once their flag is set, and run
// unchanged without one.
TEST(Cancellation, ParallelRowsStopsBetweenBands) {
    const int height = 1000;
    const int64_t large = int64_t(1) << 24; // enough to use every core
    struct Case {
        bool scoped;
        bool setBefore;
        bool expectAll;
    } cases[] = {{false, false, true}, {true, false, true}, {true, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scoped " << c.scoped << " set before " << c.setBefore);
        std::atomic<bool> flag{c.setBefore};
        std::vector<std::atomic<int>> seen(height);
        const auto kernel = [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) seen[size_t(y)]++;
        };
        if (c.scoped) {
            CancelScope scope(&flag);
            ParallelRows(height, large, kernel);
        } else {
            ParallelRows(height, large, kernel);
        }
        int done = 0;
        for (const auto& n : seen) {
            ASSERT_LE(n.load(), 1);
            done += n.load();
        }
        EXPECT_EQ(done, c.expectAll ? height : 0);
    }
    EXPECT_EQ(CurrentCancelFlag(), nullptr);
}

// A sheet composes away from the caller; an edit under way cancels it at
// once, and the sheet then shown is exactly the one its seed gives.
TEST(DesignWorkspace, AnEditCancelsTheCompositionUnderWayAndTheShownSheetIsItsSeeds) {
    DesignWorkspace w(77, kA4, nullptr);
    MakeDenseDesign(w);
    ASSERT_EQ(w.SheetSize(96), (RasterSize{761, 1084}));

    Clock::time_point start = Clock::now();
    EXPECT_EQ(w.Compose(96, 0), "");
    EXPECT_LT(MillisecondsSince(start), 50.0);
    EXPECT_TRUE(w.Composing());
    EXPECT_TRUE(w.Stale());
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_TRUE(w.Composing()) << "the composition ended too soon to be cancelled";

    // Fewer shapes: the running composition is cancelled within a band.
    ASSERT_EQ(w.EditorLayer().Kind, uint32_t(kKindFilter));
    w.Select(1);
    start = Clock::now();
    w.StoreEditor([](TLayerRecord& l) { l.PatternCount = 3000; });
    while (w.Composing() && MillisecondsSince(start) < 5000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double cancelMs = MillisecondsSince(start);
    RecordProperty("cancel_ms", std::to_string(cancelMs));
    EXPECT_LT(cancelMs, 200.0);
    EXPECT_EQ(w.CompositionCount(), 0);

    EXPECT_EQ(w.Compose(96, -1), "");
    EXPECT_FALSE(w.Stale());
    EXPECT_EQ(w.CompositionCount(), 1);
    // The cancelled sheet was never shown: the generator did not move on.
    EXPECT_EQ(w.Sheet().StartSeed(), 77u);
    EXPECT_EQ(w.Seed().Number(), 77u);
    Compositor reference;
    ASSERT_EQ(reference.EnsureSize({761, 1084}), "");
    ASSERT_EQ(reference.ComposeFromSeed(w.GetDesign(), 96, 100, 77, nullptr), "");
    EXPECT_TRUE(Bytes(reference.DesignView()) == Bytes(w.Sheet().DesignView()));
    // The selection stays where the user put it.
    EXPECT_EQ(w.CurrentIndex(), 1);
}

// Undo and redo show again the very sheet each step showed. An edit keeps
// the sheet (only the edited layer changes); "Neu würfeln" is the way to a
// fresh one.
TEST(DesignWorkspace, UndoAndRedoBringBackTheSheetsThatWereShown) {
    DesignWorkspace w(99, kA4, nullptr);
    w.Start();
    auto edit = [&w](uint32_t colour) {
        w.StoreEditor([colour](TLayerRecord& l) {
            l.Kind = kKindPattern;
            l.PatternCount = 60;
            l.PatternColor = colour;
            l.PatternColorMode = kColorSimilar;
        });
        EXPECT_EQ(w.Compose(96, -1), "");
        w.CommitPendingEdit();
        return std::make_pair(w.Sheet().StartSeed(), Bytes(w.Sheet().DesignView()));
    };
    const auto first = edit(0x0000FF);
    const auto second = edit(0x00FF00);
    ASSERT_EQ(first.first, second.first);
    ASSERT_NE(first.second, second.second);
    w.Reroll();
    const auto third = edit(0xFF0000);
    ASSERT_NE(second.first, third.first);
    ASSERT_EQ(w.History().StateCount(), 4u);

    const auto shown = [&w] {
        EXPECT_EQ(w.Compose(96, -1), "");
        return std::make_pair(w.Sheet().StartSeed(), Bytes(w.Sheet().DesignView()));
    };
    w.Undo();
    EXPECT_TRUE(shown() == second);
    w.Undo();
    EXPECT_TRUE(shown() == first);
    w.Redo();
    EXPECT_TRUE(shown() == second);
    w.Redo();
    EXPECT_TRUE(shown() == third);
    w.Reroll();
    EXPECT_NE(shown().first, third.first);
}

// Which changes keep the sheet (its start, so the same shapes at the new
// size) and which start a fresh one; "Bogen festhalten" keeps it through
// another design too.
TEST(DesignWorkspace, OnlyRerollAndAnotherDesignStartAFreshSheet) {
    const PrinterFacts letter{{5100, 6600, 600, 600}, false};
    const struct {
        const char* what;
        std::function<void(DesignWorkspace&, int&)> change;
        bool keeps;
    } cases[] = {
        {"zoom", [](DesignWorkspace& w, int&) { w.SetZoom(45); }, true},
        {"paper size", [](DesignWorkspace& w, int&) {
             PaperSettings paper = w.Paper();
             paper.PrintAll = false;
             paper.Breit = 12;
             w.SetPaper(paper, true);
         }, true},
        {"printer page", [&](DesignWorkspace& w, int&) { w.SetPrinter(letter); }, true},
        {"screen scaling", [](DesignWorkspace&, int& ppi) { ppi = 144; }, true},
        {"Neu würfeln", [](DesignWorkspace& w, int&) { w.Reroll(); }, false},
        {"Neu", [](DesignWorkspace& w, int&) { w.New(); }, false},
        {"Neu, festgehalten", [](DesignWorkspace& w, int&) {
             w.SetHold(true);
             w.New();
         }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DesignWorkspace w(31, kA4, nullptr);
        w.Start();
        w.StoreEditor([](TLayerRecord& l) {
            l.Kind = kKindPattern;
            l.PatternCount = 40;
        });
        int ppi = 96;
        ASSERT_EQ(w.Compose(ppi, -1), "");
        const uint32_t start = w.Seed().Number();
        const RasterSize size = w.Sheet().Size();
        c.change(w, ppi);
        ASSERT_EQ(w.Compose(ppi, -1), "");
        EXPECT_EQ(w.Sheet().StartSeed(), w.Seed().Number());
        EXPECT_EQ(w.Seed().Number() == start, c.keeps);
        if (c.keeps && std::strcmp(c.what, "Neu, festgehalten") != 0) {
            EXPECT_FALSE(w.Sheet().Size() == size);
        }
    }
}
