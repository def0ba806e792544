// Layer names and visibility: where design files keep them, what a hidden
// layer leaves of the sheet, and the workspace's commands for them.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "DesignFileTestUtil.h"
#include "TestSeed.h"
#include "document/DesignReader.h"
#include "document/DesignWriter.h"
#include "document/LayerBlock.h"
#include "model/LayerChoices.h"
#include "render/Compositor.h"
#include "workspace/DesignWorkspace.h"

using namespace zb;
using zb::test::MemorySink;
using zb::test::MemorySource;

namespace {

constexpr size_t kFirstBlock = 4;

TLayerRecord& Add(Design& design, uint32_t kind) {
    TLayerRecord* layer = &design.Layers.Add();
    SetLayerDefaults(*layer);
    layer->Kind = kind;
    layer->LayerPicture = DibPicture(4, 3, 24);
    return *layer;
}

// Three layers; names and visibility of the middle one as given.
std::vector<uint8_t> ThreeLayerFile(const std::string& name, bool visible, bool seamless = false) {
    Design design;
    Add(design, kKindGradient);
    TLayerRecord& middle = Add(design, kKindPattern);
    middle.Name = name;
    middle.Visible = visible;
    Add(design, kKindText);
    design.Paper.Seamless = seamless;
    MemorySink sink;
    EXPECT_TRUE(WriteDesign(design, sink));
    return sink.bytes;
}

size_t SecondBlock(const std::vector<uint8_t>& plainThree) {
    // Every layer of ThreeLayerFile takes the same number of bytes.
    return kFirstBlock + (plainThree.size() - kFirstBlock - 68) / 3;
}

struct Read {
    std::string message;
    std::vector<std::string> names;
    std::vector<bool> visible;
    bool seamless = false;
};

Read ReadBack(std::vector<uint8_t> bytes) {
    MemorySource source(std::move(bytes));
    Design design;
    Read r;
    r.message = ReadDesign(source, design);
    for (uint32_t i = 0; i < design.Layers.size(); ++i) {
        r.names.push_back(design.Layers[i].Name);
        r.visible.push_back(design.Layers[i].Visible);
    }
    r.seamless = design.Paper.Seamless;
    return r;
}

} // namespace

TEST(LayerNamesFile, NamesAndVisibilityRideInTheLayersOwnBlockOnly) {
    const std::vector<uint8_t> plain = ThreeLayerFile("", true);
    const size_t second = SecondBlock(plain);
    struct Case {
        std::string name;
        bool visible;
    };
    const Case cases[] = {
        {"", true}, {"Himmel", true}, {"", false}, {"Gr\xFC\xDF" "e \x80", false}, {std::string(255, 'x'), true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + (c.visible ? " sichtbar" : " ausgeblendet"));
        for (const bool seamless : {false, true}) {
            const std::vector<uint8_t> bytes = ThreeLayerFile(c.name, c.visible, seamless);
            const std::vector<uint8_t> before = ThreeLayerFile("", true, seamless);
            ASSERT_EQ(bytes.size(), before.size());
            // Only bytes the described reader never looks at differ: the
            // tail of the middle layer's block after its settings.
            for (size_t i = 0; i < bytes.size(); ++i) {
                const bool tail = i >= second + kLayerExtrasOffset && i < second + kLayerExtrasOffset + 20 + 255;
                if (!tail) {
                    ASSERT_EQ(bytes[i], before[i]) << "byte " << i;
                }
            }
            if (c.name.empty() && c.visible) {
                EXPECT_EQ(bytes, before);
            }
            const Read r = ReadBack(bytes);
            ASSERT_EQ(r.message, "");
            EXPECT_EQ(r.names, (std::vector<std::string>{"", c.name, ""}));
            EXPECT_EQ(r.visible, (std::vector<bool>{true, c.visible, true}));
            EXPECT_EQ(r.seamless, seamless);
        }
    }
}

