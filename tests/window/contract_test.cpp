// SPDX-License-Identifier: MIT
// One contract, two implementations: the fake the engine tests use and the real Qt
// window must agree on every control operation, or the engine tests prove nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <string>

#include "tests/support/fakes.h"
#include "tests/window/window_harness.h"
#include "window/dravletwindow.h"
#include "window/fitlabel.h"

namespace dravlet::testing {
namespace {

constexpr TextBox allBoxes[] = {TextBox::txtProb, TextBox::txtAnswer};
constexpr Label allLabels[] = {Label::lblResponse, Label::lblRight, Label::lblWrong,
                               Label::Label1,      Label::Label2,   Label::Label3};
constexpr Button allButtons[] = {Button::cmdRun, Button::cmdSubmit, Button::cmdNext, Button::cmdQuit};

struct FakeSide {
    FakeControls fake;
    Controls& controls() { return fake; }
    ProgramEnd& program() { return fake; }
    std::string caption(Label l) const { return fake.caption(l); }
    bool visible(Button b) const { return fake.isVisible(b); }
    bool ended() const { return fake.ended(); }
    std::string focused() const
    {
        const auto focus = fake.focused();
        if (const auto* box = std::get_if<TextBox>(&focus)) {
            return std::string(controlName(*box));
        }
        if (const auto* button = std::get_if<Button>(&focus)) {
            return std::string(controlName(*button));
        }
        return "";
    }
};

struct QtSide {
    QtSide() { EXPECT_TRUE(showActive(window)); }
    DravletWindow window;
    Controls& controls() { return window; }
    ProgramEnd& program() { return window; }
    std::string caption(Label l) const { return window.widget(l)->text().toStdString(); }
    bool visible(Button b) const { return window.widget(b)->isVisible(); }
    bool ended() const { return !window.isVisible(); }
    std::string focused() const
    {
        const QWidget* widget = QApplication::focusWidget();
        return widget == nullptr || widget == &window ? "" : widget->objectName().toStdString();
    }
};

template <typename Side>
class ControlContract : public ::testing::Test {
protected:
    Side side;
};

using Sides = ::testing::Types<FakeSide, QtSide>;
TYPED_TEST_SUITE(ControlContract, Sides);

TYPED_TEST(ControlContract, OpensInTheStartState)
{
    auto& s = this->side;
    for (const TextBox box : allBoxes) {
        EXPECT_EQ(s.controls().text(box), "") << controlName(box);
    }
    for (const Label label : allLabels) {
        EXPECT_EQ(s.caption(label), startCaption(label)) << controlName(label);
    }
    for (const Button button : allButtons) {
        EXPECT_EQ(s.visible(button), startsVisible(button)) << controlName(button);
    }
    EXPECT_EQ(s.focused(), controlName(startFocus));
    EXPECT_FALSE(s.ended());
}

TYPED_TEST(ControlContract, TextsComeBackExactlyAsSet)
{
    auto& s = this->side;
    for (const TextBox box : allBoxes) {
        for (const std::string text : {"Tyrone  has  10 liters of a 20%", " 30 ", "", "Müller 12,5 °"}) {
            s.controls().setText(box, text);
            EXPECT_EQ(s.controls().text(box), text) << controlName(box);
        }
    }
}

TYPED_TEST(ControlContract, CaptionsShowExactlyAsSetBlanksIncluded)
{
    auto& s = this->side;
    for (const Label label : allLabels) {
        for (const std::string caption : {" 1", "Wrong! 30 Liters  are needed", ""}) {
            s.controls().setCaption(label, caption);
            EXPECT_EQ(s.caption(label), caption) << controlName(label);
        }
    }
}

TYPED_TEST(ControlContract, ButtonsShowAndHide)
{
    auto& s = this->side;
    for (const Button button : allButtons) {
        s.controls().setVisible(button, true);
        EXPECT_TRUE(s.visible(button)) << controlName(button);
        s.controls().setVisible(button, false);
        EXPECT_FALSE(s.visible(button)) << controlName(button);
    }
}

TYPED_TEST(ControlContract, FocusMovesToTheNamedControl)
{
    auto& s = this->side;
    s.controls().focus(TextBox::txtAnswer);
    EXPECT_EQ(s.focused(), "txtAnswer");
    s.controls().focus(Button::cmdQuit);
    EXPECT_EQ(s.focused(), "cmdQuit");
    s.controls().setVisible(Button::cmdNext, true);
    s.controls().focus(Button::cmdNext);
    EXPECT_EQ(s.focused(), "cmdNext");
    s.controls().focus(TextBox::txtProb);
    EXPECT_EQ(s.focused(), "txtProb");
}

TYPED_TEST(ControlContract, AHiddenButtonLosesAndCannotTakeTheFocus)
{
    auto& s = this->side;
    s.controls().setVisible(Button::cmdRun, false);
    EXPECT_NE(s.focused(), "cmdRun");
    s.controls().focus(Button::cmdSubmit);
    EXPECT_NE(s.focused(), "cmdSubmit");
}

TYPED_TEST(ControlContract, EndingTheProgramTakesTheWindowAway)
{
    auto& s = this->side;
    s.program().endProgram();
    EXPECT_TRUE(s.ended());
}

}  // namespace
}  // namespace dravlet::testing
