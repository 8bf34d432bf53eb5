// SPDX-License-Identifier: MIT
// Long use with the program's own generator (fixed seed, so a failure can be replayed):
// every problem is read back from the screen and must be sound, every typed answer must
// get the verdict the tests' own oracle gives, and names and kinds come in fair shares.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "tests/support/fakes.h"
#include "tests/support/oracle.h"

namespace dravlet::testing {
namespace {

long soakCycles()
{
    // Sanitizer builds run a tenth of the cycles, to keep CI short.
#if defined(__SANITIZE_ADDRESS__)
    return 100000;
#else
    return 1000000;
#endif
}

// What the learner types: the answer, one too many, a near miss that truncates to the
// answer, or junk.
std::string typedOn(long cycle, const ShownProblem& p)
{
    static const std::string junk[] = {"", "thirty", "-", ".", "1e9", "\xff\xfe", " 12,5 l",
                                       std::string(300, '9')};
    switch (cycle % 4) {
    case 0: return std::to_string(p.answer);
    case 1: return std::to_string(p.answer + 1);
    case 2: return std::to_string(p.answer) + ".9";
    default: return junk[static_cast<std::size_t>(cycle / 4) % std::size(junk)];
    }
}

std::string shownCount(long n)
{
    return " " + std::to_string(n);
}

// Six standard deviations: a fair generator fails that less than once in 10^7 runs.
void expectFairShares(const std::map<std::string, long>& counts, long total, double share)
{
    const double bound = 6.0 * std::sqrt(static_cast<double>(total) * share * (1.0 - share));
    for (const auto& [what, count] : counts) {
        EXPECT_NEAR(static_cast<double>(count), static_cast<double>(total) * share, bound) << what;
    }
}

TEST(Soak, MillionProblemsAreSoundJudgedRightAndFairlyShared)
{
    RealGenerator<FakeControls> run(37021.5);
    FakeControls& controls = run.surface;
    const long cycles = soakCycles();
    std::map<std::string, long> subjects;
    std::map<std::string, long> kinds;
    long rights = 0;
    run.form.cmdRun_Click();
    for (long i = 0; i < cycles; ++i) {
        const std::string problem = controls.text(TextBox::txtProb);
        const ShownProblem p = readProblem(problem);
        ASSERT_EQ(p.broken, nullptr) << "cycle " << i << ": " << problem;
        ++subjects[p.subject];
        ++kinds["kind " + std::to_string(p.kind)];

        const std::string typed = typedOn(i, p);
        controls.type(typed);
        const std::string verdict = expectedVerdict(p, typed);
        rights += verdict == "CORRECT" ? 1 : 0;
        run.form.cmdSubmit_Click();
        ASSERT_EQ(controls.caption(Label::lblResponse), verdict)
            << "cycle " << i << ", typed \"" << typed << "\" to: " << problem;
        ASSERT_EQ(controls.caption(Label::lblRight), shownCount(rights)) << "cycle " << i;
        ASSERT_EQ(controls.caption(Label::lblWrong), shownCount(i + 1 - rights)) << "cycle " << i;
        ASSERT_EQ(controls.visibleButtons(), (std::vector{Button::cmdNext, Button::cmdQuit}));
        run.form.cmdNext_Click();
        ASSERT_EQ(controls.visibleButtons(), (std::vector{Button::cmdSubmit, Button::cmdQuit}));
    }
    EXPECT_EQ(subjects.size(), 33U) << "every name comes up, and nothing else";
    expectFairShares(subjects, cycles, 1.0 / 33.0);
    EXPECT_EQ(kinds.size(), 3U);
    expectFairShares(kinds, cycles, 1.0 / 3.0);
}

}  // namespace
}  // namespace dravlet::testing
