// SPDX-License-Identifier: MIT
// The real program on a real X server, a private Xvfb that every test here shares,
// driven by real input events from xdotool and read the way a learner reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <unistd.h>

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
        // The program has no command line: arguments the toolkit would act on change nothing.
        start(env, DRAVLET_EXECUTABLE, {"-platform", "no-such-platform", "--help"});
    }

    void start(const QProcessEnvironment& env, const QString& executable, const QStringList& arguments)
    {
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(executable, arguments);
        ASSERT_TRUE(program.waitForStarted(10000));
        // Found by its title and mapped: every input event sent from now on reaches the
        // program after the window's first expose.
        window = x.waitForWindow(title);
        ASSERT_NE(window, 0UL) << "no window titled " << title.toStdString() << " was mapped";
        // No window manager here: give the window the keyboard ourselves.
        ASSERT_TRUE(x.run("xdotool", {"windowfocus", "--sync", QString::number(window)}));
    }

    // The window under openbox: started after the window, so that openbox takes it over as
    // it starts (a window mapped while it starts can be lost). Framed once it is managed;
    // then made active, as a click on it would.
    void manage()
    {
        windowManager.setProcessEnvironment(x.environment());
        windowManager.start("openbox", {"--config-file", "/etc/xdg/openbox/rc.xml"});
        for (const QDeadlineTimer deadline(10000); !deadline.hasExpired() && !x.run("xprop", {"-id", QString::number(window), "_NET_FRAME_EXTENTS"})
                                                                                .value_or("").contains("=");) {
            QThread::msleep(50);
        }
        ASSERT_TRUE(xdo({"windowactivate", "--sync", QString::number(window)}));
    }

    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
        windowManager.terminate();
        windowManager.waitForFinished(5000);
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
    QProcess windowManager;
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
    // What a window manager reads: never smaller than its controls, and the class its
    // desktop entry names, so the window is matched to its launcher.
    const QString hints = x.run("xprop", {"-id", QString::number(window), "WM_NORMAL_HINTS", "WM_CLASS"}).value_or("");
    EXPECT_TRUE(hints.contains("program specified minimum size: 438 by 408")) << hints.toStdString();
    QFile entry(DRAVLET_DESKTOP_ENTRY);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString wmClass = QString::fromUtf8(entry.readAll()).section("StartupWMClass=", 1).section('\n', 0, 0);
    EXPECT_TRUE(!wmClass.isEmpty() && hints.contains(", \"" + wmClass + "\"")) << hints.toStdString();
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

// The window closed as a user closes it, by a window manager's Close (Alt+F4 in openbox),
// or destroyed by another X client (a kiosk tool, xdotool): either way the program ends,
// with status 0. A popup of its own (the answer box's menu) opened and closed is not the
// window: it runs on.
enum class Goes { Closed, Destroyed, OnlyItsMenu };
class WindowGoes : public RealDisplay, public ::testing::WithParamInterface<Goes> {
protected:
    void SetUp() override
    {
        launch();
        if (GetParam() == Goes::Closed) {
            manage();
        }
    }
};

