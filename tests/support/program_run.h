#pragma once

#include <string>
#include <vector>

namespace qb::test {

/// What a program printed and how it ended.
struct ProgramRun {
    /// The exit code; 128 + the signal's number when a signal ended it; -1 when it never started.
    int exitCode = -1;
    std::string output;
    std::string errors;
};

/// Runs the program at path with the arguments (no shell, no search along PATH) and waits for it,
/// keeping its standard output and error output.
ProgramRun RunProgram(const std::string &path, const std::vector<std::string> &arguments);

} // namespace qb::test
