#pragma once

#include <chrono>
#include <optional>
#include <string>

// Names of the files of a Maildir, as the Maildir convention makes them.
namespace qb::cli {

/// This machine's name as a Maildir name holds it: "/" written as "\057" and ":" as "\072".
std::string MaildirHost();

/// The unique part of a message's file name: "<time>.Q<n>.<host>", where time is the message's
/// own (seconds since 1970, 0 without one) and n its place in the folder, from 1. Every run over
/// the same store gives the same names, so a rerun finds what it wrote before.
std::string MaildirStem(std::optional<std::chrono::sys_seconds> time, long long place,
                        const std::string &host);

/// What follows the unique part in cur/: ":2," and the flags, "S" for a message that was read.
std::string MaildirInfo(bool read);

} // namespace qb::cli
