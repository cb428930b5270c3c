#include "cli/mbox_format.h"

#include "failure/system_failure.h"
#include "files/descriptor.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace qb::cli {
namespace {

constexpr std::string_view fromLine = "From ";
constexpr const char *weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char *months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

std::string MboxSeparator(const std::string &sender, std::optional<std::chrono::sys_seconds> time) {
    const std::time_t seconds =
        time ? static_cast<std::time_t>(time->time_since_epoch().count()) : 0;
    std::tm utc{};
    if (::gmtime_r(&seconds, &utc) == nullptr)
        utc = std::tm{0, 0, 0, 1, 0, 70, 4, 0, 0, 0, nullptr};
    // asctime's own form, written out so that no locale changes the names.
    char date[64];
    std::snprintf(date, sizeof date, "%s %s %2d %02d:%02d:%02d %d", weekdays[utc.tm_wday % 7],
                  months[utc.tm_mon % 12], utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  utc.tm_year + 1900);
    std::string address;
    for (const char c : sender)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            address += c;
    return "From " + (address.empty() ? std::string("MAILER-DAEMON") : address) + " " + date + "\n";
}

void MboxrdQuoting::write(std::string_view bytes) {
    for (const char c : bytes) {
        if (carriageReturn_) {
            carriageReturn_ = false;
            if (c != '\n')
                put('\r');
        }
        if (c == '\r')
            carriageReturn_ = true;
        else
            put(c);
    }
    out_.write(text_);
    text_.clear();
}

void MboxrdQuoting::put(char c) {
    last_ = c;
    if (!lineStart_) {
        text_ += c;
        lineStart_ = c == '\n';
        return;
    }
    undecided_ += c;
    decide(c == '\n');
}

void MboxrdQuoting::decide(bool lineEnded) {
    const std::size_t quotes = undecided_.find_first_not_of('>');
    const std::string_view rest = quotes == std::string::npos
                                      ? std::string_view()
                                      : std::string_view(undecided_).substr(quotes);
    if (!lineEnded && rest.size() < fromLine.size() && fromLine.starts_with(rest))
        return; // could still become a "From " line
    if (rest.starts_with(fromLine))
        text_ += '>';
    text_ += undecided_;
    undecided_.clear();
    lineStart_ = lineEnded;
}

void MboxrdQuoting::finish() {
    if (carriageReturn_) {
        carriageReturn_ = false;
        put('\r');
    }
    if (!undecided_.empty())
        decide(true);
    if (last_ != '\n')
        text_ += '\n';
    text_ += '\n';
    out_.write(text_);
    text_.clear();
    lineStart_ = true;
    last_ = '\n';
}

long long CountMboxMessages(int folderDescriptor, const std::string &name,
                            const std::string &target) {
    files::Descriptor file(
        ::openat(folderDescriptor, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!file.isOpen())
        throw SystemFailure(errno, target);
    std::vector<char> buffer(1 << 16);
    long long messages = 0;
    // How much of "From " the current line has shown so far; -1 once it is no such line.
    int matched = 0;
    for (;;) {
        const ssize_t read = ::read(file.get(), buffer.data(), buffer.size());
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            throw SystemFailure(errno, target);
        if (read == 0)
            return messages;
        for (ssize_t index = 0; index < read; ++index) {
            const char c = buffer[static_cast<std::size_t>(index)];
            if (c == '\n') {
                matched = 0;
            } else if (matched >= 0 && static_cast<std::size_t>(matched) < fromLine.size()) {
                matched = c == fromLine[static_cast<std::size_t>(matched)] ? matched + 1 : -1;
                if (static_cast<std::size_t>(matched) == fromLine.size())
                    ++messages;
            }
        }
    }
}

} // namespace qb::cli
