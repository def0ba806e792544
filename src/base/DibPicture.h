#pragma once
// A picture that owns its DIB storage: the header block with its colour table
// and the pixel rows are freed when the picture goes or is replaced.
//
// Ownership: move-only; a moved-from picture is empty. Code that only reads,
// paints or fills the pixels of a picture borrows it, as a const TDibRecord&
// (a picture converts to one) or as a RasterView; the borrow must not outlive
// the picture or its next reset.
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
    ~DibPicture() { Free(); }
    DibPicture(DibPicture&& other) noexcept;
    DibPicture& operator=(DibPicture&& other) noexcept;
    DibPicture(const DibPicture&) = delete;
    DibPicture& operator=(const DibPicture&) = delete;

    // Takes over the storage a record describes. Used where a picture is lent
    // to a short-lived copy that gives it back with release() before it goes.
    static DibPicture Adopt(const TDibRecord& record);

    const TDibRecord& dib() const { return dib_; }
    // For filling pixels, colour table and message; the storage pointers stay
    // the picture's (replace the whole picture instead of assigning them).
    TDibRecord& dib() { return dib_; }
    operator const TDibRecord&() const& { return dib_; }
    // A temporary picture would be freed under the borrower's feet.
    operator const TDibRecord&() const&& = delete;
    RasterView view() const { return ViewOf(dib_); }
    bool empty() const { return !dib_.Bits; }

    // Frees the storage; the picture becomes empty, message included.
    void reset();
    // Gives the storage up without freeing it; the picture becomes empty.
    TDibRecord release();

private:
    void Free();

    TDibRecord dib_{};
};

} // namespace zb
