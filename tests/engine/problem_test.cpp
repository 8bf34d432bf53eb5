// SPDX-License-Identifier: MIT
#include "practice_fixture.h"

namespace dravlet::testing {
namespace {

const std::string kind1Example =
    "Tyrone  has  10 liters of a 20% solution.  How many liters of a  60% solution must be "
    "added to produce a solution that is  50%";
const std::string kind2Example =
    "Tyrone  needs  40 liters of a 50% solution. There are two solutions to mix.  The first "
    "solution is  20% and the second one is  60%.  How much of the first solution should be used?";
const std::string kind3Example =
    "Tyrone has  10 liters of a  20% solution and Diana  has  30 liters of a  60% solution.  "
    "If the two solutions are mixed, what percentage is the new dravlet?";

using Problems = Practice;

TEST_F(Problems, WorkedExampleOfEveryKindBlankForBlank)
{
    startWorkedExample();
    EXPECT_EQ(problem(), kind1Example);
    submit("30", 2);
    nextWorkedExample();
    EXPECT_EQ(problem(), kind2Example);
    submit("10", 3);
    nextWorkedExample(4);  // over the 32 names other than Tyrone's slot 4, draw 4 is slot 5
    EXPECT_EQ(problem(), kind3Example);
}

TEST_F(Problems, WaitingTextComesBeforeTheProblem)
{
    startWorkedExample();
    ASSERT_EQ(controls.problemHistory().size(), 2U);
    EXPECT_EQ(controls.problemHistory()[0], "Thinking.  Please wait....");
    EXPECT_EQ(controls.problemHistory()[1], kind1Example);
}

TEST_F(Problems, RejectsEqualStrengthsAndBlendsThatAreNotWhole)
{
    random.pushDraw(Tyrone, 33)
        .pushAttempt(10, 30, 40, 40)   // equal strengths: a whole 40 %, still rejected
        .pushAttempt(10, 20, 10, 20)   // 500 / 30 is not whole
        .pushAttempt(99, 99, 1, 2)     // 297 / 198 is not whole
        .pushAttempt(10, 30, 20, 60);  // accepted
    form->cmdRun_Click();
    EXPECT_EQ(problem(), kind1Example);
    EXPECT_EQ(random.taken(), 1U + 4U * 4U);
    EXPECT_EQ(random.left(), 0U);
}

TEST_F(Problems, AcceptsTheExtremesOfTheRanges)
{
    // 99 l of 1 % and 99 l of 99 %: 198 liters of 50 %.
    random.pushDraw(Danielle, 33).pushAttempt(99, 99, 1, 99);
    form->cmdRun_Click();
    EXPECT_EQ(problem(), "Danielle  has  99 liters of a 1% solution.  How many liters of a  99% "
                         "solution must be added to produce a solution that is  50%");
    EXPECT_EQ(vars().LitersTotal, 198.0F);
}

// One value for the subject, four per attempt, one more for a kind-3 second name; Submit
// takes one.
TEST_F(Problems, DrawsOneSubjectFourNumbersPerAttemptAndASecondNameForKindThree)
{
    startWorkedExample();
    EXPECT_EQ(random.taken(), 1U + 4U);
    submit("1", 3);
    EXPECT_EQ(random.taken(), 6U) << "Submit takes exactly one value";
    random.pushDraw(Bob, 33).pushDraw(1, 32).pushAttempt(10, 20, 10, 20).pushAttempt(10, 30, 20, 60);
    form->cmdNext_Click();
    EXPECT_EQ(random.taken(), 6U + 2U + 8U);
    EXPECT_EQ(random.left(), 0U);
}

struct SecondNameRow {
    const char* name;
    int subject;
    int otherDraw;
    const char* first;
    const char* second;
};

class SecondName : public Practice, public ::testing::WithParamInterface<SecondNameRow> {};

TEST_P(SecondName, IsAlwaysAnotherName)
{
    const auto row = GetParam();
    startWorkedExample();
    submit("1", 3);
    random.pushDraw(row.subject, 33).pushDraw(row.otherDraw, 32).pushAttempt(10, 30, 20, 60);
    form->cmdNext_Click();
    const std::string expectedStart = std::string(row.first) + "has  10 liters of a  20% solution and "
                                      + row.second + " has  30 liters";
    EXPECT_TRUE(problem().starts_with(expectedStart)) << problem();
}

INSTANTIATE_TEST_SUITE_P(
    Table, SecondName,
    ::testing::Values(SecondNameRow{"BelowTheSubject", Tyrone, Juan, "Tyrone ", "Juan "},
                      SecondNameRow{"SkipsTheSubject", Tyrone, Tyrone, "Tyrone ", "Diana "},
                      SecondNameRow{"FirstSlotSubject", Bob, 1, "Bob ", "John "},
                      SecondNameRow{"LastSlotSubject", Danielle, 32, "Danielle ", "Julio "},
                      SecondNameRow{"LastSlotSecond", Julio, 32, "Julio ", "Danielle "}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(Problems, EveryProblemDrawsANewSubjectAndKeepsTheKind)
{
    startWorkedExample();
    submit("30", 1);
    random.pushDraw(Bob, 33).pushAttempt(10, 30, 20, 60);
    form->cmdNext_Click();
    EXPECT_EQ(vars().ProbKind, 1);
    EXPECT_TRUE(problem().starts_with("Bob  has  10")) << problem();
}

}  // namespace
}  // namespace dravlet::testing
