#include <gtest/gtest.h>

#include "workspace/UndoHistory.h"
#include "model/LayerStack.h"

using namespace zb;

namespace {

struct Library {
    std::vector<DibPicture> textures;
};

void ReplacePicture(TLayerRecord& l, int w, int h, uint32_t marker) {
    l.LayerPicture = DibPicture(w, h, 24);
    setpixel(l.LayerPicture.dib(), 0, 0, marker);
}

std::vector<int> Counts(const Design& d) {
    std::vector<int> out;
    for (uint32_t i = 0; i < d.Layers.size(); ++i) out.push_back(d.Layers[i].PatternCount);
    return out;
}

} // namespace

TEST(UndoHistory, EachKindOfChangeGoesBackAndForth) {
    Library lib;
    Design d;
    NewPlane(d, lib.textures);
    UndoHistory h;
    h.Reset(d);
    EXPECT_FALSE(h.CanUndo());

    // A setting, a text, a kind, a picture, a new layer, a move, a delete, the paper.
    d.Layers.back().PatternCount = 7;
    ASSERT_TRUE(h.Record(d));
    d.Layers.back().LayerText = "Hallo";
    d.Layers.back().Kind = kKindGradient;
    ASSERT_TRUE(h.Record(d));
    ReplacePicture(d.Layers.back(), 30, 20, RGBColor(9, 9, 9));
    ASSERT_TRUE(h.Record(d));
    NewPlane(d, lib.textures);
    d.Layers.back().PatternCount = 8;
    ASSERT_TRUE(h.Record(d));
    MovePlaneUp(d, 1);
    ASSERT_TRUE(h.Record(d));
    EXPECT_EQ(Counts(d), (std::vector<int>{8, 7}));
    DeletePlane(d, 0);
    ASSERT_TRUE(h.Record(d));
    d.Paper.RandX = 1.5;
    ASSERT_TRUE(h.Record(d));
    EXPECT_EQ(h.StateCount(), 8u);

    // Selection and zoom alone are no step.
    d.Paper.Zoom = 120;
    EXPECT_FALSE(h.Record(d));

    EXPECT_EQ(h.Undo(d), "");
    EXPECT_EQ(d.Paper.RandX, 0.0);
    EXPECT_EQ(d.Paper.Zoom, 120.0);
    h.Undo(d); // delete
    EXPECT_EQ(Counts(d), (std::vector<int>{8, 7}));
    h.Undo(d); // move
    EXPECT_EQ(Counts(d), (std::vector<int>{7, 8}));
    EXPECT_EQ(d.Layers.SelectedIndex(), 1);
    h.Undo(d); // new layer
    EXPECT_EQ(Counts(d), (std::vector<int>{7}));
    h.Undo(d); // picture
    EXPECT_EQ(DibWidth(d.Layers[0].LayerPicture), 10);
    h.Undo(d); // text and kind
    EXPECT_EQ(d.Layers[0].LayerText, "Test");
    EXPECT_EQ(d.Layers[0].Kind, kKindTexture);
    h.Undo(d);
    EXPECT_EQ(d.Layers[0].PatternCount, 100);
    EXPECT_FALSE(h.CanUndo());
    EXPECT_EQ(d.Layers.SelectedIndex(), 0);

    for (int i = 0; i < 3; ++i) h.Redo(d);
    EXPECT_EQ(DibWidth(d.Layers[0].LayerPicture), 30);
    EXPECT_EQ(getpixel(d.Layers[0].LayerPicture, 0, 0), RGBColor(9, 9, 9));
    EXPECT_EQ(d.Layers[0].LayerText, "Hallo");

    // A new change drops what could have been redone.
    d.Layers.back().TextSize = 40;
    ASSERT_TRUE(h.Record(d));
    EXPECT_FALSE(h.CanRedo());
}

TEST(UndoHistory, UnchangedPicturesAreSharedAndTheBoundDropsOldSteps) {
    Library lib;
    Design d;
    NewPlane(d, lib.textures);
    ReplacePicture(d.Layers.back(), 1000, 1000, 1); // about 3 MB
    UndoHistory big;
    big.Reset(d);
    const size_t one = big.Bytes();
    for (int i = 0; i < 20; ++i) {
        d.Layers.back().PatternCount = 200 + i;
        ASSERT_TRUE(big.Record(d));
    }
    // Twenty steps over the same picture hold it once.
    EXPECT_LT(big.Bytes(), one + 20 * 4096);

    // A bound of about two pictures keeps only the newest steps.
    UndoHistory small(7'000'000);
    small.Reset(d);
    for (int i = 0; i < 5; ++i) {
        ReplacePicture(d.Layers.back(), 1000, 1000, uint32_t(i + 2));
        ASSERT_TRUE(small.Record(d));
        EXPECT_LE(small.Bytes(), 7'000'000u);
    }
    EXPECT_EQ(small.StateCount(), 2u);
    small.Undo(d);
    EXPECT_EQ(getpixel(d.Layers[0].LayerPicture, 0, 0), 5u);
    EXPECT_FALSE(small.CanUndo());
}
