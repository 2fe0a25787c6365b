#pragma once

#include <string>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace varnet::testing {

// An Xvfb server on a display it finds free itself, stopped on destruction:
// never the session's own display, the keys must not reach a real desktop.
class PrivateXServer {
public:
    ~PrivateXServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    // The display name (":97"), or empty when no server could be started.
    // Xvfb writes the display number to -displayfd once it accepts clients.
    // `screen` is Xvfb's WIDTHxHEIGHTxDEPTH.
    std::string start(const char* screen = "640x480x24")
    {
        const char* xvfb = "/usr/bin/Xvfb";
        int ready[2];
        if (access(xvfb, X_OK) != 0 || pipe(ready) != 0)
            return {};
        pid_ = fork();
        if (pid_ == 0) {
            // The server goes with this program, also when it is killed.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            const std::string fd = std::to_string(ready[1]);
            execl(xvfb, xvfb, "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", screen,
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        std::string display = ":";
        char c = 0;
        pollfd wait{ready[0], POLLIN, 0};
        while (pid_ > 0 && poll(&wait, 1, 10000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n')
            display += c;
        close(ready[0]);
        return c == '\n' ? display : std::string();
    }

private:
    pid_t pid_ = -1;
};

} // namespace varnet::testing
