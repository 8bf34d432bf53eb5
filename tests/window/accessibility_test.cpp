// What a screen reader gets from each control, read in-process through QAccessible.
#include "window_harness.h"

#include <QAccessible>
#include <QAccessibleTextInterface>


namespace dravlet::testing {
namespace {

class Accessibility : public LiveWindow {
protected:
    static QAccessibleInterface* a11y(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); }
    static QString name(QWidget* widget) { return a11y(widget)->text(QAccessible::Name); }
    static QString description(QWidget* widget) { return a11y(widget)->text(QAccessible::Description); }
    static QString textOf(QWidget* widget)
    {
        QAccessibleTextInterface* text = a11y(widget)->textInterface();
        return text == nullptr ? QString("<no text interface>") : text->text(0, text->characterCount());
    }

};

TEST_F(Accessibility, EveryControlHasANameARoleAndReadsAsShown)
{
    random.pushDraw(Tyrone, 33).pushAttempt(10, 30, 20, 60);
    click(Button::cmdRun);
    typeText("30");

    EXPECT_EQ(a11y(&window)->role(), QAccessible::Window);
    EXPECT_EQ(name(&window), "Dravlet Problem Practice Version 2.1");

    EXPECT_EQ(name(problemBox()), "Problem");
    EXPECT_EQ(a11y(problemBox())->role(), QAccessible::EditableText);
    EXPECT_TRUE(a11y(problemBox())->state().readOnly);
    EXPECT_EQ(textOf(problemBox()), problemOnScreen());

    EXPECT_EQ(name(answerBox()), "Your answer");
    EXPECT_EQ(a11y(answerBox())->role(), QAccessible::EditableText);
    EXPECT_FALSE(a11y(answerBox())->state().readOnly);
    EXPECT_EQ(textOf(answerBox()), "30");

    for (const Button b : {Button::cmdRun, Button::cmdSubmit, Button::cmdNext, Button::cmdQuit}) {
        EXPECT_EQ(name(button(b)), button(b)->text());
        EXPECT_EQ(a11y(button(b))->role(), QAccessible::Button);
        EXPECT_EQ(a11y(button(b))->state().invisible, !button(b)->isVisible());
    }
    EXPECT_EQ(name(button(Button::cmdSubmit)), "Submit");

    EXPECT_EQ(name(label(Label::lblRight)), "0");
    EXPECT_EQ(description(label(Label::lblRight)), "Right answers");
    EXPECT_EQ(description(label(Label::lblWrong)), "Wrong answers");
    EXPECT_EQ(description(label(Label::lblResponse)), "Result of your answer");
    EXPECT_EQ(name(label(Label::Label1)), "Right");
    EXPECT_EQ(name(label(Label::Label3)), "Type a number, then press Submit.");
    for (const Label l : {Label::lblRight, Label::lblWrong, Label::lblResponse, Label::Label1}) {
        EXPECT_EQ(a11y(label(l))->role(), QAccessible::StaticText);
    }

    // The answer box is described by its problem; each count is labelled by its caption.
    EXPECT_EQ(description(answerBox()), problemOnScreen());
    const auto labelledBy = a11y(label(Label::lblWrong))->relations(QAccessible::Label);
    ASSERT_EQ(labelledBy.size(), 1);
    EXPECT_EQ(labelledBy.first().first->text(QAccessible::Name), "Wrong");

    // A wrong answer: the verdict and both counts exactly as shown, blanks included, and
    // Next, which takes the focus, described by them. That the changes reach a screen
    // reader is checked with Orca and through AT-SPI, on a real display.
    typeText("9");
    random.pushDraw(2, 3);
    click(Button::cmdSubmit);
    EXPECT_EQ(name(label(Label::lblResponse)), "Wrong! 30 Liters are needed");
    EXPECT_EQ(name(label(Label::lblWrong)), " 1");
    EXPECT_EQ(name(label(Label::lblRight)), " 0");
    EXPECT_EQ(description(button(Button::cmdNext)), "Wrong! 30 Liters are needed. Right answers 0, wrong answers 1.");
}

}  // namespace
}  // namespace dravlet::testing
