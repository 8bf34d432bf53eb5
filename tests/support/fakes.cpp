// SPDX-License-Identifier: MIT
#include "tests/support/fakes.h"

#include <stdexcept>

namespace dravlet::testing {

FakeControls::FakeControls() : m_focus(startFocus)
{
    for (const auto box : {TextBox::txtProb, TextBox::txtAnswer}) {
        m_texts[box] = "";
    }
    for (const auto label : {Label::lblResponse, Label::lblRight, Label::lblWrong, Label::Label1,
                             Label::Label2, Label::Label3}) {
        m_captions[label] = startCaption(label);
    }
    for (const auto button : {Button::cmdRun, Button::cmdSubmit, Button::cmdNext, Button::cmdQuit}) {
        m_visible[button] = startsVisible(button);
    }
}

std::string FakeControls::text(TextBox box) const
{
    return m_texts.at(box);
}

void FakeControls::setText(TextBox box, std::string_view text)
{
    m_texts[box] = text;
    if (box == TextBox::txtProb) {
        m_problemHistory.emplace_back(text);
    }
}

void FakeControls::focus(TextBox box)
{
    m_focus = box;
}

void FakeControls::setCaption(Label label, std::string_view caption)
{
    m_captions[label] = caption;
}

void FakeControls::setVisible(Button button, bool visible)
{
    m_visible[button] = visible;
    // A hidden control cannot keep the focus.
    if (!visible && hasFocus(button)) {
        m_focus = std::monostate{};
    }
}

void FakeControls::focus(Button button)
{
    // As in a real window, a hidden button cannot take the focus.
    if (m_visible.at(button)) {
        m_focus = button;
    }
}

std::vector<Button> FakeControls::visibleButtons() const
{
    std::vector<Button> shown;
    for (const auto button : {Button::cmdRun, Button::cmdSubmit, Button::cmdNext, Button::cmdQuit}) {
        if (m_visible.at(button)) {
            shown.push_back(button);
        }
    }
    return shown;
}

double ScriptedRandom::next()
{
    if (m_values.empty()) {
        throw std::logic_error("ScriptedRandom: the script ran out after "
                               + std::to_string(m_taken) + " values");
    }
    const double r = m_values.front();
    m_values.pop_front();
    ++m_taken;
    return r;
}

ScriptedRandom& ScriptedRandom::push(double r)
{
    m_values.push_back(r);
    return *this;
}

ScriptedRandom& ScriptedRandom::pushDraw(int k, int n)
{
    // The middle of k's interval, far from both edges.
    return push((static_cast<double>(k) - 0.5) / static_cast<double>(n));
}

ScriptedRandom& ScriptedRandom::pushAttempt(int liters1, int liters2, int pct1, int pct2)
{
    return pushDraw(liters1, 99).pushDraw(liters2, 99).pushDraw(pct1, 99).pushDraw(pct2, 99);
}

}  // namespace dravlet::testing
