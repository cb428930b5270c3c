#include "outlook/outlook_listing.h"
#include "text/plain_text.h"

#include <unordered_map>
#include <unordered_set>

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

/// The ids of the processes that ancestorId started, directly or through its descendants.
std::unordered_set<int> DescendantsOf(int ancestorId, const std::vector<ProcessEntry> &running) {
    std::unordered_multimap<int, int> children;
    for (const ProcessEntry &process : running)
        children.emplace(process.parentId, process.id);
    std::unordered_set<int> descendants;
    std::vector<int> toVisit{ancestorId};
    while (!toVisit.empty()) {
        const int parent = toVisit.back();
        toVisit.pop_back();
        const auto [first, last] = children.equal_range(parent);
        for (auto child = first; child != last; ++child)
            // A set already holding the id means a loop of ids in a snapshot taken mid-change.
            if (child->second != ancestorId && descendants.insert(child->second).second)
                toVisit.push_back(child->second);
    }
    return descendants;
}

} // namespace

void KillProcess(Processes &processes, const std::string &processName) {
    // An empty name would match every process.
    if (processName.empty())
        return;
    const std::string lowerName = LowerCase(processName);
    std::vector<ProcessEntry> running;
    int ownId = 0;
    try {
        running = processes.list();
        ownId = processes.ownId();
    } catch (const std::exception &) {
        return; // nothing can be ended without a list, and nothing is reported
    }
    // Only what this program started is ended: an Outlook the user runs under Wine, maybe in
    // the middle of writing a .pst, is not the program's to end.
    const std::unordered_set<int> descendants = DescendantsOf(ownId, running);
    for (const ProcessEntry &process : running) {
        if (!descendants.contains(process.id) || !MatchesName(process, lowerName))
            continue;
        try {
            processes.terminate(process.id);
        } catch (const std::exception &) {
            // A process that may not be signalled is passed over.
        }
    }
}

} // namespace qb::outlook
