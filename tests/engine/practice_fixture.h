// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/dravlet.h"
#include "tests/support/fakes.h"

namespace dravlet::testing {

// A window object on fake controls, a scripted random source and a fixed clock.
class Practice : public ::testing::Test {
protected:
    static constexpr double clockReading = 45296.25;  // 12:34:56.25

    Practice() : clock(clockReading) { form = std::make_unique<cmdDravlet>(controls, controls, random, clock); }

    const cmdDravlet::Variables& vars() const { return form->variables(); }

    // Start with the worked example: Tyrone, 10 l of 20 % and 30 l of 60 %.
    void startWorkedExample()
    {
        random.pushDraw(Tyrone, 33).pushAttempt(10, 30, 20, 60);
        form->cmdRun_Click();
    }

    // Submit the typed answer; the next problem is of kind nextKind.
    void submit(const std::string& answer, int nextKind)
    {
        controls.type(answer);
        random.pushDraw(nextKind, 3);
        form->cmdSubmit_Click();
    }

    // Next, drawing the worked example again (kind 3 needs the second subject too).
    void nextWorkedExample(int secondSubjectDraw = 0)
    {
        random.pushDraw(Tyrone, 33);
        if (secondSubjectDraw > 0) {
            random.pushDraw(secondSubjectDraw, 32);
        }
        random.pushAttempt(10, 30, 20, 60);
        form->cmdNext_Click();
    }

    std::string problem() const { return controls.text(TextBox::txtProb); }
    std::string verdict() const { return controls.caption(Label::lblResponse); }

    FakeControls controls;
    ScriptedRandom random;
    FixedClock clock;
    std::unique_ptr<cmdDravlet> form;
};

}  // namespace dravlet::testing
