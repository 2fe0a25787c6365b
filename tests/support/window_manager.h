#pragma once

#include <string>

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace varnet::testing {

// A window manager (openbox) on a private X server, stopped on destruction.
// Windows then minimize, restore and take the keyboard as on a desktop.
// Whether it runs is for the caller to ask of the server: it names itself
// on the root window (_NET_SUPPORTING_WM_CHECK) once it manages windows.
class WindowManager {
public:
    WindowManager() = default;
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;
    ~WindowManager()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    // false when it could not be started at all.
    bool start(const std::string& display)
    {
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            setenv("DISPLAY", display.c_str(), 1);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid_ > 0;
    }

private:
    pid_t pid_ = -1;
};

} // namespace varnet::testing
