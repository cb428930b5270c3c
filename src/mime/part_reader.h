#pragma once

#include "failure/failure.h"
#include "mime/eml_builder.h"

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace qb::mime {

/// What the parts of one message being written share, its attached messages included.
struct EmlContext {
    explicit EmlContext(std::vector<EmlProblem> &problems) : problems(problems) {}

    std::vector<EmlProblem> &problems;
    /// Attached messages, which the attachments GMime reads while it writes belong to.
    std::vector<std::shared_ptr<mail::Message>> keptMessages;
    /// The first exception other than Failure that a call from GMime met: it cannot pass through
    /// GMime's C code, so it waits here until the writing is over.
    std::exception_ptr unexpected;
};

template <typename T> struct IsOptional : std::false_type {};
template <typename T> struct IsOptional<std::optional<T>> : std::true_type {};

/// Reads the parts of one message, the message written or one attached to it: a read that
/// throws Failure becomes a problem named by the part and by where the message lies, and the
/// writing goes on without that part.
class PartReader {
  public:
    /// place names the attachments that hold the message, outermost first ("attachment 3
    /// \"Fwd\""); empty for the message written.
    PartReader(EmlContext &context, std::string place)
        : context_(context), place_(std::move(place)), problemsBefore_(context.problems.size()) {}

    /// What read gives, as an optional (an optional result is not wrapped twice); nothing when
    /// it throws Failure, which becomes a problem of the part.
    template <typename Read> auto read(const std::string &part, Read &&read) {
        using Value = decltype(read());
        using Result = std::conditional_t<IsOptional<Value>::value, Value, std::optional<Value>>;
        try {
            Result value = read();
            ++partsRead_;
            return value;
        } catch (const Failure &failure) {
            noteFailure(part, failure);
            return Result();
        }
    }

    /// Adds a problem of a part of this message.
    void problem(const std::string &part, const std::string &why);
    /// Throws the first failure met when not one read of the message's parts succeeded; the
    /// problems of its parts are taken back then, as the whole message is the problem.
    void requireSomethingRead();
    /// How problems name a part of this message.
    std::string nameOf(const std::string &part) const;
    EmlContext &context() { return context_; }

  private:
    void noteFailure(const std::string &part, const Failure &failure);

    EmlContext &context_;
    std::string place_;
    std::size_t problemsBefore_;
    int partsRead_ = 0;
    std::optional<Failure> firstFailure_;
};

} // namespace qb::mime
