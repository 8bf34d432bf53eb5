// SPDX-License-Identifier: MIT
#include "practice_fixture.h"

namespace dravlet::testing {
namespace {

// Typed answers to the worked example (kind 1: 30 liters to add; kind 2: 10 liters of
// the first; kind 3: a 50 % blend) and the verdict each must get.
struct AnswerRow {
    const char* name;
    int kind;
    const char* typed;
    const char* verdict;
};

class Answers : public Practice, public ::testing::WithParamInterface<AnswerRow> {};

TEST_P(Answers, AreJudgedOnTheValueReadAndCounted)
{
    const AnswerRow& row = GetParam();
    int wrongBefore = 0;
    startWorkedExample();
    if (row.kind != 1) {
        submit("0", row.kind);
        nextWorkedExample(row.kind == 3 ? 1 : 0);
        wrongBefore = 1;
    }
    submit(row.typed, 1);
    EXPECT_EQ(verdict(), row.verdict) << "typed \"" << row.typed << '"';
    const bool right = std::string(row.verdict) == "CORRECT";
    EXPECT_EQ(controls.caption(Label::lblRight), right ? " 1" : " 0");
    EXPECT_EQ(controls.caption(Label::lblWrong), " " + std::to_string(wrongBefore + (right ? 0 : 1)));
}

constexpr const char* kind1Wrong = "Wrong! 30 Liters are needed";
constexpr const char* kind2Wrong = "Wrong! 10 Liters  are needed";
constexpr const char* kind3Wrong = "Wrong! The solution is  50%";

INSTANTIATE_TEST_SUITE_P(
    Table, Answers,
    ::testing::Values(AnswerRow{"Whole", 1, "30", "CORRECT"},
                      AnswerRow{"PointZero", 1, "30.0", "CORRECT"},
                      AnswerRow{"LeadingBlank", 1, " 30", "CORRECT"},
                      AnswerRow{"WithUnit", 1, "30 liters", "CORRECT"},
                      AnswerRow{"LeadingZero", 1, "030", "CORRECT"},
                      AnswerRow{"PlusSign", 1, "+30", "CORRECT"},
                      AnswerRow{"ManyZeros", 1, "30.000000000", "CORRECT"},
                      AnswerRow{"KindOneNearMiss", 1, "30.5", kind1Wrong},
                      AnswerRow{"Word", 1, "thirty", kind1Wrong},
                      AnswerRow{"Empty", 1, "", kind1Wrong},
                      AnswerRow{"KindOneTotalIsWrong", 1, "40", kind1Wrong},
                      AnswerRow{"KindTwoFirstLiters", 2, "10", "CORRECT"},
                      AnswerRow{"KindTwoTotalIsWrong", 2, "40", kind2Wrong},
                      AnswerRow{"KindTwoNearMiss", 2, "10.9", kind2Wrong},
                      AnswerRow{"KindThreeWithPercent", 3, "50%", "CORRECT"},
                      AnswerRow{"KindThreeBelow", 3, "49.5", kind3Wrong},
                      AnswerRow{"KindThreeNearMiss", 3, "50.9", kind3Wrong}),
    [](const auto& row) { return std::string(row.param.name); });

using Submit = Practice;

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
