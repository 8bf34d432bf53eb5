#include "practice_fixture.h"

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

TEST_F(Flow, SubmitFromAFocusedSubmitButtonStillEndsOnNext)
{
    startWorkedExample();
    controls.focus(Button::cmdSubmit);
    submit("30", 2);
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

TEST_F(Flow, StartIsNeverShownAgain)
{
    startWorkedExample();
    for (int i = 0; i < 5; ++i) {
        submit("30", 1);
        EXPECT_FALSE(controls.isVisible(Button::cmdRun));
        nextWorkedExample();
        EXPECT_FALSE(controls.isVisible(Button::cmdRun));
    }
    EXPECT_EQ(vars().RightCount, 5);
}

TEST_F(Flow, QuitEndsTheProgramWhenReady)
{
    form->cmdQuit_Click();
    EXPECT_TRUE(controls.ended());
    EXPECT_EQ(random.taken(), 0U);
}

TEST_F(Flow, QuitEndsTheProgramWhileAnswering)
{
    startWorkedExample();
    form->cmdQuit_Click();
    EXPECT_TRUE(controls.ended());
}

TEST_F(Flow, QuitEndsTheProgramWhileReviewing)
{
    startWorkedExample();
    submit("30", 1);
    EXPECT_FALSE(controls.ended());
    form->cmdQuit_Click();
    EXPECT_TRUE(controls.ended());
}

}  // namespace
}  // namespace dravlet::testing
