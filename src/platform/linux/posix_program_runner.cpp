#include "platform/linux/posix_program_runner.h"

#include "failure/failure.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace qb {

ProgramStart PosixProgramRunner::start(const std::vector<std::string> &arguments) {
    if (arguments.empty())
        return {0, ENOENT};
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int error = ::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ);
    if (error != 0)
        return {0, error};
    return {static_cast<int>(child), 0};
}

std::optional<int> PosixProgramRunner::exitCode(int processId) {
    if (const auto known = ended_.find(processId); known != ended_.end())
        return known->second;
    // waitpid reads 0 and negative ids as "any child" or process groups.
    if (processId <= 0)
        throw Failure(error_number::invalidProcedureCall, "PosixProgramRunner",
                      "Invalid process id " + std::to_string(processId));
    int status = 0;
    pid_t reaped = 0;
    do {
        reaped = ::waitpid(static_cast<pid_t>(processId), &status, WNOHANG);
    } while (reaped < 0 && errno == EINTR);
    if (reaped < 0)
        throw Failure(error_number::objectErrorBase + errno, "PosixProgramRunner",
                      std::string(std::strerror(errno)) + ": process " + std::to_string(processId));
    if (reaped == 0)
        return std::nullopt;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    ended_[processId] = code;
    return code;
}

} // namespace qb
