// SPDX-License-Identifier: MIT
#include "runtime/clock.h"

#include <chrono>
#include <ctime>

namespace dravlet {

double SystemClock::secondsSinceMidnight() const
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t whole = system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &whole);
#else
    localtime_r(&whole, &local);
#endif
    const auto fraction = duration_cast<microseconds>(now - system_clock::from_time_t(whole));
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec
           + static_cast<double>(fraction.count()) / 1e6;
}

}  // namespace dravlet
