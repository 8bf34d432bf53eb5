// SPDX-License-Identifier: MIT
// Cost of the drill's own work, without any window: drawing a problem and judging an
// answer, with the program's real generator and controls that do nothing.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/dravlet.h"
#include "runtime/random.h"
#include "tests/support/fakes.h"

namespace dravlet {
namespace {

class NullControls final : public Controls, public ProgramEnd {
public:
    std::string text(TextBox) const override { return "30"; }
    void setText(TextBox, std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
    void focus(TextBox) override {}
    void setCaption(Label, std::string_view caption) override { benchmark::DoNotOptimize(caption.data()); }
    void setVisible(Button, bool) override {}
    void focus(Button) override {}
    void endProgram() override {}
};

// Counts the values taken, to report the mean number of attempts per problem.
class CountingRandom final : public RandomSource {
public:
    void reseed(double seed) override { m_inner.reseed(seed); }
    double next() override
    {
        ++m_taken;
        return m_inner.next();
    }
    std::size_t taken() const { return m_taken; }

private:
    MersenneRandom m_inner;
    std::size_t m_taken = 0;
};

// One problem per iteration through Next: NewProb plus five control operations that
// cost nothing here. The kind stays 1, so each problem takes 1 + 4 x attempts values.
void NewProbThroughNext(benchmark::State& state)
{
    NullControls controls;
    CountingRandom random;
    const testing::FixedClock clock(43210.5);
    cmdDravlet form(controls, controls, random, clock);
    form.cmdRun_Click();
    const std::size_t before = random.taken();
    for (auto _ : state) {
        form.cmdNext_Click();
    }
    const double perProblem =
        static_cast<double>(random.taken() - before) / static_cast<double>(state.iterations());
    state.counters["attempts"] = (perProblem - 1.0) / 4.0;
}
BENCHMARK(NewProbThroughNext);

// One Submit: read the answer, judge it, write the verdict and both counts, draw the
// next kind.
void SubmitAnswer(benchmark::State& state)
{
    NullControls controls;
    CountingRandom random;
    const testing::FixedClock clock(43210.5);
    cmdDravlet form(controls, controls, random, clock);
    form.cmdRun_Click();
    for (auto _ : state) {
        form.cmdSubmit_Click();
    }
}
BENCHMARK(SubmitAnswer);

}  // namespace
}  // namespace dravlet

BENCHMARK_MAIN();
