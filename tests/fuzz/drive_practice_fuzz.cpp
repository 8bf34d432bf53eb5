// SPDX-License-Identifier: MIT
// Drives the window object through the fake controls with any sequence of presses and
// typed answers, and checks after every step what a learner could see go wrong.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/fakes.h"
#include "tests/support/oracle.h"

namespace {

using dravlet::Button;
using dravlet::Label;
using dravlet::TextBox;
using dravlet::testing::FakeControls;

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void checkProblem(const FakeControls& controls)
{
    const auto problem = dravlet::testing::readProblem(controls.text(TextBox::txtProb));
    check(problem.broken == nullptr, problem.broken);
}

std::string shownCount(long n, long submits)
{
    return submits == 0 ? "0" : " " + std::to_string(n);
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

    dravlet::testing::RealGenerator<FakeControls> run(static_cast<double>(seedBits % 86400000) / 1000.0);
    FakeControls& controls = run.surface;
    long submits = 0;
    long rights = 0;

    std::size_t i = 0;
    while (i < size && !controls.ended()) {
        const std::uint8_t op = data[i++];
        switch (op % 6) {
        case 0:
            if (controls.isVisible(Button::cmdRun)) {
                run.form.cmdRun_Click();
                checkProblem(controls);
            }
            break;
        case 1:
            if (controls.isVisible(Button::cmdSubmit)) {
                const std::string verdict = dravlet::testing::expectedVerdict(
                    dravlet::testing::readProblem(controls.text(TextBox::txtProb)),
                    controls.text(TextBox::txtAnswer));
                run.form.cmdSubmit_Click();
                ++submits;
                rights += verdict == "CORRECT" ? 1 : 0;
                check(controls.caption(Label::lblResponse) == verdict, "the verdict the oracle gives");
                check(controls.hasFocus(Button::cmdNext), "Next has the focus after Submit");
            }
            break;
        case 2:
            if (controls.isVisible(Button::cmdNext)) {
                run.form.cmdNext_Click();
                checkProblem(controls);
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
        case 4: {  // the answer as a learner who knows it types it, or a near miss
            const auto problem = dravlet::testing::readProblem(controls.text(TextBox::txtProb));
            controls.type(std::to_string(problem.answer) + (op & 0x80 ? ".5" : ""));
            break;
        }
        default:
            if (op == 255) {
                run.form.cmdQuit_Click();
                check(controls.ended(), "Quit ends the program");
            }
            break;
        }
        const auto shown = controls.visibleButtons();
        check(shown == std::vector{Button::cmdRun, Button::cmdQuit}
                  || shown == std::vector{Button::cmdSubmit, Button::cmdQuit}
                  || shown == std::vector{Button::cmdNext, Button::cmdQuit},
              "the buttons of exactly one state show");
        check(controls.caption(Label::lblRight) == shownCount(rights, submits), "the right count");
        check(controls.caption(Label::lblWrong) == shownCount(submits - rights, submits), "the wrong count");
    }
    return 0;
}
