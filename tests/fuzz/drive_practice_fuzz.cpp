// Drives the window object through the fake controls with any sequence of presses and
// typed answers, and checks after every step what a learner could see go wrong.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/dravlet.h"
#include "runtime/numtext.h"
#include "tests/support/fakes.h"
#include "tests/support/practice_invariants.h"

namespace {

using dravlet::Button;
using dravlet::Label;
using dravlet::TextBox;
using dravlet::testing::FakeControls;
using dravlet::testing::rightAnswer;
using dravlet::testing::problemBroken;
using dravlet::testing::buttonsBroken;
using dravlet::testing::countsBroken;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what)
{
    if (!ok) {
        fail(what);
    }
}

void check(const char* broken)
{
    if (broken != nullptr) {
        fail(broken);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 8) {
        return 0;
    }
    std::uint64_t seedBits = 0;
    std::memcpy(&seedBits, data, sizeof seedBits);
    data += 8;
    size -= 8;

    FakeControls controls;
    dravlet::MersenneRandom random;
    const dravlet::testing::FixedClock clock(static_cast<double>(seedBits % 86400000) / 1000.0);
    dravlet::cmdDravlet form(controls, controls, random, clock);
    long submits = 0;

    std::size_t i = 0;
    while (i < size && !controls.ended()) {
        const std::uint8_t op = data[i++];
        switch (op % 6) {
        case 0:
            if (controls.isVisible(Button::cmdRun)) {
                form.cmdRun_Click();
                check(problemBroken(form.variables()));
            }
            break;
        case 1:
            if (controls.isVisible(Button::cmdSubmit)) {
                const double expected = rightAnswer(form.variables());
                const double read = dravlet::readNumber(controls.text(TextBox::txtAnswer));
                form.cmdSubmit_Click();
                ++submits;
                const bool correct = controls.caption(Label::lblResponse) == "CORRECT";
                check(correct == (read == expected), "CORRECT exactly when the answer is right");
                check(controls.hasFocus(Button::cmdNext), "Next has the focus after Submit");
            }
            break;
        case 2:
            if (controls.isVisible(Button::cmdNext)) {
                form.cmdNext_Click();
                check(problemBroken(form.variables()));
                check(controls.text(TextBox::txtAnswer).empty(), "Next clears the answer");
                check(controls.caption(Label::lblResponse).empty(), "Next clears the verdict");
            }
            break;
        case 3: {  // type any bytes
            const std::size_t length = i < size ? data[i++] : 0;
            const std::size_t take = std::min(length, size - i);
            controls.type(std::string(reinterpret_cast<const char*>(data + i), take));
            i += take;
            break;
        }
        case 4:  // type the right answer, as a learner who knows it would
            controls.type(dravlet::renderNumber(rightAnswer(form.variables())));
            break;
        default:
            if (op == 255) {
                form.cmdQuit_Click();
                check(controls.ended(), "Quit ends the program");
            }
            break;
        }
        check(buttonsBroken(controls));
        check(countsBroken(form.variables(), submits));
    }
    return 0;
}
