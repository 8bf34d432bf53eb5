// SPDX-License-Identifier: MIT
#include "practice_fixture.h"

#include <array>
#include <vector>

namespace dravlet::testing {
namespace {

using Flow = Practice;
using Buttons = std::vector<Button>;

TEST_F(Flow, StartShowsSubmitFocusesTheAnswerAndDrawsAKindOneProblem)
{
    EXPECT_EQ(controls.visibleButtons(), (Buttons{Button::cmdRun, Button::cmdQuit}));
    EXPECT_TRUE(controls.hasFocus(Button::cmdRun));

    startWorkedExample();
    EXPECT_EQ(controls.visibleButtons(), (Buttons{Button::cmdSubmit, Button::cmdQuit}));
    EXPECT_TRUE(controls.hasFocus(TextBox::txtAnswer));
    EXPECT_TRUE(problem().ends_with("solution that is  50%"));
    EXPECT_EQ(verdict(), "");
    EXPECT_EQ(controls.caption(Label::lblRight), "0");
}

TEST_F(Flow, SubmitSwapsSubmitForNextAndFocusesNext)
{
    startWorkedExample();
    submit("30", 2);
    EXPECT_EQ(controls.visibleButtons(), (Buttons{Button::cmdNext, Button::cmdQuit}));
    EXPECT_TRUE(controls.hasFocus(Button::cmdNext));
}

TEST_F(Flow, NextClearsAnswerAndVerdictAndBringsSubmitBack)
{
    startWorkedExample();
    submit("12", 2);
    ASSERT_NE(verdict(), "");
    nextWorkedExample();
    EXPECT_EQ(controls.text(TextBox::txtAnswer), "");
    EXPECT_EQ(verdict(), "");
    EXPECT_TRUE(controls.hasFocus(TextBox::txtAnswer));
    EXPECT_EQ(controls.visibleButtons(), (Buttons{Button::cmdSubmit, Button::cmdQuit}));
    EXPECT_TRUE(problem().starts_with("Tyrone  needs  40"));
    // The counts stay as they were.
    EXPECT_EQ(controls.caption(Label::lblWrong), " 1");
}

// Quit in each state: Ready, Answering, Reviewing.
class Quit : public Practice, public ::testing::WithParamInterface<int> {};

TEST_P(Quit, EndsTheProgramAtOnceInEveryState)
{
    if (GetParam() >= 1) {
        startWorkedExample();
    }
    if (GetParam() >= 2) {
        submit("30", 1);
    }
    const auto taken = random.taken();
    ASSERT_FALSE(controls.ended());
    form->cmdQuit_Click();
    EXPECT_TRUE(controls.ended());
    EXPECT_EQ(random.taken(), taken) << "Quit draws nothing";
}

INSTANTIATE_TEST_SUITE_P(Table, Quit, ::testing::Values(0, 1, 2), [](const auto& row) {
    return std::string(std::array{"Ready", "Answering", "Reviewing"}.at(static_cast<std::size_t>(row.param)));
});

}  // namespace
}  // namespace dravlet::testing
