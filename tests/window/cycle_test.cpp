// SPDX-License-Identifier: MIT
#include "window_harness.h"

namespace dravlet::testing {
namespace {

using Cycle = LiveWindow;

// One learner's session through the real widgets, reading only what is on screen.
TEST_F(Cycle, RightThenWrongThenKindThreeThenQuit)
{
    random.pushDraw(Tyrone, 33).pushAttempt(10, 30, 20, 60);
    click(Button::cmdRun);
    EXPECT_EQ(problemOnScreen(),
              "Tyrone  has  10 liters of a 20% solution.  How many liters of a  60% solution "
              "must be added to produce a solution that is  50%");
    EXPECT_EQ(focusName(), "txtAnswer");

    typeText("30 liters");
    random.pushDraw(2, 3);
    click(Button::cmdSubmit);
    EXPECT_EQ(onScreen(Label::lblResponse), "CORRECT");
    EXPECT_EQ(onScreen(Label::lblRight), " 1");
    EXPECT_EQ(onScreen(Label::lblWrong), " 0");
    EXPECT_EQ(answerBox()->text(), "30 liters") << "the answer stays beside its verdict";

    random.pushDraw(Diana, 33).pushAttempt(10, 30, 20, 60);
    click(Button::cmdNext);
    EXPECT_EQ(answerBox()->text(), "");
    EXPECT_EQ(onScreen(Label::lblResponse), "");
    EXPECT_TRUE(problemOnScreen().startsWith("Diana  needs  40 liters of a 50% solution."));

    typeText("12");
    random.pushDraw(3, 3);
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    EXPECT_EQ(onScreen(Label::lblResponse), "Wrong! 10 Liters  are needed");
    EXPECT_EQ(onScreen(Label::lblRight), " 1");
    EXPECT_EQ(onScreen(Label::lblWrong), " 1");

    random.pushDraw(Tyrone, 33).pushDraw(Tyrone, 32).pushAttempt(10, 30, 20, 60);
    press(Qt::Key_Space);
    EXPECT_TRUE(problemOnScreen().startsWith("Tyrone has  10 liters of a  20% solution and Diana  has"));
    typeText("49");
    random.pushDraw(1, 3);
    click(Button::cmdSubmit);
    EXPECT_EQ(onScreen(Label::lblResponse), "Wrong! The solution is  50%");
    EXPECT_EQ(onScreen(Label::lblWrong), " 2");

    click(Button::cmdQuit);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(random.left(), 0U);
}

}  // namespace
}  // namespace dravlet::testing
