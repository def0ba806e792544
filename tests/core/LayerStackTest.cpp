#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "base/DibCopy.h"
#include "model/LayerStack.h"
#include "model/SpinField.h"

using namespace zb;

namespace {

// A texture library of one 24-bit picture whose pixels carry a marker.
struct OneTexture {
    std::vector<DibPicture> textures;
    OneTexture() {
        DibPicture& t = textures.emplace_back(7, 3, 24);
        setpixel(t.dib(), 2, 1, RGBColor(10, 20, 30));
    }
};

// Builds a design of `n` layers tagged by their PatternCount (1, 2, 3, ...).
void MakeStack(Design& d, int n) {
    std::vector<DibPicture> empty;
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(NewPlane(d, empty), "");
        d.Layers.back().PatternCount = i + 1;
    }
}

std::vector<int> Tags(Design& d) {
    std::vector<int> out;
    for (uint32_t i = 0; i < d.Layers.size(); ++i) out.push_back(d.Layers[i].PatternCount);
    return out;
}

} // namespace

TEST(LayerStack, NewLayerHasTheDefaultsAndLiesOnTop) {
    Design d;
    OneTexture lib;
    MakeStack(d, 1);
    ASSERT_EQ(NewPlane(d, lib.textures), "");
    EXPECT_EQ(d.Layers.size(), 2u);
    EXPECT_EQ(d.Layers.SelectedIndex(), 1);
    const TLayerRecord& l = d.Layers[1];
    EXPECT_EQ(l.Kind, kKindTexture);
    EXPECT_EQ(l.Transparency, 0);
    EXPECT_EQ(l.GradientColor1, RGBColor(0, 0, 255));
    EXPECT_EQ(l.GradientColor2, 0u);
    EXPECT_EQ(l.TextCount, 5);
    EXPECT_EQ(l.PatternCount, 100);
    EXPECT_EQ(l.TextSize, 12);
    EXPECT_EQ(l.PatternSizeMM, 30.0);
    EXPECT_EQ(l.PictureWidthMM, 75.0);
    EXPECT_EQ(l.FilterIndex, 0);
    EXPECT_EQ(l.FontName, "Arial");
    EXPECT_EQ(l.LayerText, "Test");
    // The picture is a deep copy of texture 0, not shared storage.
    ASSERT_NE(l.LayerPicture.dib().Bits, nullptr);
    EXPECT_NE(l.LayerPicture.dib().Bits, lib.textures[0].dib().Bits);
    EXPECT_EQ(DibWidth(l.LayerPicture), 7);
    EXPECT_EQ(getpixel(l.LayerPicture, 2, 1), RGBColor(10, 20, 30));
}

