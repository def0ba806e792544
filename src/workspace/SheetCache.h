#pragma once
// What the sheet on screen looked like after each of its bottom layers, so an
// edit composes only the edited layer and those above it: for every kept
// number of layers, the composition so far and the generator state after it.
// Going on from a kept state gives, byte for byte, the sheet a composition of
// the whole stack from the sheet's start gives.
//
// The states belong to one part of one sheet (its key: size, screen, zoom,
// start state, and the part composed, the extent); a state of another key is
// never handed out. The cache is bounded by bytes:
// when a state for every layer would not fit, only every k-th is kept.
//
// Threads: the workspace drops states on its thread while the composing
// thread reads and adds them, so every method locks. Each drop starts a new
// epoch, and a state composed in an older epoch (by a job the drop cancelled)
// is refused, so the cache never holds a state of a design that is gone.
//
// Ownership: the cache owns its states. A state handed out is shared and stays
// valid for whoever holds it, even after the cache dropped it.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "base/RasterView.h"
#include "render/DesignSize.h"
#include "render/PageGeometry.h"

namespace zb {

inline constexpr size_t kDefaultSheetCacheBytes = size_t(256) << 20;

// Which sheet the states belong to.
struct SheetKey {
    RasterSize size;
    double ppi = 0;
    double zoom = 0;
    uint32_t start = 0; // the generator state the sheet starts from
    PixelRect extent;   // the part of the sheet the states hold

    bool operator==(const SheetKey& o) const {
        return size == o.size && ppi == o.ppi && zoom == o.zoom && start == o.start && extent == o.extent;
    }
};

// The sheet's extent after its bottom `layers` layers. Rows top-down, width * 3 bytes
// each, without padding.
struct KeptState {
    int layers = 0;
    uint32_t seed = 0; // the generator after those layers
    RasterSize size;
    std::unique_ptr<uint8_t[]> pixels;

    RasterView View() const { return {pixels.get(), ptrdiff_t(size.width) * 3, size.width, size.height}; }
    size_t Bytes() const { return size_t(size.width) * 3 * size_t(size.height); }
};

class SheetCache {
public:
    explicit SheetCache(size_t byteLimit = kDefaultSheetCacheBytes) : byteLimit_(byteLimit) {}
    SheetCache(const SheetCache&) = delete;
    SheetCache& operator=(const SheetCache&) = delete;

    // After a change of layer `layer` (or of the stack at that place): keeps
    // only the states of at most `layer` layers, which the change left alone.
    // 0 forgets every state (zoom, size, "Neu würfeln", another design).
    void DropAbove(int layer);
    // The epoch a job composing from now on adds its states in.
    uint64_t Epoch() const;

    // The state of the most layers, at most `layers`, kept for `key`; null
    // when there is none.
    std::shared_ptr<const KeptState> Nearest(const SheetKey& key, int layers) const;

    // Every how many layers a state is kept for a stack of `count` layers
    // whose states take `stateBytes` each: 1 when all fit, 0 when not even one.
    int Spacing(int count, size_t stateBytes) const;

    // A buffer for a state of `size` (one the cache let go of, when it has
    // one, which saves the system clearing fresh memory); null when there is
    // no memory for it.
    std::shared_ptr<KeptState> NewState(RasterSize size);
    // Keeps `state`, composed in `epoch` for `key` while states are kept every
    // `spacing` layers. States of another key or not on the spacing are let
    // go first. Refused when the epoch is over. The composing job may go on
    // reading the state it holds; a state still held elsewhere is never
    // handed out again as a buffer.
    void Keep(uint64_t epoch, const SheetKey& key, int spacing, std::shared_ptr<KeptState> state);

    // Bytes the kept states take (for tests).
    size_t Bytes() const;
    size_t ByteLimit() const { return byteLimit_; }

private:
    // Drops a state; its buffer is kept for the next one when nobody else
    // holds the state and the bound allows it.
    void LetGo(std::shared_ptr<KeptState> state);
    size_t HeldBytes() const;

    const size_t byteLimit_;
    mutable std::mutex mutex_;
    SheetKey key_;
    std::map<int, std::shared_ptr<KeptState>> states_;
    // Buffers of states no longer kept, for the next ones.
    std::vector<std::unique_ptr<uint8_t[]>> spare_;
    RasterSize spareSize_{}; // the size of each spare buffer
    uint64_t epoch_ = 1;
};

} // namespace zb
