#include "tests/support/xserver.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

namespace dravlet::testing {

XServer::XServer()
{
    // -displayfd 1: Xvfb picks a free display and writes its number to our pipe.
    m_xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1920x1080x24", "-nolisten", "tcp",
                          "-noreset"});
    if (!m_xvfb.waitForStarted(5000)) {
        return;
    }
    QByteArray number;
    const QDeadlineTimer deadline(10000);
    while (!number.contains('\n') && !deadline.hasExpired()) {
        m_xvfb.waitForReadyRead(200);
        number += m_xvfb.readAllStandardOutput();
    }
    if (number.contains('\n')) {
        m_display = ":" + QString::fromLatin1(number.trimmed());
    }
}

XServer::~XServer()
{
    m_xvfb.terminate();
    if (!m_xvfb.waitForFinished(5000)) {
        m_xvfb.kill();
        m_xvfb.waitForFinished(5000);
    }
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", m_display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.remove("WAYLAND_DISPLAY");
    return env;
}

std::optional<QString> XServer::run(const QString& program, const QStringList& arguments,
                                    int timeoutMs) const
{
    QProcess client;
    client.setProcessEnvironment(environment());
    client.start(program, arguments);
    if (!client.waitForFinished(timeoutMs) || client.exitStatus() != QProcess::NormalExit
        || client.exitCode() != 0) {
        client.kill();
        client.waitForFinished(1000);
        return std::nullopt;
    }
    return QString::fromLocal8Bit(client.readAllStandardOutput());
}

unsigned long XServer::waitForWindow(const QString& title, int timeoutMs) const
{
    const QString pattern = "^" + QRegularExpression::escape(title) + "$";
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const auto found = run("xdotool", {"search", "--onlyvisible", "--name", pattern});
        if (found && !found->trimmed().isEmpty()) {
            return found->split('\n', Qt::SkipEmptyParts).constFirst().toULong();
        }
        QThread::msleep(50);
    }
    return 0;
}

QImage XServer::grab(const QString& xtool, unsigned long window) const
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shot.png");
    if (!run(xtool, {"shot", path, QString::number(window)})) {
        return {};
    }
    return QImage(path);
}

}  // namespace dravlet::testing
