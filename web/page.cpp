// The page's side of the engine: the control operations over the page's own HTML
// controls, reached through the few DOM calls of page.js, and the two entry points the
// page calls: start, once the engine is loaded, and press, for every button press.
#include <emscripten.h>

#include <array>
#include <cstdlib>
#include <utility>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "engine/dravlet.h"
#include "runtime/clock.h"
#include "runtime/controls.h"
#include "runtime/random.h"

namespace {

// Each control is the page element whose id is its control name.
EM_JS(char*, pageText, (const char* name), {
    return allocateUTF8(Module.page.text(UTF8ToString(name)));
});
EM_JS(void, pageSetText, (const char* name, const char* text), {
    Module.page.setText(UTF8ToString(name), UTF8ToString(text));
});
EM_JS(void, pageSetCaption, (const char* name, const char* caption), {
    Module.page.setCaption(UTF8ToString(name), UTF8ToString(caption));
});
EM_JS(void, pageDescribe, (const char* name, const char* description), {
    Module.page.describe(UTF8ToString(name), UTF8ToString(description));
});
EM_JS(void, pageSetVisible, (const char* name, bool visible), {
    Module.page.setVisible(UTF8ToString(name), visible);
});
EM_JS(void, pageSettle, (const char* focus), { Module.page.settle(UTF8ToString(focus)); });
// A press of the button runs the handler the engine numbered it with.
EM_JS(void, pageConnect, (const char* name, int handler), {
    Module.page.connect(UTF8ToString(name), () => Module._dravletPress(handler));
});
EM_JS(void, pageEnd, (), { Module.page.end(); });

std::string nameOf(std::string_view name)
{
    return std::string(name);
}

class PageControls final : public dravlet::Controls, public dravlet::ProgramEnd {
public:
    std::string text(dravlet::TextBox box) const override
    {
        char* const copy = pageText(nameOf(controlName(box)).c_str());
        std::string text(copy);
        std::free(copy);
        return text;
    }

    void setText(dravlet::TextBox box, std::string_view text) override
    {
        pageSetText(nameOf(controlName(box)).c_str(), std::string(text).c_str());
    }

    void focus(dravlet::TextBox box) override { m_focus = controlName(box); }

    void setCaption(dravlet::Label label, std::string_view caption) override
    {
        m_captions[label] = caption;
        pageSetCaption(nameOf(controlName(label)).c_str(), m_captions[label].c_str());
        // Next is described by the verdict and both counts, so a screen reader tells
        // them when the focus comes to Next after Submit.
        using dravlet::Label;
        pageDescribe(nameOf(controlName(dravlet::Button::cmdNext)).c_str(),
                     dravlet::reviewDescription(m_captions[Label::lblResponse], m_captions[Label::lblRight],
                                                m_captions[Label::lblWrong])
                         .c_str());
    }

    void setVisible(dravlet::Button button, bool visible) override
    {
        pageSetVisible(nameOf(controlName(button)).c_str(), visible);
    }

    void focus(dravlet::Button button) override { m_focus = controlName(button); }

    void endProgram() override { m_ended = true; }

    bool ended() const { return m_ended; }

    // Once a handler has done all it does: the page settles, and the focus moves last,
    // so that a screen reader reads the control with what the handler wrote into it (the
    // answer box with its new problem), once, instead of reading it and then its changes.
    void settle()
    {
        pageSettle(m_focus.c_str());
        m_focus.clear();
    }

private:
    std::map<dravlet::Label, std::string> m_captions;
    std::string m_focus;
    bool m_ended = false;
};

// One practice run: the page's controls and the window object that drives them.
struct Practice {
    PageControls controls;
    dravlet::MersenneRandom random;
    dravlet::SystemClock clock;
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
    for (std::size_t i = 0; i < handlers.size(); ++i) {
        pageConnect(nameOf(controlName(handlers[i].first)).c_str(), static_cast<int>(i));
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
