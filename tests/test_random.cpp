// RandomDouble and RandomInt over rand(), brought to 0..32767. The draws 0 and
// 32767 are forced by searching for a seed whose first draw is that value.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "tvncstrb.h"

namespace {
// A seed whose first draw (as RandomInt(0, 32767) sees it) is r; 0 if none
// was found.
unsigned FindSeedFor(int r)
{
    for (unsigned nSeed = 1; nSeed < 5000000u; ++nSeed) {
        std::srand(nSeed);
        if (RandomInt(0, 32767) == r)
            return nSeed;
    }
    return 0;
}
} // namespace

TEST(Random, LowestDrawGivesTheLowerBoundExactly)
{
    const unsigned nSeed = FindSeedFor(0);
    ASSERT_NE(nSeed, 0u);
    std::srand(nSeed);
    EXPECT_EQ(RandomDouble(11.0, 20.0), 11.0);
    std::srand(nSeed);
    EXPECT_EQ(RandomDouble(-100000.0, 100000.0), -100000.0);
    std::srand(nSeed);
    EXPECT_EQ(RandomDouble(20.0, 11.0), 20.0); // bounds the other way round
    std::srand(nSeed);
    EXPECT_EQ(RandomInt(-3, 5), -3);
}

TEST(Random, HighestDrawGivesTheUpperBound)
{
    const unsigned nSeed = FindSeedFor(32767);
    ASSERT_NE(nSeed, 0u);
    std::srand(nSeed);
    EXPECT_EQ(RandomDouble(11.0, 20.0), 20.0);
    std::srand(nSeed);
    EXPECT_EQ(RandomDouble(-100000.0, 100000.0), 100000.0);
    std::srand(nSeed);
    EXPECT_EQ(RandomDouble(20.0, 11.0), 11.0);
    std::srand(nSeed);
    EXPECT_EQ(RandomInt(0, 99999), 32767); // a count above 32768 reaches nMin + 32767 at most
}

TEST(Random, ValuesAreSpacedByRangeOver32767)
{
    for (unsigned nSeed = 1; nSeed <= 2000; ++nSeed) {
        std::srand(nSeed);
        const int r = RandomInt(0, 32767);
        std::srand(nSeed);
        EXPECT_EQ(RandomDouble(0.0, 32767.0), static_cast<double>(r)) << nSeed;
        std::srand(nSeed);
        const double d = RandomDouble(-1.0, 1.0);
        EXPECT_NEAR(d, -1.0 + r * (2.0 / 32767.0), 1e-15) << nSeed;
        std::srand(nSeed);
        EXPECT_EQ(RandomInt(10, 19), 10 + r % 10) << nSeed;
    }
}

TEST(Random, DrawsStayWithin0To32767)
{
    std::srand(12345);
    int nMin = INT_MAX;
    int nMax = INT_MIN;
    for (int i = 0; i < 200000; ++i) {
        const int r = RandomInt(0, 99999);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        nMin = r < nMin ? r : nMin;
        nMax = r > nMax ? r : nMax;
        const double d = RandomDouble(-5.0, 5.0);
        ASSERT_GE(d, -5.0);
        ASSERT_LE(d, 5.0);
    }
    // The whole range is reached, not only a part of it.
    EXPECT_LT(nMin, 16);
    EXPECT_GT(nMax, 32751);
}

TEST(Random, EachCallTakesOneDraw)
{
    std::srand(777);
    (void)RandomDouble(0.0, 1.0);
    const int nSecond = RandomInt(0, 32767);
    std::srand(777);
    (void)RandomInt(0, 32767);
    EXPECT_EQ(RandomInt(0, 32767), nSecond);
}

TEST(Random, EqualBoundsGiveThatBound)
{
    for (unsigned nSeed : {1u, 2u, 99u, 31337u}) {
        std::srand(nSeed);
        EXPECT_EQ(RandomInt(7, 7), 7);
        EXPECT_EQ(RandomInt(-5, -5), -5);
        EXPECT_EQ(RandomInt(INT_MAX, INT_MAX), INT_MAX);
        EXPECT_EQ(RandomInt(INT_MIN, INT_MIN), INT_MIN);
        EXPECT_EQ(RandomDouble(3.25, 3.25), 3.25);
    }
}
