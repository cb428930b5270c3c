#pragma once

#include "files/folder.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// The hidden names files bear while they are written, and the tidying of those a process left
// behind when it was killed.
namespace qb::files {

/// A new staged name: hidden, naming this process, and with 64 random bits (getrandom) that
/// nobody can guess, as in ".quillbarrow-4711-9f86d081884c7d65.part". Throws Failure, naming
/// reportedAs, when the system gives no random bytes.
std::string NewStagedName(const std::string &reportedAs);

/// The process that a staged name says made it, for the names this program gives now and the
/// ones earlier versions gave (".quillbarrow-export-PID-N.part", ".quillbarrow-PID-N.tmp",
/// ".splinterbox-PID.tmp"); nothing for any other name.
std::optional<pid_t> StagingProcess(const std::string &name);

/// True when no process with that id exists any more. A process that exists but may not be
/// signalled by this one is not gone.
bool ProcessIsGone(pid_t process);

/// Removes from the folder every staged file whose process is gone (one killed before it could
/// tidy up), and returns the names of everything that stays. Staged files of running processes
/// are left alone, and so is every other name. Throws Failure when the folder cannot be listed;
/// a staged file that cannot be removed stays and is listed.
std::vector<std::string> RemoveStaleStagedFiles(Folder &folder);

} // namespace qb::files
