// SPDX-License-Identifier: MIT
#include "window/entry.h"

#include <QApplication>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <unistd.h>

#if DRAVLET_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include "engine/dravlet.h"
#include "runtime/clock.h"
#include "runtime/random.h"
#include "window/appearance.h"
#include "window/dravletwindow.h"
#include "window/version.h"

namespace dravlet {

namespace {

// What the toolkit said while connecting to the window system.
QStringList toolkitMessages;
QtMessageHandler toolkitHandler = nullptr;

[[noreturn]] void refuseToStart(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
    _exit(noDisplayStatus);
}

QString named(const char* variable)
{
    return qEnvironmentVariable(variable);
}

// One line that says what is missing and what to do, from what was asked for and what
// the toolkit said when it gave up.
QString whyNoWindow()
{
    static const QRegularExpression missingPlugin(QStringLiteral(R"re(Could not find the Qt platform plugin "([^"]*)")re"));
    for (const QString& message : std::as_const(toolkitMessages)) {
        const QString platform = missingPlugin.match(message).captured(1);
        if (platform.startsWith(QLatin1String("wayland"))) {
            return QStringLiteral("Dravlet cannot open its window on Wayland: Qt's Wayland platform plugin is "
                                  "not installed; install the Debian package qt6-wayland.");
        }
        if (!platform.isEmpty() && !named("QT_QPA_PLATFORM").isEmpty()) {
            return QStringLiteral("Dravlet cannot open its window: QT_QPA_PLATFORM names the platform \"%1\", "
                                  "which is not installed; unset QT_QPA_PLATFORM to use the desktop's own.")
                .arg(platform);
        }
    }
    QStringList displays;
    if (!named("WAYLAND_DISPLAY").isEmpty()) {
        displays << QStringLiteral("the Wayland display \"%1\" (WAYLAND_DISPLAY)").arg(named("WAYLAND_DISPLAY"));
    }
    if (!named("DISPLAY").isEmpty()) {
        displays << QStringLiteral("the X display \"%1\" (DISPLAY)").arg(named("DISPLAY"));
    }
    if (displays.isEmpty()) {
        return QStringLiteral("Dravlet cannot open its window: %1")
            .arg(toolkitMessages.value(0, QStringLiteral("no window system could be reached")).simplified());
    }
    return QStringLiteral("Dravlet needs a graphical display: cannot connect to %1; check that it is running "
                          "and that you may use it.")
        .arg(displays.join(QLatin1String(" nor to ")));
}

// While the application connects to the window system, the toolkit's messages are held
// back, and its fatal error becomes one clear line and a plain exit instead of a page of
// advice and a core dump. A user or packager who asked for the toolkit's diagnostics
// gets them as they come.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        refuseToStart(whyNoWindow());
    }
    toolkitMessages << message;
    if (qEnvironmentVariableIsSet("QT_DEBUG_PLUGINS") || qEnvironmentVariableIsSet("QT_LOGGING_RULES")) {
        toolkitHandler(type, context, message);
    }
}

bool displayNamed()
{
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!named(name).isEmpty()) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<QApplication> connectToDisplay(int& argc, char** argv)
{
    if (!displayNamed()) {
        refuseToStart(QStringLiteral("Dravlet needs a graphical display: neither DISPLAY nor WAYLAND_DISPLAY is "
                                     "set; start Dravlet from a desktop session."));
    }
    toolkitHandler = qInstallMessageHandler(startupMessages);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(toolkitHandler);
    return app;
}

void warmUpFontConfiguration()
{
#if DRAVLET_HAVE_FONTCONFIG
    FcInit();
#endif
}

}  // namespace

int runProgram()
{
    // The program has no command line: the toolkit sees only the program's name.
    static char programName[] = "dravlet";
    static char* arguments[] = {programName, nullptr};
    int argumentCount = 1;

    // Reading the font configuration takes milliseconds and does not need the display:
    // it runs on a second core while the application connects to the window system.
    std::thread fontConfiguration(warmUpFontConfiguration);
    const auto app = connectToDisplay(argumentCount, arguments);
    fontConfiguration.join();
    QApplication::setApplicationName(QString::fromLatin1(productName));
    QApplication::setApplicationVersion(QString::fromLatin1(versionText));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(desktopEntryName));
    appearance::installFontSubstitutes();
    // The window's font as the application's too, so no second face is loaded.
    QApplication::setFont(appearance::legacyFont(appearance::defaultPointSize));

    DravletWindow window;
    MersenneRandom random;
    const SystemClock clock;
    cmdDravlet form(window, window, random, clock);
    window.deliverClicksTo(form);
    window.show();
    return QApplication::exec();
}

}  // namespace dravlet
