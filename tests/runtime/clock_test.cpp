// SPDX-License-Identifier: MIT
#include "runtime/clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace dravlet {
namespace {

// The zone of the process's local time, "" for the system's.
void setZone(const char* zone)
{
#ifdef _WIN32
    _putenv_s("TZ", zone);
#else
    *zone == '\0' ? unsetenv("TZ") : setenv("TZ", zone, 1);
#endif
    tzset();
}

// Seconds since local midnight, worked out another way: the epoch time with its
// nanoseconds, less the epoch time of the last local midnight.
double sinceLocalMidnight(const timespec& now)
{
    std::tm midnight{};
#ifdef _WIN32
    localtime_s(&midnight, &now.tv_sec);
#else
    localtime_r(&now.tv_sec, &midnight);
#endif
    midnight.tm_hour = midnight.tm_min = midnight.tm_sec = 0;
    return std::difftime(now.tv_sec, std::mktime(&midnight)) + static_cast<double>(now.tv_nsec) / 1e9;
}

// In zones without daylight saving, east and west of Greenwich by odd amounts, the
// reading must fall between the independent readings just before and just after it.
TEST(SystemClock, ReadsLocalSecondsSinceMidnightWithFractions)
{
    const SystemClock clock;
    for (const char* zone : {"XXX-5:30", "YYY3:45"}) {
        setZone(zone);
        int withFraction = 0;
        for (int sample = 0; sample < 5; ++sample) {
            timespec before{};
            timespec after{};
            clock_gettime(CLOCK_REALTIME, &before);
            const double reading = clock.secondsSinceMidnight();
            clock_gettime(CLOCK_REALTIME, &after);
            const double low = sinceLocalMidnight(before);
            const double high = sinceLocalMidnight(after);
            if (high < low) {
                continue;  // midnight passed in between
            }
            withFraction += reading != std::floor(reading) ? 1 : 0;
            if (reading < low - 1e-6 || reading > high + 1e-6) {
                ADD_FAILURE() << std::fixed << "read " << reading << ", the local time of day was " << low
                              << " to " << high << " in zone " << zone;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(37));
        }
        EXPECT_GT(withFraction, 0) << "the fractions of a second are dropped";
    }
    setZone("");
}

}  // namespace
}  // namespace dravlet
