// SPDX-License-Identifier: MIT
#include "runtime/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>

namespace dravlet {
namespace {

constexpr std::uint64_t allOnes = std::numeric_limits<std::uint64_t>::max();

TEST(UnitFromBits, StaysInsideTheHalfOpenInterval)
{
    EXPECT_EQ(unitFromBits(0), 0.0);
    EXPECT_LT(unitFromBits(allOnes), 1.0);
    EXPECT_EQ(unitFromBits(allOnes), 1.0 - 0x1.0p-53);
    EXPECT_EQ(unitFromBits(std::uint64_t{1} << 63), 0.5);
}

TEST(WholeDraw, LargestUnitValueNeverExceedsN)
{
    const double largest = unitFromBits(allOnes);
    for (int n = 1; n <= 100000; ++n) {
        ASSERT_EQ(wholeDraw(largest, n), n) << "n = " << n;
        ASSERT_EQ(wholeDraw(0.0, n), 1) << "n = " << n;
    }
}

TEST(WholeDraw, SplitsTheUnitIntervalIntoEqualParts)
{
    EXPECT_EQ(wholeDraw(0.0, 33), 1);
    EXPECT_EQ(wholeDraw(1.0 / 33.0 - 1e-12, 33), 1);
    EXPECT_EQ(wholeDraw(1.0 / 33.0 + 1e-12, 33), 2);
    EXPECT_EQ(wholeDraw(0.5, 3), 2);
    EXPECT_EQ(wholeDraw(2.0 / 3.0 + 1e-12, 3), 3);
}

TEST(WholeDraw, OutOfRangeValuesAreClampedIntoOneToN)
{
    EXPECT_EQ(wholeDraw(1.0, 33), 33);
    EXPECT_EQ(wholeDraw(7.5, 99), 99);
    EXPECT_EQ(wholeDraw(-0.25, 99), 1);
}

TEST(MersenneRandom, SameSeedSameSequenceOtherSeedOtherSequence)
{
    MersenneRandom a;
    MersenneRandom b;
    a.reseed(45296.125);
    b.reseed(45296.125);
    std::set<double> seen;
    for (int i = 0; i < 1000; ++i) {
        const double r = a.next();
        ASSERT_EQ(r, b.next());
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        seen.insert(r);
    }
    EXPECT_GT(seen.size(), 990U);

    // A clock reading one microsecond later must start another sequence.
    b.reseed(45296.125001);
    a.reseed(45296.125);
    int same = 0;
    for (int i = 0; i < 100; ++i) {
        same += a.next() == b.next() ? 1 : 0;
    }
    EXPECT_LT(same, 5);
}

}  // namespace
}  // namespace dravlet
