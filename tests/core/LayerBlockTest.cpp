#include <gtest/gtest.h>

#include <cstring>

#include "DesignFileTestUtil.h"
#include "document/LayerBlock.h"
#include "document/LittleEndian.h"
#include "document/StringField.h"

using namespace zb;
using zb::test::MemorySink;
using zb::test::MemorySource;

namespace {

TLayerRecord DistinctRecord() {
    TLayerRecord r{};
    r.Kind = 0xA1B2C3D4u;
    r.Transparency = -5;
    r.GradientDirection = 3;
    r.PatternShape = 5;
    r.PatternColorMode = 2;
    r.PatternSizeMode = 1;
    r.PatternPosMode = 1;
    r.PatternCount = 100000;
    r.TextCount = 10;
    r.FilterIndex = 13;
    r.TextColorMode = 2;
    r.TextSize = 144;
    r.TextSizeMode = 1;
    r.TextPosMode = 1;
    r.TextFontMode = 1;
    r.GradientColor1 = RGBColor(1, 2, 3);
    r.GradientColor2 = RGBColor(250, 128, 7);
    r.PatternColor = 0x00ABCDEF;
    r.TextColor = 0x00123456;
    r.Reserved76 = 0xFFFFFFFF;
    r.PatternSizeMM = 12.345678;
    r.PictureWidthMM = 999.5;
    return r;
}

} // namespace

TEST(LayerBlock, SettingsLieAtTheirOffsetsAndEverythingElseIsZero) {
    TLayerRecord r = DistinctRecord();
    // What the block must not carry: the picture and the texts.
    r.LayerPicture = DibPicture(25, 2, 24);
    r.FontName = "Schrift";
    r.LayerText = "Text";

    uint8_t block[kLayerBlockSize];
    std::memset(block, 0xEE, sizeof block);
    EncodeLayerBlock(r, block);

    const int32_t ints[] = {-5, 3, 5, 2, 1, 1, 100000, 10, 13, 2, 144, 1, 1, 1};
    EXPECT_EQ(le::Get32(block + 0), 0xA1B2C3D4u);
    for (int k = 0; k < 14; ++k) EXPECT_EQ(le::GetI32(block + 4 + 4 * k), ints[k]) << "offset " << 4 + 4 * k;
    EXPECT_EQ(block[60], 1);  // red in the lowest byte
    EXPECT_EQ(block[61], 2);
    EXPECT_EQ(block[62], 3);
    EXPECT_EQ(le::Get32(block + 64), RGBColor(250, 128, 7));
    EXPECT_EQ(le::Get32(block + 68), 0x00ABCDEFu);
    EXPECT_EQ(le::Get32(block + 72), 0x00123456u);
    EXPECT_EQ(le::GetDouble(block + 80), 12.345678);
    EXPECT_EQ(le::GetDouble(block + 88), 999.5);
    // IEEE double, little-endian: 999.5 = 0x408F3C0000000000.
    EXPECT_EQ(block[95], 0x40);
    EXPECT_EQ(block[94], 0x8F);
    for (size_t i = 76; i < 80; ++i) EXPECT_EQ(block[i], 0) << i;
    for (size_t i = kLayerBlockSettingsSize; i < kLayerBlockSize; ++i) ASSERT_EQ(block[i], 0) << i;
}

TEST(LayerBlock, DecodeTakesSettingsAndIgnoresTheRest) {
    const TLayerRecord original = DistinctRecord();
    uint8_t block[kLayerBlockSize];
    EncodeLayerBlock(original, block);
    // Files from other writers carry memory contents in the meaningless bytes.
    for (size_t i = 76; i < 80; ++i) block[i] = uint8_t(i);
    for (size_t i = kLayerBlockSettingsSize; i < kLayerBlockSize; ++i) block[i] = uint8_t(i * 7);

    TLayerRecord r{};
    r.LayerText = "bleibt";
    r.LayerPicture = DibPicture(41, 1, 24);
    DecodeLayerBlock(block, r);
    EXPECT_EQ(r.Kind, original.Kind);
    EXPECT_EQ(r.Transparency, -5);
    EXPECT_EQ(r.PatternCount, 100000);
    EXPECT_EQ(r.FilterIndex, 13);
    EXPECT_EQ(r.TextFontMode, 1);
    EXPECT_EQ(r.GradientColor1, original.GradientColor1);
    EXPECT_EQ(r.TextColor, original.TextColor);
    EXPECT_EQ(r.PatternSizeMM, 12.345678);
    EXPECT_EQ(r.PictureWidthMM, 999.5);
    EXPECT_EQ(r.Reserved76, 0u);
    EXPECT_EQ(r.LayerText, "bleibt");
    EXPECT_EQ(r.LayerPicture.dib().BytesPerLine, 124);
    EXPECT_EQ(r.FontName, "");
}

TEST(StringField, LengthThenRawBytesWithoutTerminator) {
    MemorySink sink;
    const std::string high("Gr\xFC\xDF" "e \x80\xFF", 8);  // Windows-1252 bytes, kept as they are
    ASSERT_TRUE(WriteString(sink, high));
    ASSERT_TRUE(WriteString(sink, ""));
    ASSERT_TRUE(WriteString(sink, std::string("a\0b", 3)));
    ASSERT_EQ(sink.bytes.size(), 4u + 8 + 4 + 4 + 3);
    EXPECT_EQ(le::GetI32(sink.bytes.data()), 8);
    EXPECT_EQ(std::memcmp(sink.bytes.data() + 4, high.data(), 8), 0);
    EXPECT_EQ(le::GetI32(sink.bytes.data() + 12), 0);

    MemorySource source(sink.bytes);
    std::string text = "x";
    EXPECT_EQ(ReadString(source, text), StringRead::Ok);
    EXPECT_EQ(text, high);
    EXPECT_EQ(ReadString(source, text), StringRead::Ok);
    EXPECT_EQ(text, "");
    EXPECT_EQ(source.pos, 16u);  // an empty text consumes exactly its four length bytes
    EXPECT_EQ(ReadString(source, text), StringRead::Ok);
    EXPECT_EQ(text, std::string("a\0b", 3));
    EXPECT_EQ(ReadString(source, text), StringRead::EndOfData);
}

TEST(StringField, RefusesNegativeAndOverlongLengthsWithoutTouchingTheText) {
    std::vector<uint8_t> bytes(4);
    le::PutI32(bytes.data(), -1);
    MemorySource negative(bytes);
    std::string text = "vorher";
    int32_t length = 0;
    EXPECT_EQ(ReadString(negative, text, &length), StringRead::NegativeLength);
    EXPECT_EQ(length, -1);
    EXPECT_EQ(text, "vorher");

    // Longer than what is left: refused before a buffer of that size is made.
    bytes.assign(4 + 10, 'x');
    le::PutI32(bytes.data(), INT32_MAX);
    MemorySource overlong(bytes);
    EXPECT_EQ(ReadString(overlong, text), StringRead::EndOfData);
    le::PutI32(bytes.data(), 11);
    MemorySource oneShort(bytes);
    EXPECT_EQ(ReadString(oneShort, text), StringRead::EndOfData);
    le::PutI32(bytes.data(), 10);
    MemorySource exact(bytes);
    EXPECT_EQ(ReadString(exact, text), StringRead::Ok);
    EXPECT_EQ(text, std::string(10, 'x'));

    MemorySource cut(std::vector<uint8_t>{1, 0, 0});
    EXPECT_EQ(ReadString(cut, text), StringRead::EndOfData);
}
