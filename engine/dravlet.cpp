// SPDX-License-Identifier: MIT
#include "engine/dravlet.h"

#include <limits>

#include "runtime/numtext.h"

namespace dravlet {

namespace {

// Counts stop at their largest value instead of overflowing; a class would need
// two billion answers to get there.
void countOne(std::int32_t& count)
{
    if (count < std::numeric_limits<std::int32_t>::max()) {
        ++count;
    }
}

}  // namespace

cmdDravlet::cmdDravlet(Controls& controls, ProgramEnd& program, RandomSource& random,
                       const Clock& clock)
    : m_controls(controls), m_program(program), m_random(random), m_clock(clock)
{
    Form_Load();
}

void cmdDravlet::Form_Load()
{
    m_random.reseed(m_clock.secondsSinceMidnight());
    m_vars.RightCount = 0;
    m_vars.WrongCount = 0;
    m_vars.ProbKind = 1;
    // Slots 1 to 33, the slots a subject draw takes, so every draw yields a name.
    for (std::size_t i = 0; i < subjectNames.size(); ++i) {
        m_vars.NameTable.at(i + 1) = subjectNames.at(i);
    }
}

int cmdDravlet::draw(int n)
{
    return drawWhole(m_random, n);
}

void cmdDravlet::NewProb()
{
    auto& v = m_vars;
    const int subject = draw(nameSlots);
    const std::string Person = v.NameTable.at(static_cast<std::size_t>(subject));

    // The second person of a kind-3 problem is another name, drawn over the other 32
    // slots, so the text never reads "... and  has" or pairs a name with itself.
    std::string SecondSubject;
    if (v.ProbKind == 3) {
        int other = draw(nameSlots - 1);
        if (other >= subject) {
            ++other;
        }
        SecondSubject = v.NameTable.at(static_cast<std::size_t>(other));
    }

    m_controls.setText(TextBox::txtProb, waitingText);

    // About one attempt in 36 gives distinct strengths and a whole-per-cent blend.
    for (;;) {
        const int liters1 = draw(largestNumber);
        const int liters2 = draw(largestNumber);
        const int total = liters1 + liters2;
        const int pct1 = draw(largestNumber);
        const int pct2 = draw(largestNumber);
        const int solute = pct1 * liters1 + pct2 * liters2;
        v.Liters1 = static_cast<float>(liters1);
        v.Liters2 = static_cast<float>(liters2);
        v.LitersTotal = static_cast<float>(total);
        v.Pct1 = static_cast<float>(pct1);
        v.Pct2 = static_cast<float>(pct2);
        v.PctResult = static_cast<double>(solute) / static_cast<double>(total);
        if (solute % total == 0 && pct1 != pct2) {
            break;
        }
    }

    if (v.ProbKind >= 1 && v.ProbKind <= problemKinds) {
        m_controls.setText(TextBox::txtProb, problemText(Person, SecondSubject));
    }
}

std::string cmdDravlet::problemText(const std::string& Person,
                                    const std::string& SecondSubject) const
{
    const auto& v = m_vars;
    switch (v.ProbKind) {
    case 1:
        return Person + " has " + renderNumber(v.Liters1) + " liters of a" + renderNumber(v.Pct1)
               + "% solution. " + " How many liters of a " + renderNumber(v.Pct2)
               + "% solution must be added to produce a solution that is "
               + renderNumber(v.PctResult) + "%";
    case 2:
        return Person + " needs " + renderNumber(v.LitersTotal) + " liters of a"
               + renderNumber(v.PctResult)
               + "% solution. There are two solutions to mix.  The first solution is "
               + renderNumber(v.Pct1) + "% and the second one is " + renderNumber(v.Pct2)
               + "%.  How much of the first solution should be used?";
    case 3:
        return Person + "has " + renderNumber(v.Liters1) + " liters of a " + renderNumber(v.Pct1)
               + "% solution and " + SecondSubject + " has " + renderNumber(v.Liters2)
               + " liters of a " + renderNumber(v.Pct2)
               + "% solution.  If the two solutions are mixed, what percentage is the new dravlet?";
    default:
        return {};
    }
}

double cmdDravlet::rightAnswer() const
{
    const auto& v = m_vars;
    switch (v.ProbKind) {
    case 1: return static_cast<double>(v.Liters2);
    case 2: return static_cast<double>(v.Liters1);
    default: return v.PctResult;
    }
}

std::string cmdDravlet::wrongText() const
{
    const auto& v = m_vars;
    switch (v.ProbKind) {
    case 1: return "Wrong!" + renderNumber(v.Liters2) + " Liters are needed";
    case 2: return "Wrong!" + renderNumber(v.Liters1) + " Liters  are needed";
    case 3: return "Wrong! The solution is " + renderNumber(v.PctResult) + "%";
    default: return {};
    }
}

void cmdDravlet::cmdSubmit_Click()
{
    auto& v = m_vars;
    // Submit goes first, so a problem can be judged only once.
    m_controls.setVisible(Button::cmdSubmit, false);
    m_controls.setVisible(Button::cmdNext, true);
    m_controls.focus(Button::cmdNext);

    const double answer = readNumber(m_controls.text(TextBox::txtAnswer));
    const bool judged = v.ProbKind >= 1 && v.ProbKind <= problemKinds;
    const bool right = judged && answer == rightAnswer();
    if (judged) {
        if (right) {
            m_controls.setCaption(Label::lblResponse, correctText);
            countOne(v.RightCount);
        } else {
            m_controls.setCaption(Label::lblResponse, wrongText());
            countOne(v.WrongCount);
        }
    }
    m_controls.setCaption(Label::lblRight, renderNumber(v.RightCount));
    m_controls.setCaption(Label::lblWrong, renderNumber(v.WrongCount));
    if (judged && m_observer != nullptr) {
        m_observer->judged({answer, rightAnswer(), right, v.RightCount, v.WrongCount});
    }

    v.ProbKind = static_cast<std::int16_t>(draw(problemKinds));
}

void cmdDravlet::cmdRun_Click()
{
    m_controls.setVisible(Button::cmdRun, false);
    m_controls.setVisible(Button::cmdSubmit, true);
    m_controls.focus(TextBox::txtAnswer);
    NewProb();
}

void cmdDravlet::cmdNext_Click()
{
    m_controls.setText(TextBox::txtAnswer, "");
    m_controls.focus(TextBox::txtAnswer);
    m_controls.setCaption(Label::lblResponse, "");
    m_controls.setVisible(Button::cmdSubmit, true);
    m_controls.setVisible(Button::cmdNext, false);
    NewProb();
}

void cmdDravlet::cmdQuit_Click()
{
    m_program.endProgram();
}

}  // namespace dravlet
