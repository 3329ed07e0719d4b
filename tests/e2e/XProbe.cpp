// termix-e2e-xprobe: small X queries for the end-to-end scripts that the X utilities do not offer.
//
//   termix-e2e-xprobe tray-owner
//       exit 0 when the system tray selection _NET_SYSTEM_TRAY_S0 has an owner, 1 otherwise
//   termix-e2e-xprobe time-to-window TITLE PROGRAM [ARGS...]
//       starts PROGRAM, waits (at most 30 s) until a top-level window it made, titled exactly
//       TITLE, is viewable, prints "<milliseconds> <pid>" and leaves the program running;
//       exit 1 when the program ended or the window did not appear
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int TrayOwner(Display* display) {
    const Atom selection = XInternAtom(display, "_NET_SYSTEM_TRAY_S0", False);
    return XGetSelectionOwner(display, selection) != None ? 0 : 1;
}

bool TitleIs(Display* display, Window window, const std::string& title, Atom netWmName, Atom utf8) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long rest = 0;
    unsigned char* data = nullptr;
    bool match = false;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                           &rest, &data) == Success &&
        type == utf8 && data != nullptr) {
        match = title == std::string(reinterpret_cast<char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return match;
}

bool ShownOnScreen(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;  // windows come and go while they are looked at
}

// Follows the X server's notifications instead of polling the window tree, so that the probe
// adds almost no work to the server while the program starts: every top-level window made
// after the start is watched (its title and mapping), and each map anywhere at the top level
// (a window manager's frame) looks at the watched windows with the title again.
class WindowWatch {
public:
    WindowWatch(Display* display, std::string title)
        : m_display(display),
          m_title(std::move(title)),
          m_netWmName(XInternAtom(display, "_NET_WM_NAME", False)),
          m_utf8(XInternAtom(display, "UTF8_STRING", False)) {
        XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
        XSync(display, False);
    }

    // Handles the events that have come; true once a window with the title is viewable.
    bool Update() {
        bool look = false;
        while (XPending(m_display) > 0) {
            XEvent event{};
            XNextEvent(m_display, &event);
            if (event.type == CreateNotify &&
                event.xcreatewindow.parent == DefaultRootWindow(m_display)) {
                const Window window = event.xcreatewindow.window;
                XSelectInput(m_display, window, StructureNotifyMask | PropertyChangeMask);
                if (TitleIs(m_display, window, m_title, m_netWmName, m_utf8)) {
                    m_titled.push_back(window);
                }
                look = true;
            } else if (event.type == PropertyNotify && event.xproperty.atom == m_netWmName &&
                       TitleIs(m_display, event.xproperty.window, m_title, m_netWmName, m_utf8)) {
                m_titled.push_back(event.xproperty.window);
                look = true;
            } else if (event.type == MapNotify) {
                look = true;
            }
        }
        if (look) {
            for (const Window window : m_titled) {
                if (ShownOnScreen(m_display, window)) {
                    return true;
                }
            }
        }
        return false;
    }

private:
    Display* m_display;
    std::string m_title;
    Atom m_netWmName;
    Atom m_utf8;
    std::vector<Window> m_titled;
};

int TimeToWindow(Display* display, const std::string& title, char** argv) {
    XSetErrorHandler(IgnoreErrors);
    WindowWatch watch(display, title);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        // The program's output goes to stderr: our stdout is read until its end by the caller.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execv(argv[0], argv);
        _exit(127);
    }
    if (pid < 0) {
        return 1;
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
        if (watch.Update()) {
            const auto elapsed =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            std::printf("%.1f %d\n", elapsed, static_cast<int>(pid));
            return 0;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "the program ended before its window appeared\n");
            return 1;
        }
        // Events read while looking at the windows already wait in Xlib's queue, not on the socket.
        if (XEventsQueued(display, QueuedAlready) == 0) {
            poll(&connection, 1, 20);  // the next event, or a look whether the program still runs
        }
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::fprintf(stderr, "no window titled \"%s\" appeared\n", title.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s tray-owner | time-to-window TITLE PROGRAM [ARGS...]\n",
                     argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    int result = 2;
    if (std::strcmp(argv[1], "tray-owner") == 0) {
        result = TrayOwner(display);
    } else if (std::strcmp(argv[1], "time-to-window") == 0 && argc >= 4) {
        result = TimeToWindow(display, argv[2], argv + 3);
    }
    XCloseDisplay(display);
    return result;
}
