#include "cli/maildir_names.h"

#include <climits>
#include <unistd.h>

namespace qb::cli {

std::string MaildirHost() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return "localhost";
    std::string host;
    for (const char *c = name; *c != '\0'; ++c) {
        if (*c == '/')
            host += "\\057";
        else if (*c == ':')
            host += "\\072";
        else
            host += *c;
    }
    return host;
}

std::string MaildirStem(std::optional<std::chrono::sys_seconds> time, long long place,
                        const std::string &host) {
    const long long seconds = time ? time->time_since_epoch().count() : 0;
    return std::to_string(seconds < 0 ? 0 : seconds) + ".Q" + std::to_string(place) + "." + host;
}

std::string MaildirInfo(bool read) {
    return read ? ":2,S" : ":2,";
}

} // namespace qb::cli
