#include "tests/gui/x_session.h"
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <X11/Xlib.h>
#include <csignal>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// Children die with the test program, so a crashed or timed-out test leaves nothing behind.
void dieWithParent()
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

void configureChild(QProcess &p, const QProcessEnvironment &env)
{
    p.setProcessEnvironment(env);
    p.setChildProcessModifier(dieWithParent);
}

// The display number Xvfb writes to `fd` once it accepts clients.
QString readDisplayNumber(int fd)
{
    QByteArray number;
    pollfd p{fd, POLLIN, 0};
    char c = 0;
    while (poll(&p, 1, 10000) == 1 && read(fd, &c, 1) == 1 && c != '\n')
        number.append(c);
    return number.isEmpty() ? QString() : QStringLiteral(":") + QString::fromLatin1(number);
}

// The manager announces itself before it is ready, and it drops a window mapped during its
// start: that window would never show. A probe window, mapped again until it gets a frame, tells
// when the manager really frames windows.
bool framesWindows(Display *d)
{
    const Window root = DefaultRootWindow(d);
    const Window probe = XCreateSimpleWindow(d, root, 0, 0, 40, 40, 0, 0, 0);
    auto nextMap = std::chrono::steady_clock::now();
    const bool framed = waitUntil(
        [&] {
            if (std::chrono::steady_clock::now() >= nextMap) {
                XMapWindow(d, probe);
                XSync(d, False);
                nextMap += 500ms;
            }
            Window foundRoot = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            if (XQueryTree(d, probe, &foundRoot, &parent, &children, &count) == 0)
                return false;
            XFree(children);
            return parent != root;
        },
        30s);
    XDestroyWindow(d, probe);
    XSync(d, False);
    return framed;
}

} // namespace

bool waitUntil(const std::function<bool()> &ready, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QThread::msleep(30);
    }
    return true;
}

XServer::XServer(const QString &screen)
{
    int fds[2];
    if (pipe(fds) != 0)
        return;
    const QByteArray fd = QByteArray::number(fds[1]);
    const QByteArray size = screen.toLatin1();
    xvfb_ = fork();
    if (xvfb_ == 0) {
        dieWithParent();
        close(fds[0]);
        // -noreset: between two tests every client has gone, and a server that resets then
        // refuses the next program's connection for a moment.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.constData(), "-screen", "0", size.constData(), "-nolisten", "tcp",
               "-noreset", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (xvfb_ > 0)
        display_ = readDisplayNumber(fds[0]);
    close(fds[0]);
}

bool XServer::startWindowManager(const QString &configFile)
{
    const QByteArray display = display_.toLatin1();
    const QByteArray config = QFile::encodeName(configFile);
    windowManager_ = fork();
    if (windowManager_ == 0) {
        dieWithParent();
        setenv("DISPLAY", display.constData(), 1);
        if (!config.isEmpty())
            execlp("openbox", "openbox", "--config-file", config.constData(), static_cast<char *>(nullptr));
        execlp("openbox", "openbox", static_cast<char *>(nullptr));
        _exit(127);
    }
    Display *d = XOpenDisplay(display.constData());
    if (!d)
        return false;
    // A manager that follows the desktop conventions announces itself on the root window.
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    const bool managed = waitUntil([&] {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, AnyPropertyType, &type, &format, &count,
                           &after, &data);
        XFree(data);
        return count > 0;
    }, 30s);
    const bool framing = managed && framesWindows(d);
    XCloseDisplay(d);
    return framing;
}

XServer::~XServer()
{
    if (windowManager_ > 0) {
        kill(windowManager_, SIGTERM);
        waitpid(windowManager_, nullptr, 0);
    }
    for (auto &helper : helpers_) {
        helper->kill();
        helper->waitForFinished(1000);
    }
    if (xvfb_ > 0) {
        kill(xvfb_, SIGTERM);
        waitpid(xvfb_, nullptr, 0);
    }
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

QString XServer::run(const QString &program, const QStringList &args, const QByteArray &input) const
{
    return output(program, args, input).trimmed();
}

QString XServer::output(const QString &program, const QStringList &args, const QByteArray &input) const
{
    QProcess p;
    configureChild(p, environment());
    p.start(program, args);
    if (!p.waitForStarted())
        return {};
    if (!input.isEmpty()) {
        p.write(input);
        p.waitForBytesWritten();
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(5000))
        p.kill();
    return QString::fromUtf8(p.readAllStandardOutput());
}

void XServer::key(const QString &keys) const
{
    run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20")}
                                       + keys.split(QLatin1Char(' ')));
}

void XServer::type(const QString &text) const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}

QStringList XServer::windows(const QString &nameRegex) const
{
    const QString found = run(QStringLiteral("xdotool"),
                              {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), nameRegex});
    return found.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList XServer::windowsOfClass(const QString &classRegex) const
{
    const QString found = run(QStringLiteral("xdotool"),
                              {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"), classRegex});
    return found.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString XServer::windowName(const QString &window) const
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
}

QSize XServer::windowSize(const QString &window) const
{
    const QString shell = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    const auto field = [&](const char *name) {
        const auto m = QRegularExpression(QStringLiteral("%1=(\\d+)").arg(QLatin1String(name))).match(shell);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    return {field("WIDTH"), field("HEIGHT")};
}

QString XServer::focusedWindow() const
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")});
}

bool XServer::requestClose(const QString &window) const
{
    Display *d = XOpenDisplay(display_.toLatin1().constData());
    if (!d)
        return false;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window.toULong();
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(d, e.xclient.window, False, NoEventMask, &e) != 0;
    XCloseDisplay(d);
    return sent;
}

bool XServer::offerClipboardText(const QString &text)
{
    auto p = std::make_unique<QProcess>();
    configureChild(*p, environment());
    p->start(QStringLiteral("xclip"), {QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
    p->waitForStarted();
    p->write(text.toUtf8());
    p->waitForBytesWritten();
    p->closeWriteChannel();
    p->waitForBytesWritten();
    helpers_.push_back(std::move(p));
    return waitUntil([&] { return clipboardText() == text; });
}

QString XServer::clipboardText() const
{
    return output(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
}

VelmoProcess::VelmoProcess(const XServer &x, const QString &binary, const QStringList &extraEnvironment,
                           const QStringList &arguments)
    : x_(x)
{
    QProcessEnvironment env = x.environment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome_.path());
    for (const QString &pair : extraEnvironment)
        env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    configureChild(process_, env);
    process_.start(binary, arguments);
    process_.waitForStarted();
}

VelmoProcess::~VelmoProcess()
{
    if (running()) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

QString VelmoProcess::waitForMainWindow(std::chrono::milliseconds timeout)
{
    QString window;
    waitUntil(
        [&] {
            const QStringList found = x_.windows(QStringLiteral("^Velmo$"));
            window = found.isEmpty() ? QString() : found.first();
            return !window.isEmpty() || !running();
        },
        timeout);
    return window;
}

bool VelmoProcess::waitForExit(std::chrono::milliseconds timeout)
{
    return waitUntil([&] { return !running() || process_.waitForFinished(10); }, timeout);
}
