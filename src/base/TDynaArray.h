#pragma once
// A growable array of fixed-size plain records in one contiguous block, with a
// cursor. Besides its own pointer to the current record it writes that pointer
// into a variable of its owner, so the owner works on "the current layer"
// through its own pointer.
//
// Ownership: the array owns the block only. Whatever a record owns (heap
// strings, pixel memory) stays the owner's business: release it before
// Delete, Clear or destruction.
//
// The block always has exactly Count records (growth step 1): every Add and
// Delete resizes it, which invalidates record pointers held elsewhere; both
// refresh Current and the owner's variable.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

namespace zb {

template <class T>
class TDynaArray {
    static_assert(std::is_trivially_copyable_v<T>, "records are moved bytewise");

public:
    explicit TDynaArray(T** cursor = nullptr) : Cursor(cursor) {}
    virtual ~TDynaArray() { std::free(Data); }
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

    // Appends a zero-filled record, makes it current and returns it.
    T* Add() {
        Resize(Count + 1);
        ++Count;
        std::memset(static_cast<void*>(Data + (Count - 1)), 0, sizeof(T));
        Position = int32_t(Count) - 1;
        SetCurrent(Data + Position);
        return Current;
    }

    // Removes record Index; out-of-range indices change nothing.
    void Delete(int64_t index) {
        if (index < 0 || index > int64_t(Count) - 1) return;
        std::memmove(static_cast<void*>(Data + index), static_cast<const void*>(Data + index + 1),
                     size_t(Count - 1 - uint32_t(index)) * sizeof(T));
        --Count;
        Resize(Count);
        Position = -1;
        SetCurrent(nullptr);
    }

    void Clear() {
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
        alignas(T) unsigned char temp[sizeof(T)];
        std::memcpy(temp, static_cast<const void*>(Data + a), sizeof(T));
        std::memcpy(static_cast<void*>(Data + a), static_cast<const void*>(Data + b), sizeof(T));
        std::memcpy(static_cast<void*>(Data + b), temp, sizeof(T));
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

    void Resize(uint32_t records) {
        const size_t bytes = size_t(records) * sizeof(T);
        if (int64_t(bytes) == Capacity) return;
        if (records == 0) {
            std::free(Data);
            Data = nullptr;
        } else {
            void* block = std::realloc(Data, bytes);
            if (!block) throw std::bad_alloc();
            Data = static_cast<T*>(block);
        }
        Capacity = int32_t(bytes);
    }
};

} // namespace zb
