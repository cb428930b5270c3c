#pragma once

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char **environ;

// A program of the build started on its own, for tests that signal it while it runs.
namespace qb::test {

/// A program running on its own, its error output going into a file.
class StartedProgram {
  public:
    StartedProgram(const std::string &program, const std::vector<std::string> &arguments,
                   const std::string &errors) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        std::vector<std::string> all{program};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char *> argv;
        for (std::string &argument : all)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        ::posix_spawn(&process_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
    }
    pid_t process() const { return process_; }
    bool running() {
        int status = 0;
        struct rusage usage {};
        if (exitCode_ < 0 && ::wait4(process_, &status, WNOHANG, &usage) == process_) {
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            peakKibibytes_ = usage.ru_maxrss;
        }
        return exitCode_ < 0;
    }
    /// The most memory the program held at once, in KiB (ru_maxrss), once it has ended.
    long peakKibibytes() const { return peakKibibytes_; }
    int wait() {
        while (running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return exitCode_;
    }
    /// Sends the signal while the program is held still, so that it cannot end in between;
    /// false when it had ended already. Until it is waited for, an ended program keeps its
    /// process id, so no other process can be hit.
    bool signal(int number) {
        if (!running())
            return false;
        ::kill(process_, SIGSTOP);
        ::kill(process_, number);
        ::kill(process_, SIGCONT);
        return true;
    }

  private:
    pid_t process_ = 0;
    int exitCode_ = -1;
    long peakKibibytes_ = 0;
};

} // namespace qb::test
