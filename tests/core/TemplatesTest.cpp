// The templates of "Neu aus Vorlage...": every one opens and composes, and
// the gallery holds what it promises.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "document/DesignFile.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"

using namespace zb;

TEST(Templates, EachOpensAndComposes) {
    const std::filesystem::path folder =
        std::filesystem::path(ZB_TEST_DATA).parent_path().parent_path() / "data" / "vorlagen";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".zbg") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    EXPECT_GE(files.size(), 12u);

    int seamless = 0, posters = 0;
    std::set<std::string> looks;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::unique_ptr<Design> design;
        const FileResult opened = openfile(file.string(), design);
        ASSERT_TRUE(opened) << opened.Message;
        EXPECT_FALSE(design->Paper.PrintAll);
        seamless += design->Paper.Seamless;
        posters += design->Paper.Breit * design->Paper.Hoch >= 50.0 * 70.0;
        for (uint32_t i = 0; i < design->Layers.size(); ++i) EXPECT_FALSE(design->Layers[i].Name.empty());

        Compositor compositor;
        const RasterSize size = DesignRasterSize(design->Paper, PrintablePage{4760, 6779, 600, 600}, 96, 10);
        ASSERT_EQ(compositor.EnsureSize(size), "");
        RandomInt random(31);
        EXPECT_EQ(compositor.Compose(*design, 96, 10, random, nullptr).message, "");
        // No two templates look alike, and none is one flat colour.
        const RasterView v = compositor.DesignView();
        std::string pixels;
        std::set<uint32_t> colours;
        for (int y = 0; y < v.height; ++y) {
            pixels.append(reinterpret_cast<const char*>(v.row(y)), size_t(v.width) * 3);
            for (int x = 0; x < v.width; ++x) colours.insert(uint32_t(v.pixel(x, y)[0]) << 16 | v.pixel(x, y)[1] << 8 | v.pixel(x, y)[2]);
        }
        EXPECT_GT(colours.size(), 8u);
        EXPECT_TRUE(looks.insert(pixels).second);
    }
    EXPECT_GE(seamless, 1);
    EXPECT_GE(posters, 1);
}
