#include "outlook/outlook_listing.h"
#include "platform/plain_text.h"

#include <unistd.h>

namespace qb::outlook {
namespace {

/// The last component of a path written with "/" or "\" (a Windows program run through Wine).
std::string LastComponent(const std::string &path) {
    const auto separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool MatchesName(const ProcessEntry &process, const std::string &lowerName) {
    return LowerCase(process.name).ends_with(lowerName) ||
           LowerCase(LastComponent(process.firstArgument)).ends_with(lowerName);
}

} // namespace

void KillProcess(Processes &processes, const std::string &processName) {
    // An empty name would match every process.
    if (processName.empty())
        return;
    const std::string lowerName = LowerCase(processName);
    std::vector<ProcessEntry> running;
    try {
        running = processes.list();
    } catch (const std::exception &) {
        return; // nothing can be ended without a list, and nothing is reported
    }
    const int ownId = static_cast<int>(::getpid());
    for (const ProcessEntry &process : running) {
        // The program may itself run under a matching name; ending it here would cut the close
        // short.
        if (process.id == ownId || !MatchesName(process, lowerName))
            continue;
        try {
            processes.terminate(process.id);
        } catch (const std::exception &) {
            // A process that may not be signalled is passed over.
        }
    }
}

} // namespace qb::outlook
