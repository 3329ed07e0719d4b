// termix-e2e-xprobe: small X queries for the end-to-end scripts that the X utilities do not offer.
//
//   termix-e2e-xprobe tray-owner
//       exit 0 when the system tray selection _NET_SYSTEM_TRAY_S0 has an owner, 1 otherwise
//   termix-e2e-xprobe time-to-window TITLE PROGRAM [ARGS...]
//       starts PROGRAM, waits (polling every 2 ms, at most 30 s) until a viewable window titled
//       exactly TITLE exists, prints "<milliseconds> <pid>" and leaves the program running;
//       exit 1 when the program ended or the window did not appear
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
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

// True when a viewable window with the title exists anywhere in the tree.
bool HasViewableWindow(Display* display, Window window, const std::string& title, Atom netWmName,
                       Atom utf8, int depth) {
    XWindowAttributes attributes{};
    if (depth > 0 && (XGetWindowAttributes(display, window, &attributes) == 0 ||
                      attributes.map_state != IsViewable)) {
        return false;
    }
    if (depth > 0 && TitleIs(display, window, title, netWmName, utf8)) {
        return true;
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    bool found = false;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        for (unsigned int i = 0; i < count && !found; ++i) {
            found = HasViewableWindow(display, children[i], title, netWmName, utf8, depth + 1);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;  // windows come and go while the tree is walked
}

int TimeToWindow(Display* display, const std::string& title, char** argv) {
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XSetErrorHandler(IgnoreErrors);
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
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
        if (HasViewableWindow(display, DefaultRootWindow(display), title, netWmName, utf8, 0)) {
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
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
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
