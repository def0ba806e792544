// Small designs kept as files in the fuzzer's seed corpus. The writer must
// still produce them byte for byte and the reader must still open them, so an
// accidental change of the file format shows here. Set ZB_UPDATE_GOLDEN=1 to
// write them anew after a deliberate change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "DesignFileTestUtil.h"
#include "document/DesignFile.h"
#include "model/LayerStack.h"

using namespace zb;
using namespace zb::test;

namespace {

std::filesystem::path CorpusDir() {
    return std::filesystem::path(ZB_TEST_DATA).parent_path().parent_path() / "fuzz" / "corpus" /
           "design_file_fuzzer";
}

std::unique_ptr<Design> DefaultDesign() {
    auto d = std::make_unique<Design>();
    std::vector<DibPicture> noTextures;
    AddLayer(*d, noTextures);
    return d;
}

std::unique_ptr<Design> TwoLayers() {
    auto d = std::make_unique<Design>();
    AddLayerWith(*d, MakePicture(3, 2, 24, 11));
    TLayerRecord& top = AddLayerWith(*d, MakePicture(5, 2, 8, 12));
    top.Kind = kKindText;
    top.LayerText = "Zierbogen \xE4\xF6\xFC";
    top.FontName = "DejaVu Sans";
    return d;
}

std::unique_ptr<Design> EveryDepth() {
    auto d = std::make_unique<Design>();
    struct Pic { int w, h, bits; uint32_t kind; };
    const Pic pics[] = {{17, 3, 1, 0}, {13, 4, 4, 1}, {3, 2, 32, 3}, {5, 2, 16, 4}, {2, 2, 24, 9}};
    uint32_t seed = 30;
    for (const Pic& p : pics) {
        TLayerRecord& l = AddLayerWith(*d, MakePicture(p.w, p.h, p.bits, seed++));
        l.Kind = p.kind;
        l.Transparency = int32_t(seed % 11) - 5;
        l.PatternCount = int32_t(seed * 1000);
        l.FilterIndex = int32_t(seed % 14);
        l.PatternSizeMM = 12.5;
        l.GradientColor2 = RGBColor(10, 20, uint8_t(seed));
    }
    d->Layers[0].LayerText = "";
    d->Layers[1].FontName = "";
    d->Layers[2].LayerText = "\x80\x9F\xA0\xFF";
    d->Paper = {12.34, 56.78, 2, 3, 0.6667, 150, 0.5, 1.75, false, true, false, true};
    return d;
}

struct Golden {
    const char* name;
    std::function<std::unique_ptr<Design>()> make;
};

const Golden kGolden[] = {
    {"default.zbg", DefaultDesign},
    {"two_layers.zbg", TwoLayers},
    {"every_depth.zbg", EveryDepth},
};

} // namespace

TEST(DesignGoldenFile, WriterStillProducesAndReaderStillOpensTheKeptFiles) {
    const bool update = std::getenv("ZB_UPDATE_GOLDEN") != nullptr;
    TempDir dir;
    for (const Golden& g : kGolden) {
        SCOPED_TRACE(g.name);
        const std::unique_ptr<Design> design = g.make();
        const std::string kept = (CorpusDir() / g.name).string();
        if (update) {
            ASSERT_TRUE(savefile(*design, kept));
        }
        ASSERT_TRUE(savefile(*design, dir.File(g.name)));
        const std::vector<uint8_t> written = ReadBytes(dir.File(g.name));
        EXPECT_EQ(written, ReadBytes(kept));
        EXPECT_LT(written.size(), 8000u);  // seeds stay small

        std::unique_ptr<Design> back;
        const FileResult r = openfile(kept, back);
        ASSERT_TRUE(r.Ok) << r.Message;
        EXPECT_EQ(back->Layers.size(), design->Layers.size());
        EXPECT_EQ(Snap(*back).bytes, written);
    }
}
