#include "tests/support/ChildProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {

// "nobody", whom a child running for root becomes.
constexpr uid_t kOrdinaryUser = 65534;
constexpr gid_t kOrdinaryGroup = 65534;

}  // namespace

int RunInChild(const std::function<int()>& body, bool asOrdinaryUser) {
    const pid_t child = fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        if (asOrdinaryUser && geteuid() == 0 &&
            (setgid(kOrdinaryGroup) != 0 || setuid(kOrdinaryUser) != 0)) {
            _exit(120);
        }
        _exit(body());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

void GiveToOrdinaryUser(const std::string& path) {
    if (geteuid() == 0 && chown(path.c_str(), kOrdinaryUser, kOrdinaryGroup) != 0) {
        std::perror(("chown " + path).c_str());
    }
}
