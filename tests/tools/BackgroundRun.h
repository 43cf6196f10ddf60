// A real run of a built program in the background, to be stopped by a
// signal at a moment the test chooses.
#pragma once

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace mosaiko::test {

// A real run started in the background; standard input comes from a pipe
// that stays open until the run ends, standard output and error go nowhere.
class BackgroundRun {
public:
    BackgroundRun(const std::string& program, std::vector<std::string> args) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[0], 0);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(fds[0]);
        input_ = fds[1];
    }
    ~BackgroundRun() {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            Wait();
        }
        if (input_ >= 0) ::close(input_);
    }
    pid_t Pid() const { return pid_; }
    // The raw wait status after SIGTERM.
    int Terminate() { return Stop(SIGTERM); }
    // The raw wait status after `sig`.
    int Stop(int sig) {
        ::kill(pid_, sig);
        return Wait();
    }

private:
    int Wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        waited_ = true;
        return status;
    }
    pid_t pid_ = -1;
    int input_ = -1;
    bool waited_ = false;
};

// Waits up to a minute for `condition`.
template <typename Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 600; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

}  // namespace mosaiko::test
