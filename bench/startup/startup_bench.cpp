// Time from process start to the first paint of its main window, for Velmo and for a minimal
// Qt Widgets program, measured alternately on the same X server in the same run.
// The first paint is the first X DAMAGE report on any top-level window the process creates.
// Usage: velmo_startup_bench [ROUNDS] (needs DISPLAY, e.g. under xvfb-run -a -s -noreset)
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Windows that cannot be watched (input-only ones) are simply skipped.
int ignoreXErrors(Display *, XErrorEvent *) { return 0; }

pid_t start(const char *program)
{
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        freopen("/dev/null", "w", stderr); // the figures are the only output
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

void drain(Display *d)
{
    XSync(d, False);
    while (XPending(d)) {
        XEvent e;
        XNextEvent(d, &e);
    }
}

// Milliseconds from fork to the first paint, or nothing after ten seconds.
std::optional<double> firstPaint(Display *d, int damageEvent, const char *program)
{
    drain(d);
    const Clock::time_point begin = Clock::now();
    const pid_t pid = start(program);
    std::vector<Damage> watched;
    std::optional<double> result;
    while (!result && Clock::now() - begin < std::chrono::seconds(10)) {
        if (!XPending(d)) {
            pollfd p{ConnectionNumber(d), POLLIN, 0};
            poll(&p, 1, 100);
            if (!XPending(d))
                continue;
        }
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == CreateNotify)
            watched.push_back(XDamageCreate(d, e.xcreatewindow.window, XDamageReportNonEmpty));
        else if (e.type == damageEvent + XDamageNotify)
            result = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
        XFlush(d);
    }
    stop(pid);
    for (Damage damage : watched)
        XDamageDestroy(d, damage);
    drain(d);
    return result;
}

struct Figures
{
    std::vector<double> samples;
    double median() const
    {
        std::vector<double> s = samples;
        std::sort(s.begin(), s.end());
        return s.empty() ? 0 : s[s.size() / 2];
    }
    double best() const { return samples.empty() ? 0 : *std::min_element(samples.begin(), samples.end()); }
};

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
    Display *d = XOpenDisplay(nullptr);
    if (!d) {
        std::fputs("velmo_startup_bench: no X display (run it under xvfb-run -a)\n", stderr);
        return 2;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(d, &damageEvent, &damageError)) {
        std::fputs("velmo_startup_bench: the X server has no DAMAGE extension\n", stderr);
        return 2;
    }
    XSetErrorHandler(ignoreXErrors);
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    const char *programs[] = {VELMO_BINARY, MINIMAL_BINARY};
    Figures figures[2];
    for (const char *program : programs) // warm the file and font caches alike
        firstPaint(d, damageEvent, program);
    for (int round = 0; round < rounds; ++round)
        for (int i = 0; i < 2; ++i)
            if (const auto ms = firstPaint(d, damageEvent, programs[i]))
                figures[i].samples.push_back(*ms);
            else
                std::fprintf(stderr, "no paint from %s within 10 s\n", programs[i]);
    XCloseDisplay(d);

    std::printf("start to first painted window, %d rounds, median (best):\n", rounds);
    std::printf("  velmo            %7.1f ms (%6.1f ms)\n", figures[0].median(), figures[0].best());
    std::printf("  minimal Qt app   %7.1f ms (%6.1f ms)\n", figures[1].median(), figures[1].best());
    const double ratio = figures[1].median() > 0 ? figures[0].median() / figures[1].median() : 0;
    std::printf("  ratio            %7.2f (goal <= 1.30)\n", ratio);
    return figures[0].samples.empty() || figures[1].samples.empty() ? 1 : 0;
}
