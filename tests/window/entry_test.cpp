// SPDX-License-Identifier: MIT
// The program as a whole, started as a learner's desktop would start it, where it
// cannot open its window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace dravlet {
namespace {

struct FailureRow {
    const char* name;
    const char* environment;  // NAME=VALUE;... set for the program; DISPLAY, WAYLAND_DISPLAY
                              // and QT_QPA_PLATFORM are unset unless named
    bool withoutWaylandPlugin;
    const char* says;  // the program's last line, whole
};

// The program, on its own or copied beside a qt.conf that hides Qt's Wayland plugin, as
// on a desktop where qt6-wayland is not installed.
QString program(bool withoutWaylandPlugin, const QTemporaryDir& dir)
{
    if (!withoutWaylandPlugin) {
        return DRAVLET_EXECUTABLE;
    }
    const QString copy = dir.filePath("dravlet");
    QDir(dir.path()).mkpath("plugins/platforms");
    QFile::copy(DRAVLET_EXECUTABLE, copy);
    QFile::link(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqxcb.so",
                dir.filePath("plugins/platforms/libqxcb.so"));
    QFile conf(dir.filePath("qt.conf"));
    conf.open(QIODevice::WriteOnly);
    conf.write("[Paths]\nPlugins=" + dir.filePath("plugins").toUtf8() + "\n");
    return copy;
}

const char* const noXDisplay = "Dravlet needs a graphical display: cannot connect to the X display \":9876\" (DISPLAY); "
                                "check that it is running and that you may use it.";

class StartFailure : public ::testing::TestWithParam<FailureRow> {};

TEST_P(StartFailure, SaysWhatIsMissingInOneLineAndExitsWithStatusTwo)
{
    const FailureRow& row = GetParam();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_DEBUG_PLUGINS", "QT_LOGGING_RULES"}) {
        env.remove(name);
    }
    for (const QString& setting : QString(row.environment).split(';', Qt::SkipEmptyParts)) {
        env.insert(setting.section('=', 0, 0), setting.section('=', 1, -1));
    }
    const QTemporaryDir dir;
    env.insert("XDG_RUNTIME_DIR", dir.path());  // as on every desktop
    QProcess started;
    started.setProcessEnvironment(env);
    started.start(program(row.withoutWaylandPlugin, dir), {});
    ASSERT_TRUE(started.waitForFinished(20000));
    const QStringList lines = QString::fromLocal8Bit(started.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    SCOPED_TRACE(lines.join('\n').toStdString());
    EXPECT_EQ(started.exitStatus(), QProcess::NormalExit) << "no abort, no core dump";
    EXPECT_EQ(started.exitCode(), 2);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last().toStdString(), row.says);
    const bool diagnosticsAsked = env.contains("QT_DEBUG_PLUGINS") || env.contains("QT_LOGGING_RULES");
    EXPECT_EQ(lines.size() > 1, diagnosticsAsked) << "one line, unless the toolkit's messages were asked for";
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartFailure,
    ::testing::Values(
        FailureRow{"NoDisplayNamed", "", false, "Dravlet needs a graphical display: neither DISPLAY nor WAYLAND_DISPLAY is set; start Dravlet from a desktop session."},
        FailureRow{"XDisplayUnreachable", "DISPLAY=:9876", false, noXDisplay},
        FailureRow{"WaylandDisplayUnreachable", "WAYLAND_DISPLAY=dravlet-none", false,
                   "Dravlet needs a graphical display: cannot connect to the Wayland display \"dravlet-none\" (WAYLAND_DISPLAY); check that it is running and that you may use it."},
        FailureRow{"OnlyWaylandAndNoWaylandPlugin", "WAYLAND_DISPLAY=wayland-0", true,
                   "Dravlet cannot open its window on Wayland: Qt's Wayland platform plugin is not installed; install the Debian package qt6-wayland."},
        FailureRow{"PlatformNotInstalled", "QT_QPA_PLATFORM=no-such-platform;DISPLAY=:9876", false,
                   "Dravlet cannot open its window: QT_QPA_PLATFORM names the platform \"no-such-platform\", which is not installed; unset QT_QPA_PLATFORM to use the desktop's own."},
        FailureRow{"PluginDiagnosticsPassThrough", "QT_DEBUG_PLUGINS=1;DISPLAY=:9876", false,
                   noXDisplay},
        FailureRow{"LoggingRulesPassThrough", "QT_LOGGING_RULES=qt.qpa.*=true;DISPLAY=:9876", false,
                   noXDisplay}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace dravlet
