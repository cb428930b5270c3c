#include "files/staged_names.h"

#include "failure/system_failure.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <string_view>
#include <sys/random.h>
#include <unistd.h>

namespace qb::files {
namespace {

/// The beginnings of staged names, the current one first.
constexpr std::string_view stagedPrefixes[] = {".quillbarrow-export-", ".quillbarrow-",
                                               ".splinterbox-"};
constexpr std::string_view stagedEndings[] = {".part", ".tmp"};

bool IsHexDigitOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

/// The process id at the start of rest, which must be followed by the end or by "-" and a
/// run of digits or lower-case hex digits.
std::optional<pid_t> LeadingProcess(std::string_view rest) {
    pid_t process = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), process);
    if (error != std::errc() || end == rest.data() || process <= 0)
        return std::nullopt;
    std::string_view tail(end, static_cast<std::size_t>(rest.data() + rest.size() - end));
    if (tail.empty())
        return process;
    if (!tail.starts_with('-') || tail.size() == 1)
        return std::nullopt;
    for (char c : tail.substr(1))
        if (!IsHexDigitOrDigit(c))
            return std::nullopt;
    return process;
}

} // namespace

std::string NewStagedName(const std::string &reportedAs) {
    std::uint64_t random = 0;
    ssize_t got = 0;
    do {
        got = ::getrandom(&random, sizeof random, 0);
    } while (got < 0 && errno == EINTR);
    if (got != static_cast<ssize_t>(sizeof random))
        throw SystemFailure(got < 0 ? errno : EIO, reportedAs);
    char hex[17];
    for (int digit = 15; digit >= 0; --digit, random >>= 4)
        hex[digit] = "0123456789abcdef"[random & 0xf];
    hex[16] = '\0';
    return std::string(stagedPrefixes[1]) + std::to_string(::getpid()) + "-" + hex + ".part";
}

std::optional<pid_t> StagingProcess(const std::string &name) {
    std::string_view rest = name;
    const auto ending = std::find_if(std::begin(stagedEndings), std::end(stagedEndings),
                                     [&](std::string_view end) { return rest.ends_with(end); });
    if (ending == std::end(stagedEndings))
        return std::nullopt;
    rest.remove_suffix(ending->size());
    for (std::string_view prefix : stagedPrefixes)
        if (rest.starts_with(prefix))
            if (const auto process = LeadingProcess(rest.substr(prefix.size())))
                return process;
    return std::nullopt;
}

bool ProcessIsGone(pid_t process) {
    return ::kill(process, 0) != 0 && errno == ESRCH;
}

std::vector<std::string> RemoveStaleStagedFiles(Folder &folder) {
    std::vector<std::string> staying;
    for (std::string &name : folder.names()) {
        const auto process = StagingProcess(name);
        if (process && ProcessIsGone(*process) &&
            ::unlinkat(folder.descriptor(), name.c_str(), 0) == 0)
            continue;
        staying.push_back(std::move(name));
    }
    return staying;
}

} // namespace qb::files
