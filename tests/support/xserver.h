// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

namespace dravlet::testing {

// A private Xvfb, on the first free display number, and on demand a private session bus,
// both gone with the object.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool running() const { return !m_display.isEmpty(); }
    // ":N", for DISPLAY.
    const QString& display() const { return m_display; }
    // The environment of a client on this display (and bus, once started).
    QProcessEnvironment environment() const;
    // Starts a private session bus, where the accessibility bus is found, with its own
    // runtime folder; false when it cannot start.
    bool startSessionBus();
    // Starts a client that runs until the server goes (a window manager, a screen
    // reader, a compositor); with readyFile, waits until the client has made that file
    // (its socket). False when it does not start or does not get ready.
    bool startClient(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
                     const QString& readyFile = {});

    // Runs an X client program to its end; its standard output, or nothing on failure.
    std::optional<QString> run(const QString& program, const QStringList& arguments,
                               int timeoutMs = 10000) const;
    // Waits for a top-level window with exactly this title; its id, or 0.
    unsigned long waitForWindow(const QString& title, int timeoutMs = 15000) const;
    // A screenshot of the window, taken with the project's X helper program.
    QImage grab(const QString& xtool, unsigned long window) const;

private:
    std::vector<std::unique_ptr<QProcess>> m_clients;
    QProcess m_xvfb;
    QString m_display;
    QProcess m_bus;
    QString m_busAddress;
    QTemporaryDir m_runtimeDir;
};

}  // namespace dravlet::testing
