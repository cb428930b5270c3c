#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qb::dbx {

/// What a piece of damage costs the reading.
enum class Loss {
    /// Nothing: a bookkeeping field disagrees or a part is met twice, and the reading went on.
    none,
    /// One message the index names cannot be read whole.
    message,
    /// A part of the index cannot be read, so an unknown number of messages is out of reach.
    unreachable,
};

/// One piece of damage found in a database, described in one line.
struct Damage {
    Loss loss = Loss::none;
    std::string line;
};

/// Receives each piece of damage as soon as the reader meets it; the reader then goes on with
/// whatever it can still reach.
using DamageReport = std::function<void(const Damage &damage)>;

/// A file offset as damage lines write it: "0x" and lower-case hex digits.
std::string HexOffset(std::uint64_t offset);

} // namespace qb::dbx
