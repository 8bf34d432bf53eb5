#include "practice_fixture.h"

namespace dravlet::testing {
namespace {

using Submit = Practice;

TEST_F(Submit, RightAnswerShowsCorrectAndCountsIt)
{
    startWorkedExample();
    submit("30", 2);
    EXPECT_EQ(verdict(), "CORRECT");
    EXPECT_EQ(vars().RightCount, 1);
    EXPECT_EQ(vars().WrongCount, 0);
    EXPECT_EQ(controls.caption(Label::lblRight), " 1");
    EXPECT_EQ(controls.caption(Label::lblWrong), " 0");
}

TEST_F(Submit, AnswersThatReadAsTheRightNumberAreRight)
{
    const char* answers[] = {"30", "30.0", " 30", "30 liters", "030", "+30", "30.000000000"};
    startWorkedExample();
    int expectedRight = 0;
    for (const char* answer : answers) {
        submit(answer, 1);
        ++expectedRight;
        EXPECT_EQ(verdict(), "CORRECT") << '"' << answer << '"';
        EXPECT_EQ(vars().RightCount, expectedRight);
        nextWorkedExample();
    }
    EXPECT_EQ(vars().WrongCount, 0);
}

TEST_F(Submit, WrongAnswerOnKindOneShowsTheLitersToAdd)
{
    startWorkedExample();
    submit("thirty", 1);
    EXPECT_EQ(verdict(), "Wrong! 30 Liters are needed");
    EXPECT_EQ(controls.caption(Label::lblRight), " 0");
    EXPECT_EQ(controls.caption(Label::lblWrong), " 1");
}

TEST_F(Submit, WrongAnswerOnKindTwoHasTwoBlanksBeforeAre)
{
    startWorkedExample();
    submit("30", 2);
    nextWorkedExample();
    submit("40", 1);
    EXPECT_EQ(verdict(), "Wrong! 10 Liters  are needed");
    EXPECT_EQ(controls.caption(Label::lblRight), " 1");
    EXPECT_EQ(controls.caption(Label::lblWrong), " 1");
}

TEST_F(Submit, KindTwoIsRightWithTheFirstLiters)
{
    startWorkedExample();
    submit("30", 2);
    nextWorkedExample();
    submit("10", 1);
    EXPECT_EQ(verdict(), "CORRECT");
}

TEST_F(Submit, KindThreeIsJudgedOnTheBlendStrength)
{
    startWorkedExample();
    submit("30", 3);
    nextWorkedExample(1);
    submit("50%", 3);
    EXPECT_EQ(verdict(), "CORRECT");
    nextWorkedExample(1);
    submit("49.5", 1);
    EXPECT_EQ(verdict(), "Wrong! The solution is  50%");
    EXPECT_EQ(vars().RightCount, 2);
    EXPECT_EQ(vars().WrongCount, 1);
}

TEST_F(Submit, EmptyAnswerIsWrong)
{
    startWorkedExample();
    submit("", 1);
    EXPECT_EQ(verdict(), "Wrong! 30 Liters are needed");
    EXPECT_EQ(vars().WrongCount, 1);
}

TEST_F(Submit, LeavesTheAnswerAndTheProblemInPlace)
{
    startWorkedExample();
    submit("29 liters", 2);
    EXPECT_EQ(controls.text(TextBox::txtAnswer), "29 liters");
    EXPECT_TRUE(problem().starts_with("Tyrone  has  10"));
}

TEST_F(Submit, DrawsTheNextKindOnEveryAnswerRightOrWrong)
{
    startWorkedExample();
    submit("30", 1);
    EXPECT_EQ(vars().ProbKind, 1) << "the same kind may come twice";
    nextWorkedExample();
    submit("0", 3);
    EXPECT_EQ(vars().ProbKind, 3);
    nextWorkedExample(2);
    submit("50", 2);
    EXPECT_EQ(vars().ProbKind, 2);
}

TEST_F(Submit, WrongCountPassesThirtyTwoThousandSevenHundredSixtySeven)
{
    startWorkedExample();
    constexpr int answers = 32770;
    for (int i = 0; i < answers; ++i) {
        submit("1", 1);
        nextWorkedExample();
    }
    EXPECT_EQ(vars().WrongCount, answers);
    EXPECT_EQ(controls.caption(Label::lblWrong), " 32770");
    EXPECT_EQ(controls.caption(Label::lblRight), " 0");
    EXPECT_FALSE(controls.ended());
}

}  // namespace
}  // namespace dravlet::testing
