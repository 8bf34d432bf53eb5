#include "window/entry.h"

#include <QApplication>
#include <QByteArray>

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

QByteArray firstToolkitWarning;

[[noreturn]] void reportNoDisplay(const QByteArray& why)
{
    QByteArray line = why.simplified();
    if (line.isEmpty()) {
        line = "no window system could be reached";
    }
    std::fprintf(stderr, "Dravlet needs a graphical display: %s\n", line.constData());
    std::fflush(stderr);
    _exit(noDisplayStatus);
}

// While the application connects to the window system, the toolkit's messages are held
// back and its fatal error becomes one clear line and a plain exit, instead of a page
// of advice and a core dump. The first warning says best what went wrong.
void startupMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        reportNoDisplay(firstToolkitWarning);
    }
    if ((type == QtWarningMsg || type == QtCriticalMsg) && firstToolkitWarning.isEmpty()) {
        firstToolkitWarning = message.toLocal8Bit();
    }
}

bool displayNamed()
{
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

std::unique_ptr<QApplication> connectToDisplay(int& argc, char** argv)
{
    if (!displayNamed()) {
        reportNoDisplay("neither DISPLAY nor WAYLAND_DISPLAY is set");
    }
    const QtMessageHandler toolkitHandler = qInstallMessageHandler(startupMessages);
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
