#include "platform/linux/pff_error.h"

#include <array>

namespace qb {

Failure PffFailure(const std::string &description, std::int32_t number) {
    return Failure(number, pffFailureSource, description);
}

PffError::~PffError() {
    if (error_)
        libpff_error_free(&error_);
}

std::string PffError::text() const {
    if (!error_)
        return {};
    std::array<char, 2048> buffer{};
    const int length = libpff_error_sprint(error_, buffer.data(), buffer.size());
    if (length <= 0)
        return {};
    std::string text(buffer.data());
    // libpff stacks one message per line, innermost last; a report shows them on one line.
    for (char &c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

void PffError::raise(const std::string &fileName, const std::string &whatFailed) const {
    std::string description = fileName + ": " + whatFailed;
    const std::string detail = text();
    if (!detail.empty())
        description += ": " + detail;
    throw PffFailure(description);
}

} // namespace qb
