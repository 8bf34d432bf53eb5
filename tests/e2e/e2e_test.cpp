// The real program on a real X server, a private Xvfb that every test here shares,
// driven by real input events from xdotool and read the way a learner reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QThread>

#include "tests/support/oracle.h"
#include "tests/support/xserver.h"

namespace dravlet::testing {
namespace {

const QString title = "Dravlet Problem Practice Version 2.1";

XServer& sharedDisplay()
{
    static XServer server;
    return server;
}

// Pixels that differ between two shots inside a rectangle of the window.
int changedPixels(const QImage& before, const QImage& after, const QRect& rect)
{
    int changed = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            changed += before.pixel(x, y) != after.pixel(x, y) ? 1 : 0;
        }
    }
    return changed;
}

class RealDisplay : public ::testing::Test {
protected:
    void SetUp() override { launch(); }

    void launch(const QString& scaleFactor = QString())
    {
        ASSERT_TRUE(x.running()) << "Xvfb did not start";
        QProcessEnvironment env = x.environment();
        if (!scaleFactor.isEmpty()) {
            env.insert("QT_SCALE_FACTOR", scaleFactor);
            scale = scaleFactor.toDouble();
        }
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // The program has no command line: arguments the toolkit would act on change nothing.
        program.start(DRAVLET_EXECUTABLE, {"-platform", "no-such-platform", "--help"});
        ASSERT_TRUE(program.waitForStarted(10000));
        // Found by its title and mapped: every input event sent from now on reaches the
        // program after the window's first expose.
        window = x.waitForWindow(title);
        ASSERT_NE(window, 0UL) << "no window titled " << title.toStdString() << " was mapped";
        // No window manager here: give the window the keyboard ourselves.
        ASSERT_TRUE(x.run("xdotool", {"windowfocus", "--sync", QString::number(window)}));
    }

    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }

    bool xdo(const QStringList& arguments) { return x.run("xdotool", arguments).has_value(); }

    bool clickAt(int xPos, int yPos)
    {
        return xdo({"mousemove", "--sync", "--window", QString::number(window), QString::number(xPos),
                    QString::number(yPos), "click", "1"});
    }

    QImage shot() { return x.grab(DRAVLET_XTOOL, window); }

    // Input events reach the program asynchronously: shoot until the rectangle
    // differs from the earlier shot by more than minChanged pixels, or 5 s pass.
    QImage shotAfterChange(const QImage& earlier, const QRect& where, int minChanged)
    {
        QImage latest;
        const QDeadlineTimer deadline(5000);
        do {
            latest = shot();
            if (!latest.isNull() && changedPixels(earlier, latest, where) > minChanged) {
                QThread::msleep(100);  // let the rest of the repaint land
                return shot();
            }
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        return latest;
    }

    // A logical coordinate of the layout in device pixels.
    int at(int logical) const { return static_cast<int>(logical * scale); }

    // The problem on screen, copied out as a learner copies it (a click into the box,
    // Ctrl+A, Ctrl+C), once it differs from the one before; the focus goes back to the
    // answer box.
    std::string copyProblem(const std::string& before = {})
    {
        std::string copied;
        const QDeadlineTimer deadline(5000);
        do {
            clickAt(160, 140);
            xdo({"key", "ctrl+a", "ctrl+c"});
            QThread::msleep(50);
            copied = x.run("xclip", {"-o", "-selection", "clipboard"}).value_or("").toStdString();
        } while ((copied == before || copied.find('%') == std::string::npos) && !deadline.hasExpired());
        clickAt(90, 292);
        return copied;
    }

    XServer& x = sharedDisplay();
    QProcess program;
    unsigned long window = 0;
    double scale = 1.0;
};

