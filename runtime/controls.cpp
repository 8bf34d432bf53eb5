// SPDX-License-Identifier: MIT
#include "runtime/controls.h"

namespace dravlet {

std::string_view controlName(TextBox box)
{
    switch (box) {
    case TextBox::txtProb: return "txtProb";
    case TextBox::txtAnswer: return "txtAnswer";
    }
    return {};
}

std::string_view controlName(Label label)
{
    switch (label) {
    case Label::lblResponse: return "lblResponse";
    case Label::lblRight: return "lblRight";
    case Label::lblWrong: return "lblWrong";
    case Label::Label1: return "Label1";
    case Label::Label2: return "Label2";
    case Label::Label3: return "Label3";
    }
    return {};
}

std::string_view controlName(Button button)
{
    switch (button) {
    case Button::cmdRun: return "cmdRun";
    case Button::cmdSubmit: return "cmdSubmit";
    case Button::cmdNext: return "cmdNext";
    case Button::cmdQuit: return "cmdQuit";
    }
    return {};
}

}  // namespace dravlet

namespace dravlet {

std::string_view startCaption(Label label)
{
    switch (label) {
    case Label::lblResponse: return "";
    case Label::lblRight:
    case Label::lblWrong: return "0";
    case Label::Label1: return "Right";
    case Label::Label2: return "Wrong";
    case Label::Label3: return "Type a number, then press Submit.";
    }
    return {};
}

bool startsVisible(Button button)
{
    return button == Button::cmdRun || button == Button::cmdQuit;
}

namespace {

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view blanks = " \t\n\r\f\v";
    const auto first = text.find_first_not_of(blanks);
    return first == std::string_view::npos ? std::string_view{}
                                           : text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

}  // namespace

namespace {

// What a control holds, then what it is, with a full stop between them where the content
// does not end a sentence, so speech pauses and braille separates.
std::string nameWith(std::string_view content, std::string_view control)
{
    std::string name(content);
    if (!name.empty()) {
        const char last = name.back();
        name += last == '.' || last == '?' || last == '!' ? " " : ". ";
    }
    return name.append(control);
}

}  // namespace

std::string answerBoxName(std::string_view problem)
{
    return nameWith(problem, "Your answer");
}

std::string nextButtonName(std::string_view verdict, std::string_view right, std::string_view wrong)
{
    std::string review;
    if (!verdict.empty()) {
        review.append(verdict).append(". Right answers ").append(trimmed(right));
        review.append(", wrong answers ").append(trimmed(wrong)).append(".");
    }
    return nameWith(review, "Next");
}

}  // namespace dravlet
