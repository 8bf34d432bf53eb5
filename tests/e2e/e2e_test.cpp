#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QThread>

#include "tests/support/xserver.h"

namespace dravlet::testing {
namespace {

const QString title = "Dravlet Problem Practice Version 2.1";

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
        program.start(DRAVLET_EXECUTABLE, {});
        ASSERT_TRUE(program.waitForStarted(10000));
        window = x.waitForWindow(title);
        ASSERT_NE(window, 0UL) << "no window titled " << title.toStdString();
        ASSERT_TRUE(waitUntilPainted()) << "the window never showed its green count box";
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

    // The program takes input reliably only once it has painted; the green count box
    // is the sign.
    bool waitUntilPainted()
    {
        const QDeadlineTimer deadline(10000);
        do {
            const QImage latest = shot();
            if (latest.width() > 400 && latest.pixelColor(at(388), at(60)) == QColor(128, 255, 128)) {
                return true;
            }
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        return false;
    }

    // Input events reach the program asynchronously: shoot until the rectangle
    // differs from the earlier shot by more than minChanged pixels, or 5 s pass.
    QImage shotAfterChange(const QImage& earlier, const QRect& where, int minChanged)
    {
        QImage latest;
        const QDeadlineTimer deadline(5000);
        do {
            latest = shot();
            if (!latest.isNull() && changedPixels(earlier, latest, where) > minChanged) {
                break;
            }
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        return latest;
    }

    // A logical coordinate of the layout in device pixels.
    int at(int logical) const { return static_cast<int>(logical * scale); }

    XServer x;
    QProcess program;
    unsigned long window = 0;
    double scale = 1.0;
};

TEST_F(RealDisplay, StartAnswerSubmitCountsAndQuitsWithStatusZero)
{
    const auto geometry = x.run("xdotool", {"getwindowgeometry", "--shell", QString::number(window)});
    ASSERT_TRUE(geometry);
    EXPECT_TRUE(geometry->contains("WIDTH=438")) << geometry->toStdString();
    EXPECT_TRUE(geometry->contains("HEIGHT=408")) << geometry->toStdString();

    const QImage ready = shot();
    ASSERT_EQ(ready.size(), QSize(438, 408));

    ASSERT_TRUE(xdo({"key", "--window", QString::number(window), "space"}));  // focus is on Start
    ASSERT_TRUE(xdo({"type", "--delay", "20", "42"}));
    const QImage answering = shotAfterChange(ready, {8, 272, 177, 41}, 50);
    EXPECT_GT(changedPixels(ready, answering, {16, 24, 297, 233}), 500) << "a problem appears";
    EXPECT_GT(changedPixels(ready, answering, {8, 272, 177, 41}), 50) << "the answer was typed";

    ASSERT_TRUE(clickAt(280, 296));  // Submit
    const QImage reviewing = shotAfterChange(answering, {0, 328, 209, 25}, 50);
    const int rightChanged = changedPixels(answering, reviewing, {352, 40, 73, 41});
    const int wrongChanged = changedPixels(answering, reviewing, {352, 112, 73, 41});
    EXPECT_GT(rightChanged + wrongChanged, 20) << "one of the count boxes changed";
    EXPECT_GT(changedPixels(answering, reviewing, {0, 328, 209, 25}), 50) << "a verdict appears";

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

}  // namespace
}  // namespace dravlet::testing
