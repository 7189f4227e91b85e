#include "startup/ScreenWatch.h"

#include <QFile>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// The benchmark's environment for the child: its display and temporary folder (so the
// single-copy lock of other runs on the machine is not met), no forced platform.
std::vector<std::string> childEnvironment(const QString& display, const QString& tempFolder) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("TMPDIR=", 0) == 0 ||
            entry.rfind("QT_QPA_PLATFORM=", 0) == 0 || entry.rfind("WAYLAND_DISPLAY=", 0) == 0 ||
            entry.rfind("XDG_RUNTIME_DIR=", 0) == 0) {
            continue;
        }
        env.push_back(entry);
    }
    env.push_back("DISPLAY=" + display.toStdString());
    env.push_back("TMPDIR=" + tempFolder.toStdString());
    env.push_back("XDG_RUNTIME_DIR=" + tempFolder.toStdString());
    return env;
}

pid_t spawn(const QString& program, const QString& workingFolder,
            const std::vector<std::string>& env) {
    const pid_t pid = fork();
    if (pid != 0) {
        return pid;
    }
    std::vector<char*> envp;
    for (const std::string& e : env) {
        envp.push_back(const_cast<char*>(e.c_str()));
    }
    envp.push_back(nullptr);
    const std::string path = program.toStdString();
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    if (chdir(workingFolder.toLocal8Bit().constData()) != 0) {
        _exit(126);
    }
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    execve(path.c_str(), argv, envp.data());
    _exit(127);
}

long residentKbOf(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

// Fields 14 and 15 of /proc/PID/stat (after the command's closing parenthesis).
double cpuSecondsOf(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) {
        return 0;
    }
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (fields[11].toDouble() + fields[12].toDouble()) / ticks;
}

void endChild(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            return;
        }
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

void largestWindow(Display* x, StartMeasure& m) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count)) {
        return;
    }
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(x, children[i], &a) && a.map_state == IsViewable &&
            a.width * a.height > m.largestWindowWidth * m.largestWindowHeight) {
            m.largestWindowWidth = a.width;
            m.largestWindowHeight = a.height;
        }
    }
    XFree(children);
}

void drainDamage(Display* x, Damage damage, int damageEvent, int quietMs) {
    Clock::time_point last = Clock::now();
    while (Clock::now() - last < std::chrono::milliseconds(quietMs)) {
        while (XPending(x) > 0) {
            XEvent event;
            XNextEvent(x, &event);
            if (event.type == damageEvent + XDamageNotify) {
                XDamageSubtract(x, damage, None, None);
                last = Clock::now();
            }
        }
        pollfd fd{ConnectionNumber(x), POLLIN, 0};
        poll(&fd, 1, 10);
    }
}

} // namespace

VirtualScreen::VirtualScreen(int width, int height) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return;
    }
    server_ = fork();
    if (server_ == 0) {
        close(pipeFds[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        const std::string fd = std::to_string(pipeFds[1]);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", "-br", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    // The server writes the number and then a newline, in two writes: the pipe is read to
    // the newline, or closing it early would make the second write fail and end the server.
    std::string number;
    char c = 0;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    close(pipeFds[0]);
    if (!number.empty()) {
        display_ = std::atoi(number.c_str());
    }
}

VirtualScreen::~VirtualScreen() {
    if (server_ > 0) {
        endChild(server_);
    }
}

StartMeasure measureStart(const QString& display, const QString& program,
                          const QString& workingFolder, const QString& tempFolder, int settleMs,
                          int timeoutMs) {
    StartMeasure m;
    Display* x = XOpenDisplay(display.toLocal8Bit().constData());
    int damageEvent = 0;
    int damageError = 0;
    if (!x || !XDamageQueryExtension(x, &damageEvent, &damageError)) {
        m.failure = QStringLiteral("no X display with the damage extension at ") + display;
        if (x) {
            XCloseDisplay(x);
        }
        return m;
    }
    // Damage on the root window takes in everything drawn on the screen.
    const Damage damage = XDamageCreate(x, DefaultRootWindow(x), XDamageReportNonEmpty);
    XSync(x, False);
    // What the previous program's closing left to redraw is not this start's.
    drainDamage(x, damage, damageEvent, 200);

    const std::vector<std::string> env = childEnvironment(display, tempFolder);
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn(program, workingFolder, env);
    Clock::time_point firstChange{};
    Clock::time_point lastChange{};
    bool changed = false;
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (changed && now - lastChange >= std::chrono::milliseconds(settleMs)) {
            // Still, and a window fills most of the screen: not the splash, nor a screen
            // waiting for the program's first window.
            StartMeasure window;
            largestWindow(x, window);
            if (window.largestWindowWidth * window.largestWindowHeight * 2 >
                DisplayWidth(x, DefaultScreen(x)) * DisplayHeight(x, DefaultScreen(x))) {
                break;
            }
        }
        if (now - start > std::chrono::milliseconds(timeoutMs)) {
            m.failure = QStringLiteral("the screen did not settle");
            break;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            m.failure = QStringLiteral("the program ended before its screen settled");
            XDamageDestroy(x, damage);
            XCloseDisplay(x);
            return m;
        }
        pollfd fd{ConnectionNumber(x), POLLIN, 0};
        if (XPending(x) == 0) {
            poll(&fd, 1, 20);
        }
        while (XPending(x) > 0) {
            XEvent event;
            XNextEvent(x, &event);
            if (event.type == damageEvent + XDamageNotify) {
                lastChange = Clock::now();
                if (!changed) {
                    firstChange = lastChange;
                    changed = true;
                }
                XDamageSubtract(x, damage, None, None);
            }
        }
    }
    if (m.failure.isEmpty()) {
        m.ok = true;
        m.stillSeconds = secondsBetween(start, lastChange);
        m.firstSeconds = secondsBetween(start, firstChange);
        m.residentKb = residentKbOf(pid);
        m.cpuSeconds = cpuSecondsOf(pid);
        largestWindow(x, m);
    }
    endChild(pid);
    XDamageDestroy(x, damage);
    XCloseDisplay(x);
    return m;
}
