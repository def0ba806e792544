#pragma once
// A picture: the DIB header block with its colour table and the pixel rows.
//
// Ownership: the storage is shared, reference-counted and, once a picture is
// made, treated as immutable. Copying a picture is cheap (it shares the
// storage); the storage is freed when the last picture sharing it goes.
// Writing goes through the non-const dib(), which first gives a shared
// picture storage of its own (copy on write), so a copy held elsewhere (a
// background job's snapshot of the design) never sees a change. Code that
// only reads, paints or fills the pixels borrows a const TDibRecord& (a
// picture converts to one) or a RasterView; the borrow must not outlive the
// picture or its next reset, and nobody writes through a view of a picture
// that may be shared.
#include <memory>

#include "base/RasterView.h"
#include "base/TDibRecord.h"

namespace zb {

class DibPicture {
public:
    DibPicture() = default;
    // A bitmap of width x height pixels, every pixel zero. `source` (may be
    // nullptr) supplies header fields and the first `colorCount` colour-table
    // entries. On failure (bad arguments, too large, out of memory) the
    // picture is empty: Bits == nullptr and Storage == 0.
    DibPicture(int width, int height, int bitCount, const TBitmapInfoHeader* source = nullptr,
               int colorCount = 0);
    DibPicture(const DibPicture&) = default;
    DibPicture& operator=(const DibPicture&) = default;
    // A moved-from picture is empty.
    DibPicture(DibPicture&& other) noexcept;
    DibPicture& operator=(DibPicture&& other) noexcept;
    ~DibPicture() = default;

    const TDibRecord& dib() const { return dib_; }
    // For filling pixels, colour table and message of this picture alone: a
    // shared storage is copied first (std::bad_alloc when there is no memory
    // for it). The storage pointers stay the picture's (replace the whole
    // picture instead of assigning them).
    TDibRecord& dib();
    operator const TDibRecord&() const& { return dib_; }
    // A temporary picture would be freed under the borrower's feet.
    operator const TDibRecord&() const&& = delete;
    RasterView view() const { return ViewOf(dib_); }
    bool empty() const { return !dib_.Bits; }
    // Other pictures share this one's storage.
    bool Shared() const { return storage_ && storage_.use_count() > 1; }

    // Lets go of the storage; the picture becomes empty, message included.
    void reset();

private:
    struct Storage;

    std::shared_ptr<Storage> storage_;
    TDibRecord dib_{};
};

} // namespace zb
