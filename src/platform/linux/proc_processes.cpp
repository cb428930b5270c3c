#include "platform/linux/proc_processes.h"

#include "failure/failure.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <sys/types.h>
#include <unistd.h>

namespace qb {
namespace {

constexpr const char *source = "ProcProcesses";

/// The process id a /proc entry names, or 0 when the entry is not a process.
int ProcessIdOf(std::string_view entryName) {
    int id = 0;
    const auto [end, error] =
        std::from_chars(entryName.data(), entryName.data() + entryName.size(), id);
    const bool wholeNumber = error == std::errc() && end == entryName.data() + entryName.size();
    return wholeNumber && id > 0 ? id : 0;
}

/// The whole of a /proc file, or nothing when it cannot be opened (the process has ended).
std::optional<std::string> ReadProcFile(int processId, const char *name) {
    std::ifstream in("/proc/" + std::to_string(processId) + "/" + name, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// The name and parent id that /proc/PID/stat gives as "PID (NAME) STATE PPID ...". The name may
/// itself hold blanks and parentheses, so it ends at the last ")".
std::optional<ProcessEntry> ParseStat(int processId, const std::string &stat) {
    const auto open = stat.find('(');
    const auto close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return std::nullopt;
    std::istringstream rest(stat.substr(close + 1));
    std::string state;
    int parentId = 0;
    if (!(rest >> state >> parentId))
        return std::nullopt;
    ProcessEntry process;
    process.id = processId;
    process.name = stat.substr(open + 1, close - open - 1);
    process.parentId = parentId;
    return process;
}

std::optional<ProcessEntry> ReadProcess(int processId) {
    const auto stat = ReadProcFile(processId, "stat");
    if (!stat)
        return std::nullopt;
    auto process = ParseStat(processId, *stat);
    if (!process)
        return std::nullopt;
    // Kernel threads have an empty command line; they keep their name only.
    const std::string commandLine = ReadProcFile(processId, "cmdline").value_or(std::string());
    process->firstArgument = commandLine.substr(0, commandLine.find('\0'));
    return process;
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

int ProcProcesses::ownId() {
    return static_cast<int>(::getpid());
}

} // namespace qb
