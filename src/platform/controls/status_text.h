#pragma once

#include <cstdint>
#include <string>

// Pieces of the texts that long actions show in a window's status line.
namespace qb {

/// The number with its thousands grouped by commas: "1,204".
std::string GroupedNumber(std::int64_t number);

/// The number and the noun, in the plural unless the number is 1: "1 message", "1,204 messages".
std::string CountOf(std::int64_t number, const std::string &noun);

/// A duration as a person reads it, rounded down: "45 s", "1 min 10 s", "2 h 5 min". Less than
/// a second reads "0 s".
std::string DurationText(double seconds);

/// A path shortened to its last component after an ellipsis ("…/Desktop" for
/// "/home/user/Desktop/"), so that a status line names the folder without running out of room.
/// A path of one component, and the root "/", stay whole.
std::string ShortenedPath(const std::string &path);

} // namespace qb
