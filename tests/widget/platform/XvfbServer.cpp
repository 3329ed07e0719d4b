#include "XvfbServer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>

namespace {

bool HasProgram(const char* name) {
    const char* path = std::getenv("PATH");
    std::string rest = path != nullptr ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= rest.size()) {
        const size_t end = rest.find(':', start);
        const std::string dir = rest.substr(start, end == std::string::npos ? end : end - start);
        if (!dir.empty() && access((dir + "/" + name).c_str(), X_OK) == 0) {
            return true;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

namespace {

// The pid in the server's lock file, -1 when there is none yet.
pid_t LockOwner(int display) {
    std::ifstream lock("/tmp/.X" + std::to_string(display) + "-lock");
    long pid = -1;
    lock >> pid;
    return lock ? static_cast<pid_t>(pid) : -1;
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

}  // namespace

bool XvfbServer::Start() {
    if (!HasProgram("Xvfb")) {
        return false;
    }
    std::mt19937 random(
        static_cast<unsigned>(getpid()) ^
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> numbers(200, 899);
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int display = numbers(random);
        const std::string name = ":" + std::to_string(display);
        if (Exists("/tmp/.X" + std::to_string(display) + "-lock") ||
            Exists("/tmp/.X11-unix/X" + std::to_string(display))) {
            continue;
        }
        const pid_t pid = fork();
        if (pid < 0) {
            return false;
        }
        if (pid == 0) {
            const int devnull = open("/dev/null", O_RDWR);
            dup2(devnull, STDOUT_FILENO);
            dup2(devnull, STDERR_FILENO);
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        // -noreset: a server resetting after the readiness probe disconnected would refuse the
        // test's own connection. Ready when its lock file names it (another server may have started
        // on the same number at the same moment) and it accepts a connection.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (waitpid(pid, nullptr, WNOHANG) == pid) {
                break;  // the number was taken after all
            }
            if (LockOwner(display) == pid) {
                xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
                const bool up = xcb_connection_has_error(connection) == 0;
                xcb_disconnect(connection);
                if (up) {
                    m_pid = pid;
                    m_display = name;
                    return true;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    return false;
}

XvfbServer::~XvfbServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
}
