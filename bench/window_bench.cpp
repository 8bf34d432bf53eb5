// SPDX-License-Identifier: MIT
// From a Submit click to the verdict painted, on the real widgets (offscreen platform):
// the learner's wait after pressing Submit.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "engine/dravlet.h"
#include "runtime/numtext.h"
#include "tests/support/fakes.h"
#include "window/appearance.h"
#include "window/dravletwindow.h"
#include "window/fitlabel.h"

namespace dravlet {
namespace {

void SubmitClickToVerdictPainted(benchmark::State& state)
{
    DravletWindow window;
    MersenneRandom random;
    const testing::FixedClock clock(43210.5);
    cmdDravlet form(window, window, random, clock);
    window.deliverClicksTo(form);
    window.show();
    QApplication::processEvents();
    QTest::mouseClick(window.widget(Button::cmdRun), Qt::LeftButton);
    auto* answer = window.findChild<QLineEdit*>("txtAnswer");
    for (auto _ : state) {
        state.PauseTiming();
        answer->setText(QString::fromStdString(renderNumber(form.variables().Liters2)));
        QApplication::processEvents();
        state.ResumeTiming();

        QTest::mouseClick(window.widget(Button::cmdSubmit), Qt::LeftButton);
        window.widget(Label::lblResponse)->repaint();
        benchmark::DoNotOptimize(window.widget(Label::lblResponse)->text().size());

        state.PauseTiming();
        QTest::mouseClick(window.widget(Button::cmdNext), Qt::LeftButton);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(SubmitClickToVerdictPainted)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace dravlet

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    benchmark::Initialize(&argc, argv);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    dravlet::appearance::installFontSubstitutes();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
