#include <gtest/gtest.h>

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
    void SetUp() override
    {
        ASSERT_TRUE(x.running()) << "Xvfb did not start";
        program.setProcessEnvironment(x.environment());
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
            if (latest.width() > 400 && latest.pixelColor(360, 50) == QColor(128, 255, 128)) {
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

    XServer x;
    QProcess program;
    unsigned long window = 0;
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

}  // namespace
}  // namespace dravlet::testing