TEST(LayerNamesFile, DamagedSignaturesAndStrayBytesAreNeverReadAsNames) {
    const std::vector<uint8_t> plain = ThreeLayerFile("", true);
    const size_t second = SecondBlock(plain);
    std::mt19937 rng(zb::test::TestSeed());
    for (int trial = 0; trial < 500; ++trial) {
        // What other writers leave there: memory contents (offsets 96 .. 1191).
        std::vector<uint8_t> bytes = plain;
        for (size_t i = kLayerBlockSettingsSize; i < kLayerBlockSize; ++i) bytes[second + i] = uint8_t(rng());
        const Read r = ReadBack(bytes);
        ASSERT_EQ(r.names[1], "") << "trial " << trial;
        ASSERT_TRUE(r.visible[1]) << "trial " << trial;
    }

    const std::vector<uint8_t> named = ThreeLayerFile("Rot", false);
    const size_t at = second + kLayerExtrasOffset;
    struct Case {
        const char* what;
        size_t offset; // from the start of the extras
        uint8_t value;
        bool read;
    };
    const Case cases[] = {
        {"signature intact", 0, 'Z', true},
        {"one signature byte differs", 5, 'E', false},
        {"version 0", 8, 0, false},
        {"version 1 with an unknown flag", 12, 0x03, false},
        {"version 1 with a byte after the name", 20 + 3, '!', false},
        {"a name longer than allowed", 17, 0x01, false},
        {"a later version is read for what version 1 knows", 9, 0x01, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = named;
        bytes[at + c.offset] = c.value;
        const Read r = ReadBack(bytes);
        ASSERT_EQ(r.message, "");
        EXPECT_EQ(r.names[1], c.read ? "Rot" : "");
        EXPECT_EQ(r.visible[1], !c.read);
    }
}

namespace {

// Texts as solid blocks, one per character.
class BlockFonts : public FontEngine {
public:
    const std::vector<std::string>& Families() override { return families_; }
    TextBitmap Render(const std::string& family, int pixelHeight, std::string_view text) override {
        TextBitmap b;
        b.height = std::max(pixelHeight, 1) + int(family.size() % 4);
        b.width = int(text.size()) * (b.height + 1);
        b.pixels.assign(size_t(b.width) * size_t(b.height), 0);
        return b;
    }

private:
    std::vector<std::string> families_{"A", "Bb", "Ccc"};
};

std::vector<uint8_t> Pixels(RasterView v) {
    std::vector<uint8_t> out;
    for (int y = 0; y < v.height; ++y) out.insert(out.end(), v.row(y), v.row(y) + size_t(v.width) * 3);
    return out;
}

// A stack where every layer shows: gradient, random shapes, random texts,
// a filter, more shapes.
void MakeStack(Design& d) {
    Add(d, kKindGradient).GradientColor1 = RGBColor(200, 30, 60);
    TLayerRecord& shapes = Add(d, kKindPattern);
    shapes.PatternCount = 80;
    shapes.PatternSizeMM = 6;
    shapes.Transparency = -1;
    TLayerRecord& text = Add(d, kKindText);
    text.TextColorMode = kColorRandom;
    text.TextCount = 6;
    text.Transparency = 1;
    Add(d, kKindFilter).FilterIndex = 2;
    TLayerRecord& top = Add(d, kKindPattern);
    top.PatternCount = 40;
    top.PatternShape = 2;
}

} // namespace

// A hidden layer is the sheet without it: the same as a layer that lets
// everything through (which still draws its numbers), and the bottom one as
// if it were deleted; the generator ends where it ends with every layer shown.
TEST(HiddenLayer, LeavesTheOtherLayersAsTheyAre) {
    BlockFonts fonts;
    for (int hidden = 0; hidden < 5; ++hidden) {
        SCOPED_TRACE("hidden layer " + std::to_string(hidden));
        Design withHidden, reference;
        MakeStack(withHidden);
        MakeStack(reference);
        withHidden.Layers[uint32_t(hidden)].Visible = false;
        if (hidden == 0) reference.Layers.Remove(0);
        else reference.Layers[uint32_t(hidden)].Transparency = kTransparencyMax;

        Compositor a, b;
        ASSERT_EQ(a.EnsureSize({90, 70}), "");
        ASSERT_EQ(b.EnsureSize({90, 70}), "");
        RandomInt ra(4711), rb(4711);
        ASSERT_EQ(a.Compose(withHidden, 96, 100, ra, &fonts).message, "");
        ASSERT_EQ(b.Compose(reference, 96, 100, rb, &fonts).message, "");
        EXPECT_EQ(Pixels(a.DesignView()), Pixels(b.DesignView()));
        EXPECT_EQ(ra.seed(), rb.seed());
    }
    // Nothing shown is white paper.
    Design none;
    MakeStack(none);
    for (uint32_t i = 0; i < none.Layers.size(); ++i) none.Layers[i].Visible = false;
    Compositor c;
    ASSERT_EQ(c.EnsureSize({20, 10}), "");
    RandomInt r(1);
    ASSERT_EQ(c.Compose(none, 96, 100, r, &fonts).message, "");
    EXPECT_EQ(Pixels(c.DesignView()), std::vector<uint8_t>(20 * 10 * 3, 255));
}

// The layer list's commands in the workspace: each one undoable step; hiding
// and showing recomposes the same sheet as composing it afresh; renaming
// keeps the sheet.
TEST(LayerListCommands, RenameHideDuplicateAndMoveAreEachOneStep) {
    const PrinterFacts a4{{4760, 6779, 600, 600}, true};
    DesignWorkspace w(7, a4, nullptr);
    w.Start();
    w.StoreEditor([](TLayerRecord& l) { l.Kind = kKindGradient; });
    w.NewLayer();
    w.StoreEditor([](TLayerRecord& l) {
        l.Kind = kKindPattern;
        l.PatternCount = 50;
    });
    w.NewLayer();
    w.StoreEditor([](TLayerRecord& l) {
        l.Kind = kKindPattern;
        l.PatternShape = 3;
        l.PatternCount = 30;
    });
    w.CommitPendingEdit();
    ASSERT_EQ(w.Compose(96, -1), "");
    const auto names = [&w] {
        std::string s;
        for (uint32_t i = 0; i < w.GetDesign().Layers.size(); ++i)
            s += LayerDisplayName(w.GetDesign().Layers[i]) + (w.GetDesign().Layers[i].Visible ? "" : "-") + "|";
        return s;
    };
    const std::string start = names();
    ASSERT_EQ(start, "Farbverlauf|Muster|Muster|");
    const int compositions = w.CompositionCount();

    struct Step {
        const char* what;
        std::function<void()> act;
        const char* after;
        int selected;
    };
    const Step steps[] = {
        {"rename", [&] { w.RenameLayer(1, "Kreise \xC3\xBC"); }, "Farbverlauf|Kreise \xFC|Muster|", 2},
        {"caption gives the default back", [&] { w.RenameLayer(1, "Muster"); }, "Farbverlauf|Muster|Muster|", 2},
        {"hide", [&] { w.SetLayerVisible(1, false); }, "Farbverlauf|Muster-|Muster|", 2},
        {"duplicate", [&] { EXPECT_EQ(w.DuplicateLayer(1), ""); }, "Farbverlauf|Muster-|Muster-|Muster|", 2},
        {"drag to the bottom", [&] { EXPECT_EQ(w.MoveLayer(3, 0), ""); }, "Muster|Farbverlauf|Muster-|Muster-|", 0},
    };
    std::vector<std::string> states{start};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(names(), s.after);
        EXPECT_EQ(w.CurrentIndex(), s.selected);
        EXPECT_TRUE(w.Modified());
        states.push_back(names());
    }
    EXPECT_EQ(w.CompositionCount(), compositions);  // renaming alone composed nothing
    for (size_t i = states.size() - 1; i > 0; --i) {
        w.Undo();
        EXPECT_EQ(names(), states[i - 1]) << "undo " << i;
    }

    // The kept states of the sheet serve a hidden layer as they serve an edit:
    // showing it again gives the sheet composed from scratch.
    ASSERT_EQ(w.Compose(96, -1), "");
    const std::vector<uint8_t> shown = Pixels(w.Sheet().DesignView());
    w.SetLayerVisible(1, false);
    ASSERT_EQ(w.Compose(96, -1), "");
    EXPECT_NE(Pixels(w.Sheet().DesignView()), shown);
    w.SetLayerVisible(1, true);
    ASSERT_EQ(w.Compose(96, -1), "");
    EXPECT_EQ(Pixels(w.Sheet().DesignView()), shown);
}
