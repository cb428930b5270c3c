#pragma once

#include "failure/failure.h"

#include <libpff.h>

#include <cstdint>
#include <string>

namespace qb {

/// Failure numbers the mail store raises, as Outlook's object model numbers them.
namespace pff_failure {
inline constexpr std::int32_t general = static_cast<std::int32_t>(0x80004005u);
inline constexpr std::int32_t notFound = static_cast<std::int32_t>(0x8004010Fu);
inline constexpr std::int32_t invalidArgument = static_cast<std::int32_t>(0x80070057u);
inline constexpr std::int32_t indexOutOfBounds = static_cast<std::int32_t>(0x80020009u);
} // namespace pff_failure

/// Source named by every failure of the mail store.
inline constexpr const char *pffFailureSource = "Quillbarrow mail store";

/// Builds a mail-store failure with the given number and description.
Failure PffFailure(const std::string &description, std::int32_t number = pff_failure::general);

/// The error libpff reports through its last argument; frees it when it goes out of scope.
class PffError {
  public:
    PffError() = default;
    ~PffError();
    PffError(const PffError &) = delete;
    PffError &operator=(const PffError &) = delete;

    /// The place libpff writes its error to.
    libpff_error_t **out() { return &error_; }
    /// libpff's description of the error, on one line; empty when there was none.
    std::string text() const;

    /// Failure "<file name>: <what failed>: <libpff's text>" (the last part only when known).
    [[noreturn]] void raise(const std::string &fileName, const std::string &whatFailed) const;

  private:
    libpff_error_t *error_ = nullptr;
};

} // namespace qb
