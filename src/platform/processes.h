#pragma once

#include <string>
#include <vector>

namespace qb {

/// One running process as the process list shows it.
struct ProcessEntry {
    int id = 0;
    /// The executable's short name.
    std::string name;
    /// The first command-line argument, as the process was started.
    std::string firstArgument;
    /// The process that started it, or the one that took it over when that one ended.
    int parentId = 0;
};

/// Running processes.
class Processes {
  public:
    virtual ~Processes() = default;
    /// A snapshot of all processes; throws Failure when it cannot be taken.
    virtual std::vector<ProcessEntry> list() = 0;
    /// Ends the process at once; throws Failure when it may not be signalled.
    virtual void terminate(int processId) = 0;
    /// The id of this program's own process.
    virtual int ownId() = 0;
};

} // namespace qb