// Answers worked out from the problem copied out of the window, right, wrong and right
// again: each is counted in its own box, and the other box stays as it was.
TEST_F(RealDisplay, AnswersAreCountedWhereTheyBelong)
{
    const auto geometry = x.run("xdotool", {"getwindowgeometry", "--shell", QString::number(window)});
    ASSERT_TRUE(geometry);
    EXPECT_TRUE(geometry->contains("WIDTH=438")) << geometry->toStdString();
    EXPECT_TRUE(geometry->contains("HEIGHT=408")) << geometry->toStdString();
    const QRect answerBox{8, 272, 177, 41};
    const QRect verdict{0, 328, 209, 25};
    const QRect right{352, 40, 73, 41};
    const QRect wrong{352, 112, 73, 41};

    ASSERT_TRUE(xdo({"key", "--window", QString::number(window), "space"}));  // focus is on Start
    std::string problem;
    for (const int round : {0, 1, 2}) {
        SCOPED_TRACE("round " + std::to_string(round));
        const bool answerRight = round != 1;
        problem = copyProblem(problem);
        const ShownProblem p = readProblem(problem);
        ASSERT_EQ(p.broken, nullptr) << problem;
        QImage before = shot();
        ASSERT_TRUE(xdo({"type", "--delay", "20", QString::number(p.answer + (answerRight ? 0 : 1))}));
        before = shotAfterChange(before, answerBox, 50);
        ASSERT_TRUE(xdo({"key", "Tab", "space"}));  // to Submit, and press it
        const QImage after = shotAfterChange(before, verdict, 50);
        EXPECT_GT(changedPixels(before, after, answerRight ? right : wrong), 20)
            << (answerRight ? "a right answer was not counted as right" : "a wrong answer was not counted as wrong");
        // The first answer puts a blank before both counts, so both boxes change then.
        if (round > 0) {
            EXPECT_EQ(changedPixels(before, after, answerRight ? wrong : right), 0)
                << (answerRight ? "a right answer was counted as wrong" : "a wrong answer was counted as right");
        }
        ASSERT_TRUE(xdo({"key", "space"}));  // Next has the focus
    }

    ASSERT_TRUE(clickAt(384, 384));  // Quit
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

TEST_F(RealDisplay, ClosingTheWindowEndsTheProgramWithStatusZero)
{
    // A close request in the first moments after start-up can go unanswered, so ask
    // again as an impatient user would click again; one request is the usual case.
    bool finished = false;
    for (int attempt = 0; attempt < 5 && !finished; ++attempt) {
        ASSERT_TRUE(x.run(DRAVLET_XTOOL, {"close", QString::number(window)}));
        finished = program.waitForFinished(2000);
    }
    ASSERT_TRUE(finished);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

class ScaledDisplay : public RealDisplay, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override { launch(GetParam()); }
};

// The whole window at a high-density scale: its size in device pixels, and every box
// in its place and colour, with the space around it untouched.
TEST_P(ScaledDisplay, WindowAndBoxesScaleWithTheScreen)
{
    const auto geometry = x.run("xdotool", {"getwindowgeometry", "--shell", QString::number(window)});
    ASSERT_TRUE(geometry);
    const QSize expected(qRound(438 * scale), qRound(408 * scale));
    EXPECT_TRUE(geometry->contains(QString("WIDTH=%1").arg(expected.width()))) << geometry->toStdString();
    EXPECT_TRUE(geometry->contains(QString("HEIGHT=%1").arg(expected.height()))) << geometry->toStdString();

    const QImage ready = shot();
    ASSERT_TRUE(xdo({"key", "--window", QString::number(window), "space"}));
    const QImage shown = shotAfterChange(ready, {at(16), at(24), at(297), at(233)}, 500);
    ASSERT_EQ(shown.size(), expected);
    shown.save(QString(DRAVLET_SHOT_DIR "/scale-%1.png").arg(GetParam()));

    struct Box {
        const char* name;
        QRect logical;
        QColor colour;
    };
    const Box boxes[] = {{"problem", {16, 24, 297, 233}, {192, 192, 192}},
                         {"answer", {8, 272, 177, 41}, {255, 255, 192}},
                         {"right count", {352, 40, 73, 41}, {128, 255, 128}},
                         {"wrong count", {352, 112, 73, 41}, {255, 128, 128}}};
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.name);
        const QRect r = box.logical;
        // Just inside each corner (clear of frames and rounded corners, which scale
        // too): the box's colour; just outside: not.
        EXPECT_EQ(shown.pixelColor(at(r.left() + 5), at(r.bottom() - 4)), box.colour);
        EXPECT_EQ(shown.pixelColor(at(r.right() - 4), at(r.top() + 5)), box.colour);
        EXPECT_NE(shown.pixelColor(at(r.left()) - 3, at(r.top()) + 10), box.colour);
        EXPECT_NE(shown.pixelColor(at(r.right() + 1) + 2, at(r.bottom() + 1) - 10), box.colour);
    }
    // Text was drawn in the problem box: many dark pixels.
    int dark = 0;
    for (int y = at(24) + 4; y < at(24 + 233) - 4; ++y) {
        for (int xPos = at(16) + 4; xPos < at(16 + 297) - 4; ++xPos) {
            dark += shown.pixelColor(xPos, y).lightness() < 80 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, static_cast<int>(300 * scale * scale));
}

INSTANTIATE_TEST_SUITE_P(HighDensity, ScaledDisplay, ::testing::Values("1.5", "2"),
                         [](const auto& row) {
                             std::string name = std::string("scale_") + row.param;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

// As a screen-reader user: the script finds the window by its title through AT-SPI and
// plays a cycle through AT-SPI alone, on this display and a private session bus.
TEST(ScreenReader, PlaysACycleThroughAtspi)
{
    XServer& x = sharedDisplay();
    ASSERT_TRUE(x.running() && x.startSessionBus()) << "no display or no session bus";
    QProcess script;
    script.setProcessEnvironment(x.environment());
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(DRAVLET_PYTHON, {DRAVLET_ATSPI_SCRIPT, DRAVLET_EXECUTABLE});
    ASSERT_TRUE(script.waitForFinished(90000));
    const std::string out = script.readAll().toStdString();
    EXPECT_EQ(script.exitCode(), 0) << out;
    EXPECT_NE(out.find(" passed, 0 failed"), std::string::npos) << out;
}

}  // namespace
}  // namespace dravlet::testing
