#pragma once

#include "dbx/file_window.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qb::dbx {

/// Receives a message's text piece by piece, so a huge message never lies whole in memory.
class TextSink {
  public:
    virtual ~TextSink() = default;
    virtual void append(std::string_view bytes) = 0;
};

/// Hands the used bytes of every block of the chain that starts at firstBlock to sink, in order.
/// Returns why the chain broke off (a block outside the file, one that does not name itself,
/// more used bytes than the block holds, a loop), or the empty text when the chain ended whole;
/// after a break the sink holds an incomplete text. Throws Failure only when the file cannot be
/// read.
std::string CopyBlockChain(FileWindow &file, std::uint64_t firstBlock, TextSink &sink);

} // namespace qb::dbx
