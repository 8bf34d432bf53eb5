#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>

#include "engine/dravlet.h"
#include "runtime/numtext.h"
#include "tests/support/fakes.h"

namespace dravlet::testing {
namespace {

// 100 000 problems with the program's own generator (fixed seed, so a failure can be
// replayed). Shares must lie within six standard deviations of the fair share: a
// fair generator fails that less than once in 10^7 runs.
TEST(Statistics, HundredThousandProblemsKeepTheirRangesAndFairShares)
{
    constexpr int problems = 100000;
    FakeControls controls;
    MersenneRandom random;
    const FixedClock clock(37021.5);
    cmdDravlet form(controls, controls, random, clock);

    std::map<std::string, int> subjects;
    std::array<int, 4> kinds{};
    form.cmdRun_Click();
    for (int i = 0; i < problems; ++i) {
        const auto& v = form.variables();
        ++kinds.at(static_cast<std::size_t>(v.ProbKind));
        const std::string text = controls.text(TextBox::txtProb);
        const auto nameEnd = text.find(' ');
        ASSERT_NE(nameEnd, std::string::npos) << text;
        ASSERT_GT(nameEnd, 0U) << "problem without a subject: " << text;
        ++subjects[text.substr(0, nameEnd + 1)];

        ASSERT_GE(v.Liters1, 1.0F);
        ASSERT_LE(v.Liters1, 99.0F);
        ASSERT_GE(v.Liters2, 1.0F);
        ASSERT_LE(v.Liters2, 99.0F);
        ASSERT_GE(v.Pct1, 1.0F);
        ASSERT_LE(v.Pct1, 99.0F);
        ASSERT_GE(v.Pct2, 1.0F);
        ASSERT_LE(v.Pct2, 99.0F);
        ASSERT_EQ(v.LitersTotal, v.Liters1 + v.Liters2);
        ASSERT_NE(v.Pct1, v.Pct2);
        ASSERT_EQ(v.PctResult, std::trunc(v.PctResult));
        ASSERT_GT(v.PctResult, std::fmin(v.Pct1, v.Pct2));
        ASSERT_LT(v.PctResult, std::fmax(v.Pct1, v.Pct2));
        if (v.ProbKind == 3) {
            const auto secondAt = text.find("solution and ") + 13;
            ASSERT_NE(text.substr(secondAt, nameEnd + 1), text.substr(0, nameEnd + 1)) << text;
        }

        controls.type(renderNumber(static_cast<double>(v.Liters2)));
        form.cmdSubmit_Click();
        form.cmdNext_Click();
    }

    ASSERT_EQ(subjects.size(), 33U);
    const double nameShare = problems / 33.0;
    const double nameBound = 6.0 * std::sqrt(problems * (1.0 / 33.0) * (32.0 / 33.0));
    for (const auto& [name, count] : subjects) {
        EXPECT_NEAR(count, nameShare, nameBound) << name;
    }
    const double kindShare = problems / 3.0;
    const double kindBound = 6.0 * std::sqrt(problems * (1.0 / 3.0) * (2.0 / 3.0));
    for (std::size_t kind = 1; kind <= 3; ++kind) {
        EXPECT_NEAR(kinds.at(kind), kindShare, kindBound) << "kind " << kind;
    }
    EXPECT_EQ(kinds.at(0), 0);
    const auto& v = form.variables();
    EXPECT_EQ(v.RightCount + v.WrongCount, problems);
}

}  // namespace
}  // namespace dravlet::testing