TEST_P(WindowGoes, AndTheProgramEndsWithStatusZeroOnlyThen)
{
    if (GetParam() == Goes::OnlyItsMenu) {
        ASSERT_TRUE(xdo({"mousemove", "--sync", "--window", QString::number(window), "96", "292", "click", "3"}));
        QThread::msleep(500);
        ASSERT_TRUE(xdo({"key", "Escape"}));
        EXPECT_FALSE(program.waitForFinished(1500)) << "the program ended when a menu of its own closed";
        // And it still counts: Start, an answer that is never right, Submit.
        const QRect wrong{352, 112, 73, 41};
        const QImage before = shot();
        ASSERT_TRUE(clickAt(360, 296) && xdo({"type", "0"}) && xdo({"key", "Tab", "space"}));
        EXPECT_GT(changedPixels(before, shotAfterChange(before, wrong, 20), wrong), 20) << "the wrong answer was not counted";
        return;
    }
    ASSERT_TRUE(GetParam() == Goes::Closed ? xdo({"key", "alt+F4"}) : xdo({"windowclose", QString::number(window)}));
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

const char* const ways[] = {"Closed", "Destroyed", "OnlyItsMenuClosed"};
INSTANTIATE_TEST_SUITE_P(Ways, WindowGoes, ::testing::Values(Goes::Closed, Goes::Destroyed, Goes::OnlyItsMenu),
                         [](const auto& row) { return ways[static_cast<int>(row.param)]; });

// A row "Ndpi" sets the desktop's text size (Xft.dpi), as a desktop's settings do, instead
// of Qt's scale factor; the window follows it.
class ScaledDisplay : public RealDisplay, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        const QString row = GetParam(), dpi = row.endsWith("dpi") ? row.chopped(3) : QString();
        ASSERT_TRUE(dpi.isEmpty() || x.run("xprop", {"-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                                                     "Xft.dpi:\t" + dpi + "\n"}));
        launch(dpi.isEmpty() ? row : QString());
        scale = dpi.isEmpty() ? scale : dpi.toDouble() / 96;
    }
    void TearDown() override
    {
        RealDisplay::TearDown();
        x.run("xprop", {"-root", "-remove", "RESOURCE_MANAGER"});
    }
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

INSTANTIATE_TEST_SUITE_P(HighDensity, ScaledDisplay, ::testing::Values("1.5", "2", "144dpi"),
                         [](const auto& row) {
                             std::string name = std::string("scale_") + row.param;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

// The Windows program, Dravlet.exe, under Wine on this display with openbox, at the DPI and
// Windows text size of the row: played by real key presses and read from outside, as a
// screen reader reads it (MSAA, and its events through a hook), by the cross-built reader,
// in a Wine prefix of the test's own.
class WindowsProgram : public RealDisplay, public ::testing::WithParamInterface<std::pair<int, int>> {
protected:
    struct Control {
        bool visible = false, focused = false;
        QRect rect;
        std::string text, name, lateNameAndRefused;  // the name through IDispatch, and 1 if IServiceProvider is refused
    };
    using Seen = std::map<std::string, Control>;  // by control name; "window" has the client size

    void SetUp() override
    {
        if (!QFileInfo::exists(DRAVLET_WINDOWS_PROGRAM)) {
            GTEST_SKIP() << "the Windows program is not built: cmake --preset windows && cmake --build --preset windows";
        }
        const auto [dpi, textSize] = GetParam();
        ASSERT_TRUE(wine({"reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                          QString::number(dpi), "/f"}));
        ASSERT_TRUE(wine({"reg", "add", "HKCU\\Software\\Microsoft\\Accessibility", "/v", "TextScaleFactor", "/t",
                          "REG_DWORD", "/d", QString::number(textSize), "/f"}));
        scale = dpi / 96.0 * textSize / 100.0;
        userFilesBefore = userFiles();
        start(x.environment(), DRAVLET_WINE_RUN, {prefix(), DRAVLET_WINDOWS_PROGRAM});
        manage();
    }
    static void TearDownTestSuite() { QProcess::execute("env", {"WINEPREFIX=" + prefix(), "wineserver", "-k"}); }
    static QString prefix()
    {
        static QTemporaryDir dir;
        return dir.filePath("prefix");
    }
    std::optional<QString> wine(const QStringList& arguments) const
    {
        return x.run(DRAVLET_WINE_RUN, QStringList{prefix()} + arguments, 60000);
    }
    // What the reader sees once the condition holds, or after 5 s.
    Seen seenOnce(const std::function<bool(Seen&)>& condition)
    {
        Seen seen;
        for (const QDeadlineTimer deadline(5000); !deadline.hasExpired(); QThread::msleep(50)) {
            seen.clear();
            for (const QString& line : wine({DRAVLET_WINDOWS_READER}).value_or("").split("\r\n", Qt::SkipEmptyParts)) {
                const QStringList f = line.split('\t');
                const QStringList r = f.value(f.size() > 2 ? 2 : 1).split(',');
                seen[f[0].toStdString()] = {f.value(1) == "1", f.value(3) == "1",
                                            {r.value(0).toInt(), r.value(1).toInt(), r.value(2).toInt(), r.value(3).toInt()},
                                            f.value(4).toStdString(), f.value(5).toStdString(), (f.value(6) + f.value(7)).toStdString()};
            }
            if (seen.size() == 13 && condition(seen)) {
                break;
            }
        }
        return seen;
    }
    Seen focusOn(const std::string& name) { return seenOnce([&](Seen& s) { return s[name].focused; }); }
    void look(const char* state)
    {
        shot().save(QString(DRAVLET_SHOT_DIR "/windows-%1dpi-%2pct-%3.png").arg(GetParam().first).arg(GetParam().second).arg(state));
    }
    // The focus and name-change events of a step, as an assistive client hears them (up to the
    // step's focus event, and what arrives while the reader reads the window once more: the
    // window answers it only after the step): one focus event, on the control the step
    // focuses, and no renaming of that control after it.
    void expectAnnounced(const std::string& focused)
    {
        QString lines;
        const QString focus = ("focus\t" + focused).c_str();
        for (const QDeadlineTimer deadline(5000); !lines.contains(focus) && !deadline.hasExpired();) {
            lines += events.waitForReadyRead(50) ? events.readAll() : "";
        }
        lines += (focusOn(focused), events.readAll());
        EXPECT_EQ(lines.count("focus\t"), 1) << lines.toStdString();
        EXPECT_FALSE(lines.mid(lines.indexOf(focus)).contains(("name\t" + focused).c_str())) << lines.toStdString();
    }
    static QStringList userFiles()  // what Wine keeps for the program's user, with each one's last change
    {
        QStringList files;
        for (QDirIterator it(prefix() + "/drive_c/users", QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            files << it.next() + it.fileInfo().lastModified().toString(Qt::ISODateWithMs);
        }
        return files;
    }
    QStringList userFilesBefore;
    QProcess events;
};

TEST_P(WindowsProgram, PlaysACycleByTheKeyboardAndReadsAsTheOtherFaces)
{
    Seen seen = focusOn("cmdRun");
    EXPECT_EQ(seen["window"].rect.topLeft(), QPoint(at(438), at(408))) << "the client area";
    const std::map<std::string, QRect> places{
        {"cmdSubmit", {240, 280, 81, 33}}, {"txtAnswer", {8, 272, 177, 41}}, {"txtProb", {16, 24, 297, 233}},
        {"cmdRun", {320, 280, 81, 33}},    {"cmdNext", {240, 280, 81, 33}},  {"cmdQuit", {344, 368, 81, 33}},
        {"Label3", {24, 384, 217, 17}},    {"Label2", {360, 160, 57, 17}},   {"lblWrong", {352, 112, 73, 41}},
        {"Label1", {360, 88, 57, 17}},     {"lblRight", {352, 40, 73, 41}},  {"lblResponse", {0, 328, 209, 25}}};
    const auto px = [this](int logical) { return qRound(logical * scale); };  // as Windows' MulDiv rounds
    for (const auto& [name, r] : places) {
        EXPECT_EQ(seen[name].rect, QRect(px(r.x()), px(r.y()), px(r.width()), px(r.height()))) << name;
    }
    const auto shown = [&seen](std::initializer_list<const char*> names) {
        std::string visible;
        for (const char* name : {"cmdRun", "cmdSubmit", "cmdNext", "cmdQuit"}) {
            visible += seen[name].visible ? std::string(name) + " " : "";
        }
        return visible == std::accumulate(names.begin(), names.end(), std::string(),
                                          [](std::string all, const char* n) { return all + n + " "; });
    };
    EXPECT_TRUE(shown({"cmdRun", "cmdQuit"}));
    EXPECT_EQ(seen["lblRight"].text + seen["lblWrong"].text + seen["Label1"].text + seen["Label2"].text, "00RightWrong");
    look("ready");
    const QImage ready = shot();
    for (const auto& [name, colour] : {std::pair{"txtAnswer", QColor(255, 255, 192)}, {"txtProb", QColor(192, 192, 192)},
                                       {"lblRight", QColor(128, 255, 128)}, {"lblWrong", QColor(255, 128, 128)}}) {
        EXPECT_EQ(ready.pixelColor(seen[name].rect.topLeft() + QPoint(5, 5)), colour) << name;
    }
    // Tab and Shift+Tab between the tab stops only.
    for (const auto& [key, to] : {std::pair{"Tab", "txtAnswer"}, {"Tab", "cmdQuit"}, {"Tab", "cmdRun"},
                                  {"shift+Tab", "cmdQuit"}, {"Tab", "cmdRun"}}) {
        ASSERT_TRUE(xdo({"key", key}));
        EXPECT_TRUE(focusOn(to)[to].focused) << key << " did not go to " << to;
    }

    events.setProcessEnvironment(x.environment());
    events.start(DRAVLET_WINE_RUN, {prefix(), DRAVLET_WINDOWS_READER, "--events"});
    ASSERT_TRUE(events.waitForReadyRead(30000) && events.readAll().startsWith("hooked"));
    int answers = 0;
    for (const bool right : {true, false}) {
        ASSERT_TRUE(xdo({"key", "space"}));  // Start, then Next
        seen = seenOnce([](Seen& s) { return s["txtAnswer"].focused && s["txtProb"].text.find('%') != std::string::npos; });
        expectAnnounced("txtAnswer");
        EXPECT_EQ(seen["txtAnswer"].lateNameAndRefused, seen["txtAnswer"].name + "1");
        EXPECT_TRUE(shown({"cmdSubmit", "cmdQuit"}));
        EXPECT_EQ(seen["txtAnswer"].text + seen["lblResponse"].text, "");
        const std::string problem = seen["txtProb"].text;
        EXPECT_EQ(seen["txtAnswer"].name, problem + (problem.ends_with('?') ? " " : ". ") + "Your answer");
        look(right ? "answering" : "answering-again");
        // Enter and Esc in the answer box press nothing; the answer typed after them arrives.
        // The wrong answer is pasted, longer than the box keeps: its first 32 767 digits stay.
        const ShownProblem p = readProblem(problem);
        const std::string typed = right ? std::to_string(p.answer) : std::string(32767, '9');
        ASSERT_TRUE(xdo({"key", "Return", "Escape"}));
        ASSERT_TRUE(right ? xdo({"type", QString::fromStdString(typed)})
                          : x.run("sh", {"-c", "head -c 40000 /dev/zero | tr '\\0' 9 | xclip -selection clipboard"}) && xdo({"key", "ctrl+v"}));
        seen = seenOnce([&](Seen& s) { return s["txtAnswer"].text == typed; });
        EXPECT_EQ(seen["txtAnswer"].text.size(), typed.size());
        EXPECT_TRUE(seen["txtAnswer"].focused && shown({"cmdSubmit", "cmdQuit"}) && seen["lblResponse"].text.empty());

        ASSERT_TRUE(xdo({"key", "Tab"}));
        expectAnnounced("cmdSubmit");
        // Enter held as a learner may hold it presses once: its repeats never press Next.
        ASSERT_TRUE(right ? xdo({"keydown", "Return", "sleep", "1.5", "keyup", "Return"}) : xdo({"key", "space"}));
        seen = focusOn("cmdNext");
        expectAnnounced("cmdNext");
        EXPECT_EQ(seen["cmdNext"].lateNameAndRefused, seen["cmdNext"].name + "1");
        ++answers;
        const std::string verdict = right ? "CORRECT" : expectedVerdict(p, typed);
        EXPECT_EQ(seen["lblResponse"].text, verdict);
        EXPECT_EQ(seen["lblRight"].text + "|" + seen["lblWrong"].text, right ? " 1| 0" : " 1| 1");
        EXPECT_TRUE(shown({"cmdNext", "cmdQuit"}));
        EXPECT_EQ(seen["cmdNext"].name, verdict + ". Right answers 1, wrong answers " + std::to_string(answers - 1) + ". Next");
        look(right ? "reviewing" : "reviewing-wrong");
    }
    // Typed into the problem box (after a click), nothing changes.
    const std::string problem = seen["txtProb"].text;
    ASSERT_TRUE(clickAt(at(160), at(140)) && xdo({"type", "57"}));
    EXPECT_EQ(focusOn("txtProb")["txtProb"].text, problem);
    ASSERT_TRUE(clickAt(at(384), at(384)));  // Quit
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    // It stored nothing: no file of its user's changed, nothing in the registry names it.
    EXPECT_EQ(userFiles(), userFilesBefore);
    for (const QString root : {"HKCU", "HKLM"}) {
        QFile file(QDir(prefix()).filePath(root + ".reg"));
        ASSERT_TRUE(wine({"reg", "export", root, "Z:" + file.fileName().replace('/', '\\'), "/y"}) && file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();  // UTF-16
        EXPECT_FALSE(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2)
                         .contains(QRegularExpression("Dravlet\\.exe|cmdDravlet|Dravlet Problem", QRegularExpression::CaseInsensitiveOption)));
    }
}

// Closed by the window's own Close (Alt+F4 in openbox), it ends with status 0. Before that:
// its version record, and its window cannot be made smaller than its controls.
TEST_P(WindowsProgram, EndsWithStatusZeroWhenItsWindowCloses)
{
    // The version record, every field, as Explorer, Task Manager and SmartScreen show it.
    EXPECT_EQ(wine({DRAVLET_WINDOWS_READER, "--version", "Z:" + QString(DRAVLET_WINDOWS_PROGRAM).replace('/', '\\')})
                  .value_or("").split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts),
              QString("CompanyName\tDravlet developers|FileDescription\tDravlet Problem Practice|"
                      "FileVersion\t1.00|InternalName\tDravlet|LegalCopyright\tCopyright (c) 2026 the Dravlet developers. "
                      "MIT license; the notices are inside the file.|OriginalFilename\tDravlet.exe|ProductName\tDravlet|"
                      "ProductVersion\t1.00").split('|'));
    ASSERT_TRUE(focusOn("cmdRun")["cmdRun"].focused);
    ASSERT_TRUE(xdo({"windowsize", QString::number(window), "200", "150"}));
    EXPECT_EQ(seenOnce([](Seen&) { return true; })["window"].rect.topLeft(), QPoint(at(438), at(408)));
    ASSERT_TRUE(xdo({"key", "alt+F4"}));
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(DpiAndTextSize, WindowsProgram, ::testing::Values(std::pair{96, 100}, std::pair{144, 100}, std::pair{96, 150}),
                         [](const auto& row) { return std::to_string(row.param.first) + "dpi_" + std::to_string(row.param.second) + "pct"; });

// As a screen-reader user: the script finds the window by its title through AT-SPI and
// plays a cycle through AT-SPI alone, on this X display and natively on Wayland, under a
// headless weston, with a private session bus.
TEST(ScreenReader, PlaysACycleThroughAtspiOnXAndOnWayland)
{
    XServer& x = sharedDisplay();
    ASSERT_TRUE(x.running() && x.startSessionBus()) << "no display or no session bus";
    QProcessEnvironment wayland = x.environment();
    wayland.remove("DISPLAY");
    wayland.remove("QT_QPA_PLATFORM");
    wayland.insert("WAYLAND_DISPLAY", "dravlet-weston");
    ASSERT_TRUE(x.startClient("weston", {"--backend=headless-backend.so", "--use-pixman", "--no-config",
                                         "--socket=dravlet-weston"},
                              wayland, wayland.value("XDG_RUNTIME_DIR") + "/dravlet-weston"));

    for (const QProcessEnvironment& env : {x.environment(), wayland}) {
        SCOPED_TRACE(env.contains("WAYLAND_DISPLAY") ? "on Wayland" : "on X");
        QProcess script;
        script.setProcessEnvironment(env);
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(DRAVLET_PYTHON, {DRAVLET_ATSPI_SCRIPT, DRAVLET_EXECUTABLE});
        ASSERT_TRUE(script.waitForFinished(90000));
        const std::string out = script.readAll().toStdString();
        EXPECT_EQ(script.exitCode(), 0) << out;
        EXPECT_NE(out.find(" passed, 0 failed"), std::string::npos) << out;
    }

    // On Wayland the window names the desktop entry as its app_id, so the compositor can
    // match it to its launcher and icon.
    QProcess program;
    wayland.insert("WAYLAND_DEBUG", "client");
    program.setProcessEnvironment(wayland);
    program.start(DRAVLET_EXECUTABLE, {});
    QByteArray protocol;
    for (QDeadlineTimer deadline(10000); !protocol.contains("set_app_id") && !deadline.hasExpired();) {
        program.waitForReadyRead(200);
        protocol += program.readAllStandardError();
    }
    program.kill();
    program.waitForFinished(5000);
    EXPECT_TRUE(protocol.contains("xdg_toplevel@") && protocol.contains(".set_app_id(\"org.dravlet.Dravlet\")"))
        << protocol.right(2000).toStdString();
}

// What a screen reader sent out, from a log: each call waits for as many new entries as it
// expects, at least one (20 s, or as long as it is given), since a busy reader may pause
// between them, and then for the log to be quiet for 0.6 s, and returns the entries that
// came since the call before.
// Speech (speech-dispatcher's log) has its blanks folded; braille (Orca's debug log) is
// kept blank for blank.
class ReaderLog {
public:
    static ReaderLog speech(QString path) { return {std::move(path), R"(\d+:DATA:\|<speak>(.*)</speak>)", true}; }
    static ReaderLog braille(QString path) { return {std::move(path), R"( - BRAILLE LINE:  '(.*)'$)", false}; }

    std::vector<std::string> next(int waitMs = 20000, std::size_t expected = 1)
    {
        std::vector<std::string> all = read();
        const QDeadlineTimer deadline(waitMs);
        qint64 size = -1;
        for (int quiet = 0; quiet < 6 && !deadline.hasExpired(); QThread::msleep(100)) {
            const qint64 now = QFileInfo(m_path).size();
            quiet = now == size && all.size() >= m_seen + expected ? quiet + 1 : 0;
            size = now;
            all = read();
        }
        std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(m_seen, all.size())), all.end());
        m_seen = all.size();
        return fresh;
    }

private:
    std::vector<std::string> read() const
    {
        QFile log(m_path);
        std::vector<std::string> said;
        static const QRegularExpression tag("<[^>]*>");
        if (log.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : log.readAll().split('\n')) {
                const auto match = m_entry.match(QString::fromUtf8(line));
                if (match.hasMatch()) {
                    const QString entry = match.captured(1);
                    said.push_back((m_fold ? QString(entry).remove(tag).simplified() : entry).toStdString());
                }
            }
        }
        return said;
    }

    ReaderLog(QString path, const char* entry, bool fold) : m_path(std::move(path)), m_entry(entry), m_fold(fold) {}

    QString m_path;
    QRegularExpression m_entry;
    bool m_fold;
    std::size_t m_seen = 0;
};

std::size_t timesSaid(const std::vector<std::string>& said, const std::string& utterance)
{
    return static_cast<std::size_t>(std::count(said.begin(), said.end(), utterance));
}

// A sound problem, read to its last word.
bool wholeProblem(const std::string& said)
{
    const ShownProblem p = readProblem(said);
    return p.broken == nullptr && said.ends_with(p.kind == 1 ? "%" : p.kind == 2 ? "used?" : "dravlet?");
}

// An entry expected as "?" and then some words, where "?" stands for a sound problem (with
// the full stop that closes one ending in "%" when words follow): the problem, or nothing.
std::string problemIn(const std::string& read, const std::string& expected)
{
    if (!expected.starts_with('?') || !read.ends_with(expected.substr(1))) {
        return {};
    }
    std::string problem = read.substr(0, read.size() - (expected.size() - 1));
    if (expected.size() > 1 && problem.ends_with("%.")) {
        problem.pop_back();
    }
    return wholeProblem(problem) ? problem : std::string{};
}

// Orca, the real screen reader, with a window manager and speech going to a log, once for
// the whole test program: set up on first use, with what went wrong if it did not start.
struct OrcaSession {
    OrcaSession();
    OrcaSession(const OrcaSession&) = delete;
    OrcaSession& operator=(const OrcaSession&) = delete;
    ~OrcaSession()
    {
        if (::testing::UnitTest::GetInstance()->Passed()) {
            home.remove();
        }
    }
    QTemporaryDir home;  // kept after a failure, for Orca's debug log and the speech log
    QProcessEnvironment env;
    std::unique_ptr<ReaderLog> speech;
    std::string failure;
    std::string logs() const { return "see " + home.path().toStdString(); }
};

// What went wrong, or nothing when Orca speaks.
std::string startOrca(OrcaSession& s)
{
    s.home.setAutoRemove(false);
    XServer& x = sharedDisplay();
    const QString h = s.home.path();
    const auto write = [&h](const QString& name, const QString& text) {
        QDir(h).mkpath(QFileInfo(h + name).path());
        QFile file(h + name);
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
    };
    if (!x.running() || !x.startSessionBus()) {
        return "no display or no session bus";
    }
    for (const char* property : {"IsEnabled", "ScreenReaderEnabled"}) {
        if (!x.run("dbus-send", {"--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                                 "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status",
                                 QString("string:") + property, "variant:boolean:true"})) {
            return "the accessibility bus did not take its flags";
        }
    }
    // Speech goes through espeak-ng to libao's null driver, and is logged; Orca's debug
    // log, written line by line, says why when something goes unspoken.
    if (!write("/.libao", "default_driver=null\n")
        || !write("/speech/speechd.conf", QString("LogLevel 5\nLogDir \"%1/speech\"\nAudioOutputMethod \"libao\"\n"
                                                  "AddModule \"espeak-ng\" \"sd_espeak-ng\" \"espeak-ng.conf\"\n"
                                                  "DefaultModule espeak-ng\n").arg(h))
        || !QDir(h).mkpath("speech/modules")
        || !QFile::copy("/etc/speech-dispatcher/modules/espeak-ng.conf", h + "/speech/modules/espeak-ng.conf")
        || !write("/prefs/orca-customizations.py", "import orca.debug\nif orca.debug.debugFile:\n"
                                                  "    orca.debug.debugFile.reconfigure(line_buffering=True)\n")) {
        return "could not write the session's settings";
    }
    s.env = x.environment();
    s.env.insert("HOME", h);
    if (!x.startClient("speech-dispatcher", {"-s", "-t", "0", "-C", h + "/speech", "-l", "5", "-L", h + "/speech"},
                       s.env, s.env.value("XDG_RUNTIME_DIR") + "/speech-dispatcher/speechd.sock")
        || !x.startClient("openbox", {}, s.env)) {
        return "speech-dispatcher or openbox did not start";
    }
    // Orca runs once per user and leaves at once when another Orca of the user runs.
    if (x.run("pgrep", {"-u", QString::number(getuid()), "-x", "orca"})) {
        return "another Orca of this user is running, so a second one would not start";
    }
    s.speech = std::make_unique<ReaderLog>(ReaderLog::speech(h + "/speech/speech-dispatcher.log"));
    if (!x.startClient("orca", {"-u", h + "/prefs", "--debug-file", h + "/orca.log"}, s.env)
        || timesSaid(s.speech->next(), "Screen reader on.") != 1U) {
        return "Orca did not start";
    }
    return {};
}

OrcaSession::OrcaSession() : failure(startOrca(*this)) {}

OrcaSession& orcaSession()
{
    static OrcaSession session;
    return session;
}

// What a learner opens: the desktop program, or the page in Firefox ESR (kiosk mode, a
// fresh profile whose first-run pages are off, so nothing but the page opens), Chromium or
// WebKitGTK's MiniBrowser (Safari's engine); what Orca says last as it opens (MiniBrowser:
// the page's title or the focus on Start or both, "|" between, as its window may become
// active only after WebKit has told of either); what it says after Space as the focus comes to the
// answer box with a problem ("?") and to Next with the verdict and counts ("{}"), and on
// "where am I" there (in a page Orca takes the keypad Enter for itself, unechoed); what the
// braille line shows before a button, whether it keeps runs of blanks (a browser folds
// them in a name), and whether it shows an empty entry's name twice.
struct OrcaTarget {
    const char* name;
    const char* opened;
    std::vector<std::string> answerFocus, nextFocus, whereAmI;
    const char* brailleFrame;
    bool brailleKeepsBlanks, emptyEntryNamedTwice;
    QStringList (*command)(const QString& home);
    friend void PrintTo(const OrcaTarget& target, std::ostream* out) { *out << target.name; }
};

const OrcaTarget orcaTargets[] = {
    {"Desktop", "Start push button.", {"space", "? Your answer text."}, {"space", "{} Next push button."},
     {"return", "{} Next push button."}, "Dravlet application Dravlet Problem Practice Version 2.1 frame ", true, false,
     [](const QString&) { return QStringList{DRAVLET_EXECUTABLE}; }},
    {"FirefoxEsr", "Finished loading Dravlet Problem Practice Version 2.1.", {"space", "? Your answer entry."},
     {"space", "{} Next push button."}, {"{} Next push button."}, "", false, false, [](const QString& home) {
         const QString profile = home + "/firefox";
         QDir().mkpath(profile);
         QFile prefs(profile + "/user.js");
         if (prefs.open(QIODevice::WriteOnly)) {
             for (const char* pref : {"browser.shell.checkDefaultBrowser\", false", "browser.aboutwelcome.enabled\", false",
                                      "browser.startup.homepage_override.mstone\", \"ignore\"",
                                      "startup.homepage_welcome_url\", \"\"", "startup.homepage_welcome_url.additional\", \"\"",
                                      "browser.startup.page\", 0", "browser.startup.homepage\", \"about:blank\"",
                                      "browser.newtabpage.enabled\", false", "datareporting.policy.firstRunURL\", \"\"",
                                      "datareporting.policy.dataSubmissionEnabled\", false",
                                      "toolkit.telemetry.reportingpolicy.firstRun\", false",
                                      "app.update.disabledForTesting\", true"}) {
                 prefs.write(QString("user_pref(\"%1);\n").arg(pref).toUtf8());
             }
         }
         return QStringList{"firefox-esr", "--kiosk", "--no-remote", "--profile", profile,
                            QUrl::fromLocalFile(DRAVLET_PAGE).toString()};
     }},
    {"Chromium", "Finished loading Dravlet Problem Practice Version 2.1.", {"space", "? Your answer entry."},
     {"space", "{} Next push button."}, {"{} Next push button."}, "", false, false, [](const QString& home) {
         return QStringList{"chromium", "--kiosk", "--no-sandbox", "--no-first-run", "--disable-gpu",
                            "--user-data-dir=" + home + "/chromium", QUrl::fromLocalFile(DRAVLET_PAGE).toString()};
     }},
    {"MiniBrowser", "Dravlet Problem Practice Version 2.1|Start push button.", {"space", "? Your answer entry."},
     {"space", "{} Next push button."}, {"{} Next push button."}, "", false, true, [](const QString&) {
         return QStringList{"/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser", QUrl::fromLocalFile(DRAVLET_PAGE).toString()};
     }},
};

class Orca : public ::testing::TestWithParam<OrcaTarget> {};

// As a blind learner meets the drill: the drill played with real key presses, and what
// Orca says and shows on a braille display at each step.
TEST_P(Orca, SpeaksAndBraillesTheProblemTheVerdictAndBothCountsAtEveryStep)
{
    if (std::string_view(GetParam().name) != "Desktop" && !QFileInfo::exists(DRAVLET_PAGE)) {
        GTEST_SKIP() << "the page is not built: cmake --preset web && cmake --build --preset web";
    }
    XServer& x = sharedDisplay();
    OrcaSession& orca = orcaSession();
    ASSERT_EQ(orca.failure, "") << orca.logs();
    ReaderLog& speech = *orca.speech;
    ReaderLog braille = ReaderLog::braille(orca.home.path() + "/orca.log");
    QTemporaryDir scratch;
    const QStringList command = GetParam().command(scratch.path());
    QProcess program;
    program.setProcessEnvironment(orca.env);
    program.start(command.first(), command.mid(1));
    // The window a learner opens is the active one, as a launcher or a click makes it (openbox
    // may leave the focus nowhere when a window maps as the one before it goes, still there).
    // Each window openbox manages is read on its own: xdotool's search dies on any that goes.
    bool active = false;
    for (const QDeadlineTimer deadline(30000); !active && !deadline.hasExpired(); QThread::msleep(50)) {
        const QString clients = x.run("xprop", {"-root", "_NET_CLIENT_LIST"}).value_or("").section('#', 1);
        for (const QString& id : clients.split(',', Qt::SkipEmptyParts)) {
            const QString props = x.run("xprop", {"-id", id.trimmed(), "_NET_WM_PID", "_NET_WM_NAME"}).value_or("");
            active = active || (props.contains(QString("= %1\n").arg(program.processId())) && props.contains("= \"" + title)
                                && x.run("xdotool", {"windowactivate", "--sync", id.trimmed()}));
        }
    }
    ASSERT_TRUE(active) << "no window of " << GetParam().name << " titled " << title.toStdString() << " could be made active";
    // What it says as it opens, until it has said it is open and then nothing for 3 s
    // (Chromium may say again that the page has loaded, more than a second later).
    std::vector<std::string> opening;
    const auto saidOpened = [&opening] {
        return std::ranges::any_of(QString(GetParam().opened).split('|'),
                                   [&opening](const QString& said) { return timesSaid(opening, said.toStdString()) > 0; });
    };
    for (const QDeadlineTimer deadline(30000); !deadline.hasExpired();) {
        const bool opened = saidOpened();
        const std::vector<std::string> said = speech.next(opened ? 3000 : 20000);
        if (said.empty() && opened) {
            break;
        }
        opening.insert(opening.end(), said.begin(), said.end());
    }
    ASSERT_TRUE(saidOpened()) << orca.logs() << "/orca.log";
    // Keys pressed, then what Orca must say, all of it in this order: the key's echo, then
    // the focus with what the step shows (the verdict and counts for "{}"); and the braille
    // line it shows last, blank for blank. Returns the problem said.
    const auto step = [&](const QStringList& keys, std::vector<std::string> expected, std::string line,
                          const std::string& review = {}) {
        const auto fill = [](std::string& text, const std::string& with) {
            if (const std::size_t at = text.find("{}"); at != std::string::npos) {
                text.replace(at, 2, with);
            }
        };
        EXPECT_TRUE(x.run("xdotool", QStringList{"key"} + keys));
        std::vector<std::string> said = speech.next(20000, expected.size());
        // In a page Orca says when it goes from reading to typing and back, as on every page.
        std::erase_if(said, [](const std::string& s) { return s == "Focus mode" || s == "Browse mode"; });
        std::string problem;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            fill(expected[i], QString::fromStdString(review).simplified().toStdString());
            if (const std::string p = i < said.size() ? problemIn(said[i], expected[i]) : ""; !p.empty()) {
                expected[i] = said[i];
                problem = p;
            }
        }
        EXPECT_EQ(said, expected) << orca.logs() << "/orca.log";
        std::vector<std::string> lines = braille.next();
        // Orca flashes its mode changes on the display for a moment, then shows the line again.
        std::erase_if(lines, [](const std::string& s) { return s == "Focus mode" || s == "Browse mode"; });
        const auto blanks = [](const std::string& text) {
            return GetParam().brailleKeepsBlanks ? text : QString::fromStdString(text).simplified().toStdString();
        };
        std::string shown = lines.empty() ? "" : blanks(lines.back());
        fill(line, review);
        line = blanks(line);
        // WebKitGTK gives an empty entry its name as its text too: the line holds the name twice.
        if (GetParam().emptyEntryNamedTwice && line.starts_with('?')) {
            const std::size_t second = shown.find(" Your answer ") + 13;
            EXPECT_EQ(shown.substr(0, second), shown.substr(second, second)) << "braille: " << shown;
            shown.erase(0, std::min(second, shown.size()));
        }
        const std::string brailled = QString::fromStdString(problemIn(shown, line)).simplified().toStdString();
        EXPECT_EQ(line.starts_with('?') ? brailled : shown, line.starts_with('?') ? problem : line) << "braille: " << shown;
        return problem;
    };
    const auto type = [&](long number) {
        EXPECT_TRUE(x.run("xdotool", {"type", "--delay", "50", QString::number(number)}));
        speech.next();
    };
    const std::string frame = GetParam().brailleFrame;
    const std::string answerLine = "? Your answer  $l";
    const std::string nextLine = frame + "{} Next push button";

    const std::string first = step({"space"}, GetParam().answerFocus, answerLine);  // Start
    type(readProblem(first).answer);
    step({"Tab"}, {"tab", "Submit push button."}, frame + "Submit push button");
    step({"space"}, GetParam().nextFocus, nextLine, "CORRECT. Right answers 1, wrong answers 0.");
    const std::string second = step({"space"}, GetParam().answerFocus, answerLine);  // Next
    EXPECT_NE(second, first) << "the problem before was spoken as new";

    const ShownProblem p = readProblem(second);
    type(p.answer + 1);
    step({"Tab"}, {"tab", "Submit push button."}, frame + "Submit push button");
    const std::string wrong = expectedVerdict(p, std::to_string(p.answer + 1)) + ". Right answers 1, wrong answers 1.";
    step({"space"}, GetParam().nextFocus, nextLine, wrong);
    step({"KP_Enter"}, GetParam().whereAmI, nextLine, wrong);
    step({"Tab"}, {"tab", "Quit push button."}, frame + "Quit push button");
    EXPECT_TRUE(x.run("xdotool", {"key", "space"}));
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Target, Orca, ::testing::ValuesIn(orcaTargets),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace dravlet::testing
