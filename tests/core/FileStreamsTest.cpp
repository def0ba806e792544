#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "DesignFileTestUtil.h"
#include "document/FileSink.h"
#include "document/FileSource.h"
#include "document/SafeFileWriter.h"

using namespace zb;
using namespace zb::test;

namespace {

// Sizes around the buffer size, where the buffered and the direct paths meet.
size_t RandomChunk(std::mt19937& rng) {
    switch (rng() % 4) {
    case 0: return rng() % 9;
    case 1: return rng() % 5000;
    case 2: return FileSink::kBufferSize - 2 + rng() % 5;
    default: return rng() % (3 * FileSink::kBufferSize);
    }
}

} // namespace

TEST(FileStreams, MixedSmallAndLargeTransfersKeepEveryByteInOrder) {
    TempDir dir;
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        std::vector<uint8_t> data(700000 + rng() % 1000);
        for (uint8_t& b : data) b = uint8_t(rng());
        const std::string path = dir.File("strom.bin");

        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        {
            FileSink sink(fd);
            for (size_t pos = 0; pos < data.size();) {
                const size_t n = std::min(RandomChunk(rng), data.size() - pos);
                ASSERT_TRUE(sink.Write(data.data() + pos, n));
                pos += n;
            }
            ASSERT_TRUE(sink.Flush());
            EXPECT_EQ(sink.Written(), data.size());
        }
        ::close(fd);
        ASSERT_EQ(ReadBytes(path), data);

        FileSource source;
        ASSERT_TRUE(source.Open(path));
        std::vector<uint8_t> back(data.size());
        for (size_t pos = 0; pos < data.size();) {
            const size_t n = std::min(RandomChunk(rng), data.size() - pos);
            ASSERT_TRUE(source.Read(back.data() + pos, n)) << "at " << pos;
            pos += n;
            ASSERT_EQ(source.Remaining(), data.size() - pos);
        }
        EXPECT_EQ(back, data);
        uint8_t one;
        EXPECT_FALSE(source.Read(&one, 1));
        EXPECT_EQ(source.Error(), 0);  // the end of the data, not a failed read
    }
}

TEST(FileStreams, ByteLimitFailsLikeAFullDiskAfterExactlyThatManyBytes) {
    TempDir dir;
    const std::string path = dir.File("voll.bin");
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    FileSink sink(fd);
    sink.SetByteLimit(100000);
    std::vector<uint8_t> block(FileSink::kBufferSize * 2, 7);
    EXPECT_FALSE(sink.Write(block.data(), block.size()));
    EXPECT_EQ(sink.Error(), ENOSPC);
    EXPECT_FALSE(sink.Write(block.data(), 1));  // stays failed
    ::close(fd);
    EXPECT_EQ(ReadBytes(path).size(), 100000u);
}

TEST(FileStreams, WriterThatIsNotCommittedRemovesItsTemporaryFile) {
    TempDir dir;
    const std::string target = dir.File("ziel.zbg");
    WriteBytes(target, std::vector<uint8_t>{1, 2, 3});
    {
        SafeFileWriter writer(target);
        ASSERT_TRUE(writer.Begin());
        EXPECT_EQ(dir.Names().size(), 2u);
        const uint8_t bytes[] = {9, 9};
        ASSERT_TRUE(writer.Sink().Write(bytes, 2));
        ASSERT_TRUE(writer.Sink().Flush());
    }
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ziel.zbg"});
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{1, 2, 3}));

    SafeFileWriter writer(target);
    ASSERT_TRUE(writer.Begin());
    const uint8_t bytes[] = {4, 5};
    ASSERT_TRUE(writer.Sink().Write(bytes, 2));
    ASSERT_TRUE(writer.Commit(false));
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{4, 5}));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ziel.zbg"});
}
