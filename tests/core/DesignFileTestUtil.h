#pragma once
// Helpers for the design-file tests: a temporary folder, in-memory byte sinks
// and sources, pictures with random pixels, and whole-file read/write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "document/ByteSink.h"
#include "document/ByteSource.h"
#include "document/DesignWriter.h"
#include "base/DibPicture.h"
#include "model/Design.h"

namespace zb::test {

// A fresh folder under the system's temporary folder, removed with its content.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zb-design-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }
    // Names of everything in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

class MemorySink : public ByteSink {
public:
    bool Write(const void* data, size_t size) override {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
        return true;
    }
    int Error() const override { return 0; }
    std::vector<uint8_t> bytes;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::vector<uint8_t> data) : bytes(std::move(data)) {}
    bool Read(void* out, size_t size) override {
        if (size > Remaining()) return false;
        std::memcpy(out, bytes.data() + pos, size);
        pos += size;
        return true;
    }
    uint64_t Remaining() const override { return bytes.size() - pos; }
    int Error() const override { return 0; }
    std::vector<uint8_t> bytes;
    size_t pos = 0;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Writes a new file: the old one is removed first rather than truncated, since
// truncating a file with data makes some file systems flush it to the disk.
inline void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::filesystem::remove(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& data) {
    WriteBytes(path, data.data(), data.size());
}

// The design as the writer stores it, plus the selection: two designs with the
// same snapshot are indistinguishable to the program.
struct Snapshot {
    std::vector<uint8_t> bytes;
    int32_t currentIndex = 0;
    bool operator==(const Snapshot&) const = default;
};

inline Snapshot Snap(const Design& design) {
    MemorySink sink;
    EXPECT_TRUE(WriteDesign(design, sink));
    return {sink.bytes, design.Layers.SelectedIndex()};
}

// A picture with random pixels and, for 8 bits or fewer, a random colour table.
// The padding at the end of each row is random too, so a writer that drops it
// or a reader that misplaces rows is caught.
inline DibPicture MakePicture(int width, int height, int bits, uint32_t seed) {
    DibPicture dib(width, height, bits);
    EXPECT_NE(dib.dib().Bits, nullptr);
    std::mt19937 rng(seed);
    const size_t bytes = size_t(dib.dib().BytesPerLine) * size_t(height);
    for (size_t i = 0; i < bytes; ++i) dib.dib().Bits[i] = uint8_t(rng());
    TRgbQuad* table = DibColorTable(dib);
    for (int i = 0; i < DibTableSize(bits); ++i) {
        table[i] = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
        dib.dib().LogPalette.palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    }
    return dib;
}

// Adds a layer with the defaults and the given picture (the record takes it over).
inline TLayerRecord& AddLayerWith(Design& design, DibPicture picture) {
    TLayerRecord* layer = &design.Layers.Add();
    SetLayerDefaults(*layer);
    layer->LayerPicture = std::move(picture);
    return *layer;
}

} // namespace zb::test
