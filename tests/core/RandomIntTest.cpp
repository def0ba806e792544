#include <gtest/gtest.h>

#include <random>

#include "TestSeed.h"
#include "render/RandomInt.h"

using zb::RandomInt;

TEST(RandomInt, KnownSequenceFromSeedZeroAndFromAnyState) {
    // seed := seed * 134775813 + 1 mod 2^32, result (seed * n) >> 32, worked out by hand.
    RandomInt rnd(0);
    EXPECT_EQ(rnd(1000), 0);
    EXPECT_EQ(rnd.seed(), 1u);
    EXPECT_EQ(rnd(1000), 31);
    EXPECT_EQ(rnd.seed(), 134775814u);
    EXPECT_EQ(rnd(1000), 861);
    EXPECT_EQ(rnd.seed(), 3698175007u);

    RandomInt other(12345);
    EXPECT_EQ(other(100), 38);
    EXPECT_EQ(other(100), 28);
    EXPECT_EQ(other(7), 0);
    EXPECT_EQ(other.seed(), 342459380u);
}

TEST(RandomInt, EmptyOrNegativeRangeGivesZeroButStillAdvances) {
    RandomInt rnd(3698175007u);
    EXPECT_EQ(rnd(0), 0);
    EXPECT_EQ(rnd.seed(), 870078620u);
    EXPECT_EQ(rnd(256), 69); // the sequence goes on from the advanced state
    EXPECT_EQ(rnd(-5), 0);
    EXPECT_EQ(rnd.seed(), 2884733762u);
}

TEST(RandomInt, ContinuesFromARememberedState) {
    RandomInt a(987654321u);
    for (int i = 0; i < 5; ++i) a(1000);
    RandomInt b(a.seed());
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a(1 + i * 37), b(1 + i * 37)) << "draw " << i;
    EXPECT_EQ(a.seed(), b.seed());
}

TEST(RandomInt, DrawScalesWithTheRange) {
    // One state drawn with n and with 2n lands in the same relative place:
    // floor(2u) is 2 floor(u) or one more. Large n stays below n.
    const uint32_t seed = zb::test::TestSeed();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 pick(seed);
    for (int i = 0; i < 10000; ++i) {
        const uint32_t state = pick();
        const int64_t n = 1 + int64_t(pick() % 1000000);
        RandomInt one(state), two(state);
        const int32_t r1 = one(n);
        const int32_t r2 = two(2 * n);
        ASSERT_TRUE(r2 == 2 * r1 || r2 == 2 * r1 + 1) << "state " << state << " n " << n;
        ASSERT_LT(r1, n);
        ASSERT_GE(r1, 0);
        RandomInt big(state);
        ASSERT_LT(big(2147483647), 2147483647);
    }
}
