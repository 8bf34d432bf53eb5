#include "runtime/clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace dravlet {
namespace {

TEST(SystemClock, ReadsSecondsSinceLocalMidnightWithFractions)
{
    const SystemClock clock;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const double expected = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;

    const double reading = clock.secondsSinceMidnight();
    EXPECT_GE(reading, 0.0);
    EXPECT_LT(reading, 86401.0);
    // Seconds, not milliseconds or a raw epoch count (midnight may pass in between).
    const double drift = reading - expected;
    EXPECT_TRUE((drift > -1.0 && drift < 2.0) || reading < 2.0) << reading << " vs " << expected;
}

}  // namespace
}  // namespace dravlet
