// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "engine/dravlet.h"
#include "runtime/clock.h"
#include "runtime/controls.h"
#include "runtime/random.h"

namespace dravlet::testing {

// Slots of some names in the table (1-based, in the order the names are listed).
inline constexpr int Bob = 1;
inline constexpr int Juan = 3;
inline constexpr int Tyrone = 4;
inline constexpr int Diana = 5;
inline constexpr int Julio = 32;
inline constexpr int Danielle = 33;

// Keeps what a user would see of each control: texts, captions, which buttons show
// and which control has the focus. Starts as the real window opens.
class FakeControls final : public Controls, public ProgramEnd {
public:
    using Focus = std::variant<std::monostate, TextBox, Button>;

    FakeControls();

    std::string text(TextBox box) const override;
    void setText(TextBox box, std::string_view text) override;
    void focus(TextBox box) override;
    void setCaption(Label label, std::string_view caption) override;
    void setVisible(Button button, bool visible) override;
    void focus(Button button) override;
    void endProgram() override { m_ended = true; }

    // What the user does and sees.
    void type(std::string_view answer) { m_texts[TextBox::txtAnswer] = std::string(answer); }
    std::string caption(Label label) const { return m_captions.at(label); }
    bool isVisible(Button button) const { return m_visible.at(button); }
    Focus focused() const { return m_focus; }
    bool hasFocus(TextBox box) const { return m_focus == Focus{box}; }
    bool hasFocus(Button button) const { return m_focus == Focus{button}; }
    bool ended() const { return m_ended; }
    // The buttons now showing, in the order Start, Submit, Next, Quit.
    std::vector<Button> visibleButtons() const;
    // Every text the problem box was given, in order.
    const std::vector<std::string>& problemHistory() const { return m_problemHistory; }

private:
    std::map<TextBox, std::string> m_texts;
    std::map<Label, std::string> m_captions;
    std::map<Button, bool> m_visible;
    Focus m_focus;
    bool m_ended = false;
    std::vector<std::string> m_problemHistory;
};

// Hands out a scripted sequence of values and counts what was taken; running out is
// a test failure (an exception), never a silent zero.
class ScriptedRandom final : public RandomSource {
public:
    void reseed(double seed) override { m_seeds.push_back(seed); }
    double next() override;

    // Queues the value whose whole-number draw over 1..n gives k.
    ScriptedRandom& pushDraw(int k, int n);
    // Queues one attempt of the number loop: Liters1, Liters2, Pct1, Pct2.
    ScriptedRandom& pushAttempt(int liters1, int liters2, int pct1, int pct2);
    ScriptedRandom& push(double r);

    std::size_t taken() const { return m_taken; }
    std::size_t left() const { return m_values.size(); }
    const std::vector<double>& seeds() const { return m_seeds; }

private:
    std::deque<double> m_values;
    std::size_t m_taken = 0;
    std::vector<double> m_seeds;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(double seconds) : m_seconds(seconds) {}
    double secondsSinceMidnight() const override { return m_seconds; }

private:
    double m_seconds;
};

// The window object on the program's own generator, as the program wires it, but with
// a fixed clock so that a failing run can be replayed. Surface is the controls: the
// fake, or the real window.
template <typename Surface>
struct RealGenerator {
    explicit RealGenerator(double clockReading) : clock(clockReading) {}

    Surface surface;
    MersenneRandom random;
    FixedClock clock;
    cmdDravlet form{surface, surface, random, clock};
};

}  // namespace dravlet::testing
