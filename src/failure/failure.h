#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qb {

/// The one kind of failure in the program: an error number, the source that raised it and a
/// description for the user. Everything that fails at an edge (files, mail stores, settings,
/// dialogs) throws a Failure; guarded procedures report it and go on.
class Failure : public std::runtime_error {
  public:
    Failure(std::int32_t number, std::string source, const std::string &description)
        : std::runtime_error(description), number_(number), source_(std::move(source)) {}

    std::int32_t number() const { return number_; }
    const std::string &source() const { return source_; }
    std::string description() const { return what(); }

    /// The failure a class method raises to its caller: number 0x80040064, source
    /// "Ferndock." + class + "." + method, description class + " component failure".
    static Failure component(const std::string &className, const std::string &method);

  private:
    std::int32_t number_;
    std::string source_;
};

/// Error numbers of the run-time that the program's own code raises.
namespace error_number {
inline constexpr std::int32_t invalidProcedureCall = 5;
inline constexpr std::int32_t overflow = 6;
inline constexpr std::int32_t outOfMemory = 7;
inline constexpr std::int32_t typeMismatch = 13;
inline constexpr std::int32_t fileNotFound = 53;
inline constexpr std::int32_t permissionDenied = 70;
inline constexpr std::int32_t pathNotFound = 76;
inline constexpr std::int32_t invalidPropertyValue = 380;
inline constexpr std::int32_t componentFailure = static_cast<std::int32_t>(0x80040064u);
inline constexpr std::int32_t objectErrorBase = static_cast<std::int32_t>(0x80040000u);
} // namespace error_number

/// Name of the program's own code as the source of a failure.
inline constexpr const char *programSource = "Quillbarrow";

} // namespace qb
