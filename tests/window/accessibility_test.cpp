// SPDX-License-Identifier: MIT
// What a screen reader gets from each control, read in-process through QAccessible.
#include "window_harness.h"

#include <QAccessible>
#include <QAccessibleTextInterface>

#include "window/heldupdates.h"


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

    // Named by its problem, then as itself: braille shows names, never descriptions.
    EXPECT_EQ(name(answerBox()), problemOnScreen() + ". Your answer");
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

    // Each count is labelled by its caption.
    const auto labelledBy = a11y(label(Label::lblWrong))->relations(QAccessible::Label);
    ASSERT_EQ(labelledBy.size(), 1);
    EXPECT_EQ(labelledBy.first().first->text(QAccessible::Name), "Wrong");

    // A wrong answer: the verdict and both counts exactly as shown, blanks included, and
    // Next, which takes the focus, named by them. That the changes reach a screen
    // reader is checked with Orca and through AT-SPI, on a real display.
    typeText("9");
    random.pushDraw(2, 3);
    click(Button::cmdSubmit);
    EXPECT_EQ(name(label(Label::lblResponse)), "Wrong! 30 Liters are needed");
    EXPECT_EQ(name(label(Label::lblWrong)), " 1");
    EXPECT_EQ(name(label(Label::lblRight)), " 0");
    EXPECT_EQ(name(button(Button::cmdNext)), "Wrong! 30 Liters are needed. Right answers 0, wrong answers 1. Next");
    EXPECT_EQ(description(button(Button::cmdNext)), "");
}

// While a press is handled the window holds its updates back and then sends them with one
// focus event for the control that ends with the focus: none of that control's own text
// or caret changes (the reader reads it afresh), its renaming before the focus event, and
// the renaming of any other control (here the button pressed) after it.
// Fed what the toolkit sends on Start when a screen reader listens (none is here).
TEST_F(Accessibility, HeldUpdatesSendOneFocusEventNoTextOfTheFocusedControlAndOthersRenamingAfterIt)
{
    {
        const HeldAccessibilityUpdates held;
        const QAccessible::UpdateHandler deliver = QAccessible::installUpdateHandler(nullptr);
        QAccessible::installUpdateHandler(deliver);
        QAccessibleEvent hidden(button(Button::cmdRun), QAccessible::ObjectHide);
        QAccessibleEvent renamed(button(Button::cmdRun), QAccessible::NameChanged);
        QAccessibleEvent shown(button(Button::cmdSubmit), QAccessible::ObjectShow);
        QAccessibleEvent focus(answerBox(), QAccessible::Focus);
        QAccessibleTextUpdateEvent problem(problemBox(), 0, "", "Tyrone  has  10 liters");
        QAccessibleEvent named(answerBox(), QAccessible::NameChanged);
        QAccessibleTextCursorEvent caret(answerBox(), 0);
        answerBox()->setFocus();
        sentUpdates.clear();
        for (QAccessibleEvent* event : {&hidden, &renamed, &shown, &focus, static_cast<QAccessibleEvent*>(&problem),
                                        &named, static_cast<QAccessibleEvent*>(&caret), &focus}) {
            deliver(event);
        }
    }
    const std::vector<std::pair<QObject*, QAccessible::Event>> expected{
        {button(Button::cmdRun), QAccessible::ObjectHide}, {button(Button::cmdSubmit), QAccessible::ObjectShow},
        {problemBox(), QAccessible::TextUpdated},          {answerBox(), QAccessible::NameChanged},
        {answerBox(), QAccessible::Focus},                 {button(Button::cmdRun), QAccessible::NameChanged}};
    EXPECT_EQ(sentUpdates, expected) << "focus event: " << QAccessible::Focus << ", renaming: " << QAccessible::NameChanged;
}

}  // namespace
}  // namespace dravlet::testing
