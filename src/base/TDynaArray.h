#pragma once
// A growable array of records in one contiguous block, with a cursor. Besides
// its own pointer to the current record it writes that pointer into a variable
// of its owner, so the owner works on "the current layer" through its own
// pointer.
//
// Ownership: the array owns its records. Plain records are moved bytewise;
// records that own something (texts, pictures) are moved with their move
// constructor and destroyed by Delete, Clear and the array's destructor.
//
// The block always has exactly Count records (growth step 1): every Add and
// Delete resizes it, which invalidates record pointers held elsewhere; both
// refresh Current and the owner's variable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace zb {

template <class T>
class TDynaArray {
    static constexpr bool kPlain = std::is_trivially_copyable_v<T>;
    static_assert(kPlain || std::is_nothrow_move_constructible_v<T>, "growing the block moves records");

public:
    explicit TDynaArray(T** cursor = nullptr) : Cursor(cursor) {}
    virtual ~TDynaArray() {
        DestroyAll();
        std::free(Data);
    }
    TDynaArray(const TDynaArray&) = delete;
    TDynaArray& operator=(const TDynaArray&) = delete;

    T** Cursor;
    T* Current = nullptr;
    T* Data = nullptr;
    uint32_t Count = 0;
    int32_t Position = -1;
    int32_t Capacity = 0;
    const uint32_t Delta = 1;
    const int32_t RecordSize = int32_t(sizeof(T));

    // Appends a zero-filled (or, owning things, default-made) record, makes it
    // current and returns it.
    T* Add() {
        Resize(Count + 1);
        if constexpr (kPlain) std::memset(static_cast<void*>(Data + Count), 0, sizeof(T));
        else new (static_cast<void*>(Data + Count)) T();
        ++Count;
        Position = int32_t(Count) - 1;
        SetCurrent(Data + Position);
        return Current;
    }

    // Removes record Index; out-of-range indices change nothing.
    void Delete(int64_t index) {
        if (index < 0 || index > int64_t(Count) - 1) return;
        if constexpr (kPlain) {
            std::memmove(static_cast<void*>(Data + index), static_cast<const void*>(Data + index + 1),
                         size_t(Count - 1 - uint32_t(index)) * sizeof(T));
        } else {
            for (uint32_t i = uint32_t(index); i + 1 < Count; ++i) Data[i] = std::move(Data[i + 1]);
            Data[Count - 1].~T();
        }
        --Count;
        Resize(Count);
        Position = -1;
        SetCurrent(nullptr);
    }

    void Clear() {
        DestroyAll();
        Count = 0;
        std::free(Data);
        Data = nullptr;
        Capacity = 0;
        Position = -1;
        SetCurrent(nullptr);
    }

    // Does not check the index: callers pass 0 .. Count - 1.
    T* Select(int32_t index) {
        Position = index;
        SetCurrent(Data + index);
        return Current;
    }

    // Swaps two records; the cursor ends on B (which now holds the record from A).
    void Exchange(int64_t a, int64_t b) {
        if (a < 0 || b < 0 || a > int64_t(Count) - 1 || b > int64_t(Count) - 1) return;
        if constexpr (kPlain) {
            alignas(T) unsigned char temp[sizeof(T)];
            std::memcpy(temp, static_cast<const void*>(Data + a), sizeof(T));
            std::memcpy(static_cast<void*>(Data + a), static_cast<const void*>(Data + b), sizeof(T));
            std::memcpy(static_cast<void*>(Data + b), temp, sizeof(T));
        } else if (a != b) {
            using std::swap;
            swap(Data[a], Data[b]);
        }
        Position = int32_t(b);
        SetCurrent(Data + b);
    }

    // Iteration: First(); while (Next()) { work on *cursor }. While record i is
    // being worked on, Position is i + 1.
    void First() {
        if (Count == 0) return;
        Position = 0;
        SetCurrent(Data);
    }

    bool Next() {
        if (Count == 0 || Position < 0 || Position > int32_t(Count) - 1) return false;
        SetCurrent(Data + Position);
        ++Position;
        return true;
    }

    T& operator[](uint32_t index) { return Data[index]; }
    const T& operator[](uint32_t index) const { return Data[index]; }

private:
    void SetCurrent(T* record) {
        Current = record;
        if (Cursor) *Cursor = record;
    }

    void DestroyAll() {
        if constexpr (!kPlain) {
            for (uint32_t i = 0; i < Count; ++i) Data[i].~T();
        }
    }

    // Only the first Count records are alive when the block changes size.
    void Resize(uint32_t records) {
        const size_t bytes = size_t(records) * sizeof(T);
        if (int64_t(bytes) == Capacity) return;
        if (records == 0) {
            std::free(Data);
            Data = nullptr;
        } else if constexpr (!kPlain) {
            static_assert(alignof(T) <= alignof(std::max_align_t));
            T* block = static_cast<T*>(std::malloc(bytes));
            if (!block) throw std::bad_alloc();
            const uint32_t keep = Count < records ? Count : records;
            for (uint32_t i = 0; i < keep; ++i) {
                new (static_cast<void*>(block + i)) T(std::move(Data[i]));
                Data[i].~T();
            }
            std::free(Data);
            Data = block;
        } else {
            void* block = std::realloc(Data, bytes);
            if (!block) throw std::bad_alloc();
            Data = static_cast<T*>(block);
        }
        Capacity = int32_t(bytes);
    }
};

} // namespace zb
