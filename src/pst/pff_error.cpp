#include "pst/pff_error.h"

#include <array>

namespace qb {

Failure PffFailure(const std::string &description, std::int32_t number) {
    return Failure(number, pffFailureSource, description);
}

PffError::~PffError() {
    if (error_)
        libpff_error_free(&error_);
}

namespace {

/// One line of text with trailing blanks and full stops removed.
std::string Trimmed(std::string text) {
    for (char &c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    while (!text.empty() && (text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

} // namespace

std::string PffError::text() const {
    if (!error_)
        return {};
    std::array<char, 4096> buffer{};
    if (libpff_error_sprint(error_, buffer.data(), buffer.size()) <= 0)
        return {};
    const std::string outermost = Trimmed(buffer.data());
    // libpff stacks one message per layer, the first naming the real cause.
    buffer.fill('\0');
    if (libpff_error_backtrace_sprint(error_, buffer.data(), buffer.size()) <= 0)
        return outermost;
    const std::string backtrace(buffer.data());
    const std::string cause = Trimmed(backtrace.substr(0, backtrace.find('\n')));
    return cause.empty() || cause == outermost ? outermost : outermost + " (" + cause + ")";
}

void PffError::raise(const std::string &fileName, const std::string &whatFailed) const {
    std::string description = fileName + ": " + whatFailed;
    const std::string detail = text();
    if (!detail.empty())
        description += ": " + detail;
    throw PffFailure(description);
}

} // namespace qb
