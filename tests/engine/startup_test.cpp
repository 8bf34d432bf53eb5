// SPDX-License-Identifier: MIT
#include "practice_fixture.h"

namespace dravlet::testing {
namespace {

using Startup = Practice;

// Form_Load reseeds once from the clock, draws nothing, touches no control and starts
// the counts at zero; the first problem is of kind 1, and no later step reseeds.
TEST_F(Startup, ReseedsOnceDrawsNothingTouchesNoControlAndStartsAtZero)
{
    ASSERT_EQ(random.seeds().size(), 1U);
    EXPECT_EQ(random.seeds().front(), clockReading);
    EXPECT_EQ(random.taken(), 0U);
    const FakeControls pristine;
    EXPECT_EQ(controls.visibleButtons(), pristine.visibleButtons());
    EXPECT_EQ(controls.focused(), pristine.focused());
    EXPECT_TRUE(controls.problemHistory().empty());
    EXPECT_EQ(vars().RightCount, 0);
    EXPECT_EQ(vars().WrongCount, 0);
    EXPECT_EQ(vars().ProbKind, 1);

    startWorkedExample();
    EXPECT_TRUE(problem().starts_with("Tyrone  has  10 liters of a 20% solution.")) << "kind 1 first";
    submit("30", 2);
    nextWorkedExample();
    EXPECT_EQ(random.seeds().size(), 1U) << "the generator must never be reseeded during a run";
}

TEST_F(Startup, NameTableHoldsTheThirtyThreeNamesInSlotsOneToThirtyThree)
{
    const auto& table = vars().NameTable;
    EXPECT_EQ(table[0], "");
    EXPECT_EQ(table[1], "Bob ");
    EXPECT_EQ(table[4], "Tyrone ");
    EXPECT_EQ(table[32], "Julio ");
    EXPECT_EQ(table[33], "Danielle ");
    for (std::size_t slot = 1; slot <= 33; ++slot) {
        const std::string& name = table[slot];
        ASSERT_GE(name.size(), 2U) << "slot " << slot;
        EXPECT_EQ(name.back(), ' ') << "slot " << slot;
        EXPECT_NE(name[name.size() - 2], ' ') << "exactly one trailing blank in slot " << slot;
    }
    for (std::size_t slot = 34; slot < table.size(); ++slot) {
        EXPECT_EQ(table[slot], "") << "slot " << slot;
    }
}

}  // namespace
}  // namespace dravlet::testing
