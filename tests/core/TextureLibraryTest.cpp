#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <stdlib.h>

#include "FakePictureDecoder.h"
#include "imaging/TextureLibrary.h"

using namespace zb;
using zb::test::FakePictureDecoder;
using zb::test::MakeDecoded;
namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "zb-texturen-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string path() const { return path_.string(); }
    void touch(const std::string& name) const { std::ofstream(path_ / name) << "x"; }

private:
    fs::path path_;
};

// An 8-bit picture of one palette colour, so each texture is recognisable.
DecodedPicture OneColour(int w, uint8_t red) {
    return MakeDecoded(w, 2, 8, {0, RGBColor(red, 7, 9)}, [](int, int) { return 1u; });
}

} // namespace

TEST(TextureLibrary, FolderLiesBesideTheProgram) {
    EXPECT_EQ(TextureFolder("/opt/zierbogen/bin"), "/opt/zierbogen/bin/texturen");
    EXPECT_EQ(TextureFolder("/opt/zierbogen/bin/"), "/opt/zierbogen/bin/texturen");
    EXPECT_EQ(TextureFolder(""), "texturen");
}

TEST(TextureLibrary, ReadsEveryPictureInNameOrderSkippingTheRest) {
    TempFolder folder;
    for (const char* name : {"b.png", "a.png", "10.png", "2.png", "kaputt.png", "Z.png"}) folder.touch(name);
    fs::create_directory(fs::path(folder.path()) / "c.png"); // a folder, not a file
    FakePictureDecoder decoder;
    decoder.pictures["a.png"] = OneColour(3, 30);
    decoder.pictures["b.png"] = OneColour(4, 40);
    decoder.pictures["10.png"] = OneColour(5, 100);
    decoder.pictures["2.png"] = OneColour(6, 20);
    decoder.pictures["Z.png"] = OneColour(7, 90);
    decoder.pictures["c.png"] = OneColour(8, 1); // must never be asked for

    std::vector<DibPicture> textures;
    std::vector<std::pair<size_t, size_t>> progress;
    const size_t added = ReadinTextures(textures, folder.path(), decoder,
                                        [&](size_t done, size_t total) { progress.emplace_back(done, total); });

    // A file manager's order: case does not matter, digits compare as characters.
    EXPECT_EQ(decoder.asked, (std::vector<std::string>{"10.png", "2.png", "a.png", "b.png", "kaputt.png", "Z.png"}));
    ASSERT_EQ(added, 5u);
    ASSERT_EQ(textures.size(), 5u);
    const int widths[] = {5, 6, 3, 4, 7};
    const uint8_t reds[] = {100, 20, 30, 40, 90};
    for (uint32_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(DibBitCount(textures[i]), 24);
        EXPECT_EQ(DibWidth(textures[i]), widths[i]);
        EXPECT_EQ(getpixel(textures[i], 0, 0), RGBColor(reds[i], 7, 9));
    }
    EXPECT_EQ(progress.front(), (std::pair<size_t, size_t>{0, 6}));
    EXPECT_EQ(progress.back(), (std::pair<size_t, size_t>{6, 6}));
    EXPECT_EQ(progress.size(), 7u);

    ReleaseTextures(textures);
    EXPECT_EQ(textures.size(), 0u);
}

TEST(TextureLibrary, MissingOrEmptyFolderGivesAnEmptyLibrary) {
    FakePictureDecoder decoder;
    std::vector<DibPicture> textures;
    EXPECT_EQ(ReadinTextures(textures, "/gibt/es/nicht/texturen", decoder), 0u);
    EXPECT_EQ(textures.size(), 0u);
    TempFolder empty;
    EXPECT_EQ(ReadinTextures(textures, empty.path(), decoder), 0u);
    EXPECT_EQ(textures.size(), 0u);
    EXPECT_TRUE(ScanTextureFolder("/gibt/es/nicht/texturen", decoder).empty());
    EXPECT_TRUE(decoder.asked.empty());
}

TEST(TextureLibrary, ScanReportsDepthsAndReasons) {
    TempFolder folder;
    folder.touch("01-grau.pgm");
    folder.touch("02-notiz.txt");
    folder.touch("03-zwei.pbm");
    FakePictureDecoder decoder;
    decoder.pictures["01-grau.pgm"] = OneColour(12, 5);
    decoder.pictures["03-zwei.pbm"] = MakeDecoded(9, 9, 1, {0, RGBColor(255, 255, 255)}, [](int x, int) { return uint32_t(x & 1); });
    decoder.pictures["03-zwei.pbm"].flattenedAlpha = true;
    const std::vector<TextureScanEntry> report = ScanTextureFolder(folder.path(), decoder);
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[0].fileName, "01-grau.pgm");
    EXPECT_TRUE(report[0].loaded);
    EXPECT_EQ(report[0].format, "TEST");
    EXPECT_EQ(report[0].width, 12);
    EXPECT_EQ(report[0].height, 2);
    EXPECT_EQ(report[0].bitsRead, 8);
    EXPECT_EQ(report[0].bitsConverted, 24);
    EXPECT_TRUE(report[0].reason.empty());
    EXPECT_FALSE(report[1].loaded);
    EXPECT_EQ(report[1].reason, zb::test::kFakeUnknownMessage);
    EXPECT_EQ(report[1].bitsRead, 0);
    EXPECT_EQ(report[2].bitsRead, 1);
    EXPECT_TRUE(report[2].flattenedAlpha);
}
