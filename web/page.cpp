// SPDX-License-Identifier: MIT
// The page's side of the engine: the control operations over the page's own HTML
// controls, reached through the few DOM calls of page.js, and the two entry points the
// page calls: start, once the engine is loaded, and press, for every button press.
#include <emscripten.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "engine/dravlet.h"
#include "runtime/clock.h"
#include "runtime/controls.h"
#include "runtime/random.h"

// The page's operations, imported from its script. Control names and texts cross as UTF-8
// bytes and their length; the text read from a box comes back NUL-terminated, in memory
// the script takes from the engine's malloc.
#define PAGE_OPERATION(name) __attribute__((import_module("page"), import_name(name)))
extern "C" {
PAGE_OPERATION("text") char* pageText(const char* name, std::size_t nameLength);
PAGE_OPERATION("setText") void pageSetText(const char* name, std::size_t nameLength, const char* text,
                                           std::size_t textLength);
PAGE_OPERATION("setCaption") void pageSetCaption(const char* name, std::size_t nameLength, const char* caption,
                                                 std::size_t captionLength);
// The accessible name a control takes with the next settle.
PAGE_OPERATION("name") void pageName(const char* name, std::size_t nameLength, const char* accessibleName,
                                     std::size_t accessibleNameLength);
PAGE_OPERATION("setVisible") void pageSetVisible(const char* name, std::size_t nameLength, bool visible);
PAGE_OPERATION("settle") void pageSettle(const char* focus, std::size_t focusLength);
// A press of the button runs the handler the engine numbered it with.
PAGE_OPERATION("connect") void pageConnect(const char* name, std::size_t nameLength, int handler);
PAGE_OPERATION("end") void pageEnd();
// What Submit judged, for a learning platform that launched the page (the script tells it).
PAGE_OPERATION("judged") void pageJudged(double answer, double rightAnswer, bool right, std::int32_t rightCount,
                                         std::int32_t wrongCount);
}

namespace {

class PageControls final : public dravlet::Controls, public dravlet::ProgramEnd {
public:
    std::string text(dravlet::TextBox box) const override
    {
        const std::string_view name = controlName(box);
        char* const copy = pageText(name.data(), name.size());
        std::string text(copy);
        std::free(copy);
        return text;
    }

    void setText(dravlet::TextBox box, std::string_view text) override
    {
        const std::string_view name = controlName(box);
        pageSetText(name.data(), name.size(), text.data(), text.size());
        if (box == dravlet::TextBox::txtProb) {
            nameControl(dravlet::controlName(dravlet::TextBox::txtAnswer), dravlet::answerBoxName(text));
        }
    }

    void focus(dravlet::TextBox box) override { m_focus = controlName(box); }

    void setCaption(dravlet::Label label, std::string_view caption) override
    {
        m_captions.at(static_cast<std::size_t>(label)) = caption;
        const std::string_view control = controlName(label);
        pageSetCaption(control.data(), control.size(), caption.data(), caption.size());
        // Next is named by the verdict and both counts, so a screen reader says them and a
        // braille display shows them when the focus comes to Next after Submit.
        using dravlet::Label;
        std::string name = dravlet::nextButtonName(captionOf(Label::lblResponse), captionOf(Label::lblRight),
                                                   captionOf(Label::lblWrong));
        // Renamed only when that changes: every renaming is an event to each assistive client.
        if (name != m_nextName) {
            m_nextName = std::move(name);
            nameControl(dravlet::controlName(dravlet::Button::cmdNext), m_nextName);
        }
    }

    void setVisible(dravlet::Button button, bool visible) override
    {
        const std::string_view name = controlName(button);
        pageSetVisible(name.data(), name.size(), visible);
    }

    void focus(dravlet::Button button) override { m_focus = controlName(button); }

    void endProgram() override { m_ended = true; }

    bool ended() const { return m_ended; }

    // Once a handler has done all it does: the page settles, and the focus moves last,
    // so that a screen reader reads the control with what the handler wrote into it (the
    // answer box with its new problem), once, instead of reading it and then its changes.
    void settle()
    {
        pageSettle(m_focus.data(), m_focus.size());
        m_focus.clear();
    }

private:
    static void nameControl(std::string_view control, std::string_view name)
    {
        pageName(control.data(), control.size(), name.data(), name.size());
    }

    const std::string& captionOf(dravlet::Label label) const { return m_captions.at(static_cast<std::size_t>(label)); }

    std::array<std::string, 6> m_captions;  // by label, in the order of their enumeration
    std::string m_nextName;
    std::string m_focus;
    bool m_ended = false;
};

class PlatformReport final : public dravlet::JudgementObserver {
public:
    void judged(const dravlet::Judgement& j) override
    {
        pageJudged(j.answer, j.rightAnswer, j.right, j.rightCount, j.wrongCount);
    }
};

// One practice run: the page's controls and the window object that drives them.
struct Practice {
    PageControls controls;
    dravlet::MersenneRandom random;
    dravlet::SystemClock clock;
    PlatformReport report;
    dravlet::cmdDravlet form{controls, controls, random, clock};
};

std::unique_ptr<Practice> practice;

using Handler = void (dravlet::cmdDravlet::*)();
const std::array<std::pair<dravlet::Button, Handler>, 4> handlers{{
    {dravlet::Button::cmdRun, &dravlet::cmdDravlet::cmdRun_Click},
    {dravlet::Button::cmdSubmit, &dravlet::cmdDravlet::cmdSubmit_Click},
    {dravlet::Button::cmdNext, &dravlet::cmdDravlet::cmdNext_Click},
    {dravlet::Button::cmdQuit, &dravlet::cmdDravlet::cmdQuit_Click},
}};

}  // namespace

extern "C" {

// The engine is loaded: the window object is created (its start-up reseeds from the
// clock), the buttons are connected to their handlers and the controls take their start
// state, so Start shows only now.
EMSCRIPTEN_KEEPALIVE void dravletStart()
{
    using namespace dravlet;
    practice = std::make_unique<Practice>();
    practice->form.reportJudgementsTo(practice->report);
    for (std::size_t i = 0; i < handlers.size(); ++i) {
        const std::string_view name = controlName(handlers[i].first);
        pageConnect(name.data(), name.size(), static_cast<int>(i));
    }
    for (const Label label : {Label::lblResponse, Label::lblRight, Label::lblWrong, Label::Label1,
                              Label::Label2, Label::Label3}) {
        practice->controls.setCaption(label, startCaption(label));
    }
    for (const Button button : {Button::cmdRun, Button::cmdSubmit, Button::cmdNext, Button::cmdQuit}) {
        practice->controls.setVisible(button, startsVisible(button));
    }
    practice->controls.focus(startFocus);
    practice->controls.settle();
}

// A press of a button, by the number its handler was connected with. Quit ends the
// practice: the window object goes, and the page takes its controls away.
EMSCRIPTEN_KEEPALIVE void dravletPress(int handler)
{
    if (!practice || handler < 0 || static_cast<std::size_t>(handler) >= handlers.size()) {
        return;
    }
    (practice->form.*handlers[static_cast<std::size_t>(handler)].second)();
    practice->controls.settle();
    if (practice->controls.ended()) {
        practice.reset();
        pageEnd();
    }
}

}  // extern "C"
