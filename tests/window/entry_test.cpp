// The program as a whole, started as a learner's desktop would start it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace dravlet {
namespace {

TEST(Entry, WithoutADisplayPrintsOneClearLineAndExitsWithStatusTwo)
{
    for (const bool displaySet : {false, true}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("WAYLAND_DISPLAY");
        if (displaySet) {
            env.insert("DISPLAY", ":9876");  // nothing listens there
        } else {
            env.remove("DISPLAY");
        }
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(DRAVLET_EXECUTABLE, {});
        ASSERT_TRUE(program.waitForFinished(20000));
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        SCOPED_TRACE(err.toStdString());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "no abort, no core dump";
        EXPECT_EQ(program.exitCode(), 2);
        EXPECT_TRUE(err.startsWith("Dravlet needs a graphical display: "));
        EXPECT_EQ(err.count('\n'), 1) << "exactly one line";
    }
}

}  // namespace
}  // namespace dravlet
