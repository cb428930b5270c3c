#include "platform/linux/proc_processes.h"

#include "platform/failure.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sys/types.h>

namespace qb {
namespace {

constexpr const char *source = "ProcProcesses";

/// The process id a /proc entry names, or 0 when the entry is not a process.
int ProcessIdOf(const char *entryName) {
    if (*entryName == '\0')
        return 0;
    long id = 0;
    for (const char *c = entryName; *c != '\0'; ++c) {
        if (!std::isdigit(static_cast<unsigned char>(*c)))
            return 0;
        id = id * 10 + (*c - '0');
        if (id > INT32_MAX)
            return 0;
    }
    return static_cast<int>(id);
}

/// The whole of a /proc file, or nothing when it cannot be opened (the process has ended).
std::optional<std::string> ReadProcFile(int processId, const char *name) {
    std::ifstream in("/proc/" + std::to_string(processId) + "/" + name, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TrimLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::optional<ProcessEntry> ReadProcess(int processId) {
    const auto comm = ReadProcFile(processId, "comm");
    if (!comm)
        return std::nullopt;
    // Kernel threads have an empty command line; they keep their name only.
    const std::string commandLine = ReadProcFile(processId, "cmdline").value_or(std::string());
    return ProcessEntry{processId, TrimLineEnd(*comm),
                        commandLine.substr(0, commandLine.find('\0'))};
}

Failure SystemFailure(int errorCode) {
    const std::int32_t number = errorCode == EPERM ? error_number::permissionDenied
                                                   : error_number::objectErrorBase + errorCode;
    return Failure(number, source, std::strerror(errorCode));
}

} // namespace

std::vector<ProcessEntry> ProcProcesses::list() {
    std::unique_ptr<DIR, int (*)(DIR *)> folder(::opendir("/proc"), ::closedir);
    if (!folder)
        throw SystemFailure(errno);
    std::vector<ProcessEntry> processes;
    while (const dirent *entry = ::readdir(folder.get())) {
        const int processId = ProcessIdOf(entry->d_name);
        if (processId == 0)
            continue;
        if (auto process = ReadProcess(processId))
            processes.push_back(std::move(*process));
    }
    return processes;
}

void ProcProcesses::terminate(int processId) {
    // kill() reads 0 and negative ids as process groups; this class only ends single processes.
    if (processId <= 0)
        throw Failure(error_number::invalidProcedureCall, source,
                      "Invalid process id " + std::to_string(processId));
    if (::kill(static_cast<pid_t>(processId), SIGKILL) != 0)
        throw SystemFailure(errno);
}

} // namespace qb
