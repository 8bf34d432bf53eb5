// SPDX-License-Identifier: MIT
#pragma once

namespace dravlet {

// The time of day, the seed of each run. A seam so tests can fix it.
class Clock {
public:
    Clock() = default;
    virtual ~Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;

    // Seconds since local midnight, with fractions: 0 <= t < 86401.
    virtual double secondsSinceMidnight() const = 0;
};

class SystemClock final : public Clock {
public:
    double secondsSinceMidnight() const override;
};

}  // namespace dravlet
