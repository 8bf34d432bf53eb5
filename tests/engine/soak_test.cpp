// Long use through the fake controls: a million problems answered right, wrong and with
// junk, and a long run of wrong answers past the old 16-bit limit.
#include <gtest/gtest.h>

#include <string>

#include "engine/dravlet.h"
#include "runtime/numtext.h"
#include "tests/support/fakes.h"
#include "tests/support/practice_invariants.h"

namespace dravlet::testing {
namespace {

long soakCycles()
{
    // Sanitizer builds run a tenth of the cycles, to keep CI short; the plain builds
    // run the full million.
#if defined(__SANITIZE_ADDRESS__)
    return 100000;
#else
    return 1000000;
#endif
}

TEST(Soak, MillionCyclesOfRightWrongAndJunkAnswersKeepEveryInvariant)
{
    FakeControls controls;
    MersenneRandom random;
    const FixedClock clock(1234.5);
    cmdDravlet form(controls, controls, random, clock);

    const long cycles = soakCycles();
    const std::string junk[] = {"", "thirty", "-", ".", "1e9", "\xff\xfe", " 12,5 l", std::string(300, '9')};
    long rights = 0;
    form.cmdRun_Click();
    for (long i = 0; i < cycles; ++i) {
        const auto& v = form.variables();
        ASSERT_EQ(problemBroken(v), nullptr) << "cycle " << i;
        const double answer = rightAnswer(v);
        switch (i % 3) {
        case 0: controls.type(renderNumber(answer)); break;
        case 1: controls.type(renderNumber(answer + 1)); break;
        default: controls.type(junk[static_cast<std::size_t>(i) % std::size(junk)]); break;
        }
        const bool shouldBeRight = readNumber(controls.text(TextBox::txtAnswer)) == answer;
        rights += shouldBeRight ? 1 : 0;
        form.cmdSubmit_Click();
        ASSERT_EQ(controls.caption(Label::lblResponse) == "CORRECT", shouldBeRight) << "cycle " << i;
        ASSERT_EQ(countsBroken(v, i + 1), nullptr) << "cycle " << i;
        ASSERT_EQ(buttonsBroken(controls), nullptr) << "cycle " << i;
        form.cmdNext_Click();
    }
    EXPECT_EQ(form.variables().RightCount, rights);
    EXPECT_EQ(controls.caption(Label::lblRight), renderNumber(static_cast<double>(rights)));
    EXPECT_EQ(controls.caption(Label::lblWrong), renderNumber(static_cast<double>(cycles - rights)));
}

TEST(Soak, FortyThousandWrongAnswersInARowAreCountedExactly)
{
    FakeControls controls;
    MersenneRandom random;
    const FixedClock clock(50000.0);
    cmdDravlet form(controls, controls, random, clock);

    form.cmdRun_Click();
    for (int i = 0; i < 40000; ++i) {
        controls.type("0");
        form.cmdSubmit_Click();
        form.cmdNext_Click();
    }
    EXPECT_EQ(form.variables().WrongCount, 40000);
    EXPECT_EQ(controls.caption(Label::lblWrong), " 40000");
    EXPECT_EQ(controls.caption(Label::lblRight), " 0");
    EXPECT_FALSE(controls.ended());
}

}  // namespace
}  // namespace dravlet::testing
