// SPDX-License-Identifier: MIT
#include "tests/support/xserver.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

namespace dravlet::testing {

namespace {

// The first line a starting process writes, or nothing within ten seconds.
QByteArray firstLine(QProcess& process)
{
    QByteArray out;
    const QDeadlineTimer deadline(10000);
    while (!out.contains('\n') && !deadline.hasExpired()) {
        process.waitForReadyRead(200);
        out += process.readAllStandardOutput();
    }
    return out.contains('\n') ? out.left(out.indexOf('\n')).trimmed() : QByteArray();
}

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

}  // namespace

XServer::XServer()
{
    // -displayfd 1: Xvfb picks a free display and writes its number to our pipe.
    m_xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1920x1080x24", "-nolisten", "tcp",
                          "-noreset"});
    if (!m_xvfb.waitForStarted(5000)) {
        return;
    }
    const QByteArray number = firstLine(m_xvfb);
    if (!number.isEmpty()) {
        m_display = ":" + QString::fromLatin1(number);
    }
}

XServer::~XServer()
{
    while (!m_clients.empty()) {
        stop(*m_clients.back());
        m_clients.pop_back();
    }
    stop(m_bus);
    stop(m_xvfb);
}

bool XServer::startSessionBus()
{
    if (!m_busAddress.isEmpty()) {
        return true;
    }
    QProcessEnvironment env = environment();
    env.insert("XDG_RUNTIME_DIR", m_runtimeDir.path());
    m_bus.setProcessEnvironment(env);
    m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (!m_bus.waitForStarted(5000)) {
        return false;
    }
    m_busAddress = QString::fromLatin1(firstLine(m_bus));
    return !m_busAddress.isEmpty();
}

bool XServer::startClient(const QString& program, const QStringList& arguments,
                          const QProcessEnvironment& env, const QString& readyFile)
{
    auto& client = *m_clients.emplace_back(std::make_unique<QProcess>());
    client.setProcessEnvironment(env);
    client.setStandardOutputFile(QProcess::nullDevice());
    client.setStandardErrorFile(QProcess::nullDevice());
    client.start(program, arguments);
    if (!client.waitForStarted(5000)) {
        return false;
    }
    for (const QDeadlineTimer deadline(10000); !readyFile.isEmpty() && !QFileInfo::exists(readyFile);) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", m_display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.remove("WAYLAND_DISPLAY");
    if (!m_busAddress.isEmpty()) {
        env.insert("DBUS_SESSION_BUS_ADDRESS", m_busAddress);
        env.insert("XDG_RUNTIME_DIR", m_runtimeDir.path());
    }
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
