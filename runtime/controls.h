// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace dravlet {

// The twelve controls by name, typed by kind, so that each name can only be used
// with the operations of its kind: a caption can be set only on a label.
enum class TextBox { txtProb, txtAnswer };
enum class Label { lblResponse, lblRight, lblWrong, Label1, Label2, Label3 };
enum class Button { cmdRun, cmdSubmit, cmdNext, cmdQuit };

// The control operations the window object works through. Each operation changes the
// control's state at once; none forces a repaint. Texts are UTF-8.
class Controls {
public:
    Controls() = default;
    virtual ~Controls() = default;
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    // The text now in the box, as typed or as last set.
    virtual std::string text(TextBox box) const = 0;
    // Replaces the whole text of the box.
    virtual void setText(TextBox box, std::string_view text) = 0;
    // Moves the keyboard focus to the box.
    virtual void focus(TextBox box) = 0;
    // Replaces the caption the label shows.
    virtual void setCaption(Label label, std::string_view caption) = 0;
    // Shows or hides the button; a hidden button cannot be pressed.
    virtual void setVisible(Button button, bool visible) = 0;
    // Moves the keyboard focus to the button.
    virtual void focus(Button button) = 0;
};

// Ends the program at once; the window goes with it.
class ProgramEnd {
public:
    ProgramEnd() = default;
    virtual ~ProgramEnd() = default;
    ProgramEnd(const ProgramEnd&) = delete;
    ProgramEnd& operator=(const ProgramEnd&) = delete;

    virtual void endProgram() = 0;
};

// The control names as the program knows them: the toolkit's object names and the
// names tests and assistive technology see.
std::string_view controlName(TextBox box);
std::string_view controlName(Label label);
std::string_view controlName(Button button);

}  // namespace dravlet

namespace dravlet {

// The controls as the window opens: what each label says, which buttons show, and
// where the focus is (Start, so Space or Enter begins at once).
std::string_view startCaption(Label label);
bool startsVisible(Button button);
inline constexpr Button startFocus = Button::cmdRun;

// The accessible names of the two controls that take the focus with something new to
// read: the answer box named by its problem ("... used? Your answer"), Next by the verdict
// and both counts ("CORRECT. Right answers 1, wrong answers 0. Next"); with nothing to
// read, just "Your answer" and "Next". Braille displays show a focused control's name but
// never its description, so what a blind learner must read at once goes into the name;
// speech reads the name too, so it is said once. Every face (the Qt window, the page and the
// Windows program) names them by these.
std::string answerBoxName(std::string_view problem);
std::string nextButtonName(std::string_view verdict, std::string_view right, std::string_view wrong);

}  // namespace dravlet
