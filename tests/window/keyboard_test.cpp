// SPDX-License-Identifier: MIT
#include "window_harness.h"

namespace dravlet::testing {
namespace {

class Keyboard : public LiveWindow {
protected:
    void scriptProblem() { random.pushDraw(Tyrone, 33).pushAttempt(10, 30, 20, 60); }
    void scriptSubmit(int nextKind = 1) { random.pushDraw(nextKind, 3); }

    // Start with Space, so the answer box has the focus.
    void startWithSpace()
    {
        scriptProblem();
        press(Qt::Key_Space);
    }
};

TEST_F(Keyboard, FocusStartsOnStartAndSpaceStarts)
{
    EXPECT_EQ(focusName(), "cmdRun");
    startWithSpace();
    EXPECT_EQ(focusName(), "txtAnswer");
    EXPECT_FALSE(button(Button::cmdRun)->isVisible());
    EXPECT_TRUE(button(Button::cmdSubmit)->isVisible());
    EXPECT_TRUE(problemOnScreen().startsWith("Tyrone  has  10 liters"));
}

TEST_F(Keyboard, EnterOnAFocusedButtonPressesIt)
{
    scriptProblem();
    press(Qt::Key_Return);
    EXPECT_EQ(focusName(), "txtAnswer");
    typeText("30");
    press(Qt::Key_Tab);
    ASSERT_EQ(focusName(), "cmdSubmit");
    scriptSubmit();
    press(Qt::Key_Enter);
    EXPECT_EQ(onScreen(Label::lblResponse), "CORRECT");
    EXPECT_EQ(focusName(), "cmdNext");
    scriptProblem();
    press(Qt::Key_Return);
    EXPECT_EQ(focusName(), "txtAnswer");
    EXPECT_TRUE(button(Button::cmdSubmit)->isVisible());
}

TEST_F(Keyboard, TabGoesFromTheAnswerToSubmitThenQuitSkippingLabelsAndTheProblem)
{
    startWithSpace();
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), "cmdSubmit");
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), "cmdQuit");
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), "txtAnswer");
    press(Qt::Key_Backtab);
    EXPECT_EQ(focusName(), "cmdQuit");
}

TEST_F(Keyboard, TabWhileReviewingGoesFromTheAnswerToNextThenQuit)
{
    startWithSpace();
    typeText("3");
    scriptSubmit();
    click(Button::cmdSubmit);
    ASSERT_EQ(focusName(), "cmdNext");
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), "cmdQuit");
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), "txtAnswer");
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), "cmdNext");
}

TEST_F(Keyboard, EnterInTheAnswerBoxPressesNothing)
{
    startWithSpace();
    typeText("30");
    press(Qt::Key_Return);
    press(Qt::Key_Enter);
    EXPECT_TRUE(button(Button::cmdSubmit)->isVisible());
    EXPECT_FALSE(button(Button::cmdNext)->isVisible());
    EXPECT_EQ(onScreen(Label::lblResponse), "");
    EXPECT_EQ(onScreen(Label::lblRight), "0");
    EXPECT_EQ(answerBox()->text(), "30");
    EXPECT_EQ(random.left(), 0U);
}

TEST_F(Keyboard, EscapePressesNothingInAnyState)
{
    press(Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(button(Button::cmdRun)->isVisible());

    startWithSpace();
    press(Qt::Key_Escape);
    EXPECT_TRUE(button(Button::cmdSubmit)->isVisible());

    typeText("1");
    scriptSubmit();
    click(Button::cmdSubmit);
    press(Qt::Key_Escape);
    EXPECT_TRUE(button(Button::cmdNext)->isVisible());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(random.left(), 0U);
}

// The problem box takes no typing, but its text can be selected from the keyboard, to
// be copied.
TEST_F(Keyboard, ProblemBoxTakesNoTypingButSelectsFromTheKeyboard)
{
    startWithSpace();
    QTest::mouseClick(problemBox()->viewport(), Qt::LeftButton);
    const QString before = problemOnScreen();
    QTest::keyClicks(problemBox(), "typed");
    QTest::keyClick(problemBox(), Qt::Key_Backspace);
    EXPECT_EQ(problemOnScreen(), before);

    QTest::keyClick(problemBox(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(problemBox(), Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(problemBox()->textCursor().selectedText().toStdString(), before.toStdString())
        << "the problem cannot be selected from the keyboard";
}

}  // namespace
}  // namespace dravlet::testing
