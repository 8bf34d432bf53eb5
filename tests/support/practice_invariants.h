#pragma once

#include <cmath>
#include <vector>

#include "engine/dravlet.h"
#include "tests/support/fakes.h"

namespace dravlet::testing {

// What a learner could see go wrong, checked after any step of a practice run. Each
// returns nullptr when all holds, or what broke.

// The answer the current problem wants.
inline double rightAnswer(const cmdDravlet::Variables& v)
{
    switch (v.ProbKind) {
    case 1: return v.Liters2;
    case 2: return v.Liters1;
    default: return v.PctResult;
    }
}

inline const char* problemBroken(const cmdDravlet::Variables& v)
{
    for (const float n : {v.Liters1, v.Liters2, v.Pct1, v.Pct2}) {
        if (!(n >= 1 && n <= 99 && n == std::trunc(n))) {
            return "numbers are whole, 1 to 99";
        }
    }
    if (v.LitersTotal != v.Liters1 + v.Liters2) {
        return "total is the sum";
    }
    if (v.Pct1 == v.Pct2) {
        return "strengths differ";
    }
    if (v.PctResult != std::trunc(v.PctResult)) {
        return "blend is whole";
    }
    if (!(v.PctResult > std::fmin(v.Pct1, v.Pct2) && v.PctResult < std::fmax(v.Pct1, v.Pct2))) {
        return "blend lies strictly between the strengths";
    }
    if (v.ProbKind < 1 || v.ProbKind > 3) {
        return "kind is 1 to 3";
    }
    return nullptr;
}

inline const char* buttonsBroken(const FakeControls& c)
{
    const auto shown = c.visibleButtons();
    const bool ready = shown == std::vector<Button>{Button::cmdRun, Button::cmdQuit};
    const bool answering = shown == std::vector<Button>{Button::cmdSubmit, Button::cmdQuit};
    const bool reviewing = shown == std::vector<Button>{Button::cmdNext, Button::cmdQuit};
    return ready || answering || reviewing ? nullptr : "the buttons of exactly one state show";
}

inline const char* countsBroken(const cmdDravlet::Variables& v, long submits)
{
    if (v.RightCount < 0 || v.WrongCount < 0) {
        return "counts never go negative";
    }
    return v.RightCount + static_cast<long>(v.WrongCount) == submits ? nullptr
                                                                     : "counts add up to the Submits";
}

}  // namespace dravlet::testing
