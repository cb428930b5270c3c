#include "platform/command_line.h"

#include <algorithm>
#include <utility>

namespace qb {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::string argument;
    // An argument can be empty ("") but must have been started by something.
    bool started = false;
    bool quoted = false;
    std::size_t at = 0;
    while (at < commandLine.size()) {
        const char c = commandLine[at];
        if (IsBlank(c) && !quoted) {
            if (started)
                arguments.push_back(std::exchange(argument, std::string()));
            started = false;
            ++at;
            continue;
        }
        started = true;
        if (c == '\\') {
            const std::size_t run =
                std::min(commandLine.find_first_not_of('\\', at), commandLine.size()) - at;
            at += run;
            if (at < commandLine.size() && commandLine[at] == '"') {
                argument.append(run / 2, '\\');
                if (run % 2 == 1) {
                    argument += '"';
                    ++at;
                }
            } else {
                argument.append(run, '\\');
            }
            continue;
        }
        if (c == '"')
            quoted = !quoted;
        else
            argument += c;
        ++at;
    }
    if (started)
        arguments.push_back(std::move(argument));
    return arguments;
}

} // namespace qb
