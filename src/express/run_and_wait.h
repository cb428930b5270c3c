#pragma once

#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/program_runner.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qb::express {

/// Starts the program of a Windows-style command line (split by SplitCommandLine, started
/// without a shell) and waits until it ends, letting window events run and then sleeping 100 ms
/// between looks, with no time limit. Returns the program's exit code, or the start's error
/// number plus 0x80040000 when it cannot be started. The window style (hidden 0 to minimised
/// 6; missing or out of range means 6) has no effect: the programs this starts have no window.
/// Throws Failure when the process's state cannot be read.
std::int32_t RunAndWait(ProgramRunner &runner, EventPump &events, Clock &clock,
                        const std::string &commandLine,
                        std::optional<int> windowStyle = std::nullopt);

} // namespace qb::express
