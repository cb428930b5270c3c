#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qb::dbx {

/// Receives one line about damage found in a database as soon as the reader meets it; the reader
/// then goes on with whatever it can still reach.
using DamageReport = std::function<void(const std::string &line)>;

/// A file offset as damage lines write it: "0x" and lower-case hex digits.
std::string HexOffset(std::uint64_t offset);

} // namespace qb::dbx