TEST(LayerStack, WithoutTexturesTheFirstLayerGetsABlackTenByTenPicture) {
    Design d;
    MakeStack(d, 1);
    const TDibRecord& pic = d.Layers[0].LayerPicture;
    ASSERT_NE(pic.Bits, nullptr);
    EXPECT_EQ(DibWidth(pic), 10);
    EXPECT_EQ(DibHeight(pic), 10);
    EXPECT_EQ(DibBitCount(pic), 24);
    EXPECT_EQ(pic.BytesPerLine, 32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(getpixel(pic, x, y), 0u);
}

TEST(LayerStack, DeleteSelectsTheFollowingLayerOrTheNewTop) {
    {
        Design d;
        MakeStack(d, 3);
        EXPECT_EQ(DeletePlane(d, 2), "");
        EXPECT_EQ(Tags(d), (std::vector<int>{1, 2}));
        EXPECT_EQ(d.Layers.SelectedIndex(), 1);
    }
    {
        Design d;
        MakeStack(d, 3);
        EXPECT_EQ(DeletePlane(d, 0), "");
        EXPECT_EQ(Tags(d), (std::vector<int>{2, 3}));
        EXPECT_EQ(d.Layers.SelectedIndex(), 0);
        EXPECT_EQ(d.Layers.Selected()->PatternCount, 2);
    }
}

TEST(LayerStack, RefusedDeletesNameTheReasonAndChangeNothing) {
    Design one;
    MakeStack(one, 1);
    EXPECT_EQ(DeletePlane(one, 0), kCannotDeleteLast);
    EXPECT_EQ(DeletePlane(one, -1), kNoLayerSelected); // no selection is reported first
    EXPECT_EQ(one.Layers.size(), 1u);
    EXPECT_NE(one.Layers[0].LayerPicture.dib().Bits, nullptr);

    Design three;
    MakeStack(three, 3);
    three.Layers.Select(1);
    EXPECT_EQ(DeletePlane(three, -1), kNoLayerSelected);
    EXPECT_EQ(Tags(three), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(three.Layers.SelectedIndex(), 1);
}

TEST(LayerStack, MovingFollowsTheLayerAndStopsAtTheEnds) {
    Design d;
    MakeStack(d, 3);
    EXPECT_EQ(MovePlaneUp(d, 2), "");
    EXPECT_EQ(Tags(d), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(d.Layers.SelectedIndex(), 1);
    EXPECT_EQ(d.Layers.Selected()->PatternCount, 3);
    EXPECT_EQ(MovePlaneDown(d, 0), "");
    EXPECT_EQ(Tags(d), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(d.Layers.SelectedIndex(), 1);
    // Row 0 up and the top row down change no record.
    EXPECT_EQ(MovePlaneUp(d, 0), "");
    EXPECT_EQ(MovePlaneDown(d, 2), "");
    EXPECT_EQ(Tags(d), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(d.Layers.SelectedIndex(), 2);
    EXPECT_EQ(MovePlaneUp(d, -1), kNoLayerSelected);
    EXPECT_EQ(MovePlaneDown(d, 3), kNoLayerSelected);
}

TEST(LayerStack, KeepBottomLayerLeavesRecordZeroAsItWas) {
    Design d;
    MakeStack(d, 3);
    d.Layers[0].LayerText = "Unten";
    KeepBottomLayer(d);
    ASSERT_EQ(d.Layers.size(), 1u);
    EXPECT_EQ(d.Layers.SelectedIndex(), 0);
    EXPECT_EQ(d.Layers[0].PatternCount, 1);
    EXPECT_EQ(d.Layers[0].LayerText, "Unten");
}

// The list's own edits, each on a stack tagged 1 .. 4 with layer 3 selected:
// the order they leave and the selection. Indices outside the stack change nothing.
TEST(LayerList, EditsKeepTheOrderAndTheSelectionAsTheySay) {
    struct Case {
        const char* what;
        std::function<void(LayerList&)> edit;
        std::vector<int> tags;
        int selected;
    };
    const auto inserted = [](size_t at) {
        return [at](LayerList& l) { l.Insert(at, TLayerRecord{}).PatternCount = 9; };
    };
    const Case cases[] = {
        {"move up", [](LayerList& l) { l.Move(0, 2); }, {2, 3, 1, 4}, 3},
        {"move down", [](LayerList& l) { l.Move(3, 1); }, {1, 4, 2, 3}, 3},
        {"move outside", [](LayerList& l) { l.Move(1, 4); }, {1, 2, 3, 4}, 3},
        {"swap", [](LayerList& l) { l.Swap(3, 0); }, {4, 2, 3, 1}, 3},
        {"swap outside", [](LayerList& l) { l.Swap(4, 0); }, {1, 2, 3, 4}, 3},
        {"insert", inserted(1), {1, 9, 2, 3, 4}, 3},
        {"insert past the top", inserted(7), {1, 2, 3, 4, 9}, 3},
        {"remove below", [](LayerList& l) { l.Remove(0); }, {2, 3, 4}, 2},
        {"remove the top, selected", [](LayerList& l) { l.Remove(3); }, {1, 2, 3}, 2},
        {"remove outside", [](LayerList& l) { l.Remove(4); }, {1, 2, 3, 4}, 3},
        {"clear", [](LayerList& l) { l.Clear(); }, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LayerList list;
        for (int tag = 1; tag <= 4; ++tag) list.Add().PatternCount = tag;
        list.Select(3);
        c.edit(list);
        std::vector<int> tags;
        for (const TLayerRecord& layer : list) tags.push_back(layer.PatternCount);
        EXPECT_EQ(tags, c.tags);
        EXPECT_EQ(list.SelectedIndex(), c.selected);
    }
    LayerList list;
    list.Add();
    list.Select(1);
    EXPECT_EQ(list.Selected(), nullptr);
    list.Select(0);
    EXPECT_EQ(list.Selected(), &list[0]);
}

TEST(LayerStack, DroppedRowsLandInTheGapTheyWereDroppedInto) {
    struct Case {
        int from, over;
        bool below;
        int to;
    };
    // Four rows.
    const Case cases[] = {
        {0, 2, false, 1}, {0, 2, true, 2}, {0, 3, true, 3}, {0, -1, false, 3}, {3, 0, false, 0},
        {3, 0, true, 1},  {2, 2, false, 2}, {2, 2, true, 2}, {1, 0, true, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DropPlace(c.from, c.over, c.below, 4), c.to) << c.from << " over " << c.over << (c.below ? " below" : "");
}

TEST(LayerStack, KindCaptions) {
    EXPECT_EQ(LayerKindCaption(0), "Farbverlauf");
    EXPECT_EQ(LayerKindCaption(2), "Grafik");
    EXPECT_EQ(LayerKindCaption(4), "Text");
    EXPECT_EQ(LayerKindCaption(5), "");
    EXPECT_EQ(LayerKindCaption(0xFFFFFFFFu), "");
}

TEST(SpinField, LimitsAndRoundsLikeTheField) {
    struct Case {
        SpinField field;
        double in;
        double out;
        const char* text;
    } cases[] = {
        {kHochEd, 28.0, 28.0, "28,00"},
        {kHochEd, 112.0, 100.0, "100,00"},
        {kHochEd, 0.0, 1.0, "1,00"},
        {kBreitVEd, 5.714285714, 5.71, "5,71"},
        {kDezVEd, 0.625, 0.625, "0,6250"},
        {kDezVEd, 5.0 / 7.0, 0.7143, "0,7143"},
        {kZoomEd, 34.6, 35.0, "35"},
        {kRandXEd, -1.0, 0.0, "0,00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(c.field.Limit(c.in), c.out);
        EXPECT_EQ(c.field.Format(c.in), c.text);
    }
}
