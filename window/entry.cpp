#include "window/entry.h"

#include <QApplication>
#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

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

}  // namespace

int runProgram()
{
    // The program has no command line: the toolkit sees only the program's name.
    static char programName[] = "dravlet";
    static char* arguments[] = {programName, nullptr};
    int argumentCount = 1;

    const auto app = connectToDisplay(argumentCount, arguments);
    QApplication::setApplicationName(QString::fromLatin1(productName));
    QApplication::setApplicationVersion(QString::fromLatin1(versionText));
    appearance::installFontSubstitutes();

    DravletWindow window;
    MersenneRandom random;
    const SystemClock clock;
    cmdDravlet form(window, window, random, clock);
    window.deliverClicksTo(form);
    window.show();
    return QApplication::exec();
}

}  // namespace dravlet
