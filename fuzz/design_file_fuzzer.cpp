// Feeds arbitrary bytes to the design-file reader through the same path a file
// on disk takes: the bytes become an in-memory file, which openfile opens by
// name. Checks: a refused file leaves the current design as it was and says why;
// an accepted one is a usable design that saves and reopens to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "document/DesignFile.h"
#include "document/DesignWriter.h"
#include "document/FileSink.h"
#include "model/LayerStack.h"

namespace {

struct MemFile {
    int fd;
    std::string path;
    explicit MemFile(const char* name) : fd(::memfd_create(name, MFD_CLOEXEC)) {
        if (fd < 0) std::abort();
        path = "/proc/self/fd/" + std::to_string(fd);
    }
    void Fill(const uint8_t* data, size_t size) {
        if (::ftruncate(fd, 0) != 0) std::abort();
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(fd, data + done, size - done, off_t(done));
            if (n <= 0) std::abort();
            done += size_t(n);
        }
    }
    std::string Contents() const {
        std::string s(size_t(::lseek(fd, 0, SEEK_END)), '\0');
        if (::pread(fd, s.data(), s.size(), 0) != ssize_t(s.size())) std::abort();
        return s;
    }
};

// Writes the design into `file` with the same writer savefile uses.
void WriteTo(const zb::Design& design, MemFile& file) {
    if (::ftruncate(file.fd, 0) != 0 || ::lseek(file.fd, 0, SEEK_SET) != 0) std::abort();
    zb::FileSink sink(file.fd);
    if (!zb::WriteDesign(design, sink) || !sink.Flush()) std::abort();
}

void CheckUsable(const zb::Design& d) {
    if (d.Layers.empty()) std::abort();
    if (d.Layers.Selected() != &d.Layers.back()) std::abort();
    for (const zb::TLayerRecord& l : d.Layers) {
        if (l.LayerPicture.empty()) std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemFile input("design-input");
    static MemFile copy("design-copy");
    input.Fill(data, size);

    auto design = std::make_unique<zb::Design>();
    std::vector<zb::DibPicture> noTextures;
    zb::AddLayer(*design, noTextures);
    const zb::Design* before = design.get();

    const zb::FileResult r = zb::openfile(input.path, design);
    if (!r.Ok) {
        if (r.Message.empty() || design.get() != before || design->Layers.size() != 1) std::abort();
        return 0;
    }
    CheckUsable(*design);

    // Save, reopen, save again: the two saved files are identical.
    WriteTo(*design, copy);
    const std::string first = copy.Contents();
    std::unique_ptr<zb::Design> again;
    const zb::FileResult r2 = zb::openfile(copy.path, again);
    if (!r2.Ok) std::abort();
    CheckUsable(*again);
    WriteTo(*again, copy);
    if (copy.Contents() != first) std::abort();
    return 0;
}
