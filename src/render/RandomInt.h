#pragma once
// The program's one pseudo-random source: a 32-bit linear congruential
// generator. Every random draw of a composition goes through it, so a
// composition started from a remembered state reproduces the same sheet.
#include <cstdint>

namespace zb {

class RandomInt {
public:
    explicit RandomInt(uint32_t seed = 0) : seed_(seed) {}

    // A whole number 0 <= r < n (0 for n <= 0): seed := seed * 134775813 + 1
    // modulo 2^32, result := (seed * n) div 2^32, in unsigned arithmetic.
    int32_t operator()(int64_t n) {
        seed_ = seed_ * 134775813u + 1u;
        if (n <= 0) return 0;
        return int32_t((uint64_t(seed_) * uint64_t(n)) >> 32);
    }

    uint32_t seed() const { return seed_; }
    void setSeed(uint32_t seed) { seed_ = seed; }

    // The start-up seed from the time of day:
    // ((hour * 60 + minute) * 60 + second) * 1000 + millisecond.
    static uint32_t SeedFromTimeOfDay();

private:
    uint32_t seed_;
};

} // namespace zb
