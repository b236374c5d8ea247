#pragma once
#include <QByteArray>
#include <QProcess>
#include <QSize>
#include <QTemporaryDir>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>
#include <sys/types.h>

// A private X server for one group of tests; it dies with the test program.
class XServer
{
public:
    explicit XServer(const QString &screen = QStringLiteral("1280x1024x24"));
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    bool started() const { return !display_.isEmpty(); }
    // Starts a window manager that puts frames round windows; true once it manages the screen.
    // An openbox configuration file, when given, sets how it places new windows.
    bool startWindowManager(const QString &configFile = {});
    QString display() const { return display_; }

    // Runs an X client (xdotool, xclip) to completion and gives back what it printed.
    QString run(const QString &program, const QStringList &args, const QByteArray &input = {}) const;
    // The same, with its output exactly as printed.
    QString output(const QString &program, const QStringList &args, const QByteArray &input = {}) const;
    // Real keyboard input to whichever window has the focus.
    void key(const QString &keys) const;
    void type(const QString &text) const;

    // Visible windows whose name matches the regular expression.
    QStringList windows(const QString &nameRegex) const;
    // Visible windows of a program, popup menus included (they carry no WM_NAME).
    QStringList windowsOfClass(const QString &classRegex) const;
    QString windowName(const QString &window) const;
    QSize windowSize(const QString &window) const;
    QString focusedWindow() const;
    // Asks a window to close, as its close box does.
    bool requestClose(const QString &window) const;

    // Another program's text on the CLIPBOARD selection; it keeps serving until the server ends.
    bool offerClipboardText(const QString &text);
    QString clipboardText() const;

    QProcessEnvironment environment() const;

private:
    pid_t xvfb_ = -1;
    pid_t windowManager_ = -1;
    QString display_;
    std::vector<std::unique_ptr<QProcess>> helpers_;
};

// Velmo running on an XServer; killed when this goes away, whatever happened in between.
// Its application data goes to a folder of its own unless XDG_DATA_HOME is given, so no run
// touches the real user's files or meets another run's recovery copies.
class VelmoProcess
{
public:
    VelmoProcess(const XServer &x, const QString &binary, const QStringList &extraEnvironment = {},
                 const QStringList &arguments = {});
    ~VelmoProcess();

    // The main window's id, once it is mapped; empty after the timeout.
    QString waitForMainWindow(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    bool waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    bool running() const { return process_.state() != QProcess::NotRunning; }
    int exitCode() const { return process_.exitCode(); }
    QByteArray errors() { return process_.readAllStandardError(); }

private:
    const XServer &x_;
    QTemporaryDir dataHome_;
    QProcess process_;
};

// Polls `ready` until it holds or the time is up.
bool waitUntil(const std::function<bool()> &ready, std::chrono::milliseconds timeout = std::chrono::seconds(5));
