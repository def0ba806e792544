#pragma once
// The base seed of the randomised tests: ZB_TEST_SEED when it is set (CI fixes
// it, and a failure can be replayed with the printed value), otherwise a fresh
// one. Printed once per test program so every run says which seed it used.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace zb::test {

inline uint32_t TestSeed() {
    static const uint32_t seed = [] {
        uint32_t s = 0;
        if (const char* text = std::getenv("ZB_TEST_SEED"); text && *text)
            s = uint32_t(std::strtoul(text, nullptr, 10));
        else
            s = uint32_t(std::random_device{}());
        std::printf("random tests use ZB_TEST_SEED=%u\n", unsigned(s));
        return s;
    }();
    return seed;
}

} // namespace zb::test
