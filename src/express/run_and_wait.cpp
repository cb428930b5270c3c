#include "express/run_and_wait.h"

#include "failure/failure.h"
#include "platform/command_line.h"

namespace qb::express {
namespace {

constexpr int pollMilliseconds = 100;

} // namespace

std::int32_t RunAndWait(ProgramRunner &runner, EventPump &events, Clock &clock,
                        const std::string &commandLine, std::optional<int> /*windowStyle*/) {
    const ProgramStart start = runner.start(SplitCommandLine(commandLine));
    if (start.error != 0)
        return error_number::objectErrorBase + start.error;
    std::optional<int> exitCode;
    do {
        exitCode = runner.exitCode(start.processId);
        events.processEvents();
        clock.sleep(pollMilliseconds);
    } while (!exitCode);
    return *exitCode;
}

} // namespace qb::express
