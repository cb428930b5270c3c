#pragma once

#include "dbx/file_window.h"
#include "dbx/seen_objects.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qb::dbx {

/// Receives a message's text piece by piece, so a huge message never lies whole in memory.
class TextSink {
  public:
    virtual ~TextSink() = default;
    virtual void append(std::string_view bytes) = 0;
};

/// A chain of data blocks that holds one message's text and was found whole.
struct BlockChain {
    std::uint64_t firstBlock = 0;
    std::uint64_t blocks = 0;
    /// Bytes of text the blocks hold together.
    std::uint64_t bytes = 0;
};

/// What following a chain found: the chain, or why it broke off.
struct ChainCheck {
    BlockChain chain;
    /// Why the chain cannot be read whole; empty when it can.
    std::string damage;
};

/// Follows the block chains of a database's messages. A block's own offset and its size are
/// cross-checks: a block that disagrees with one of them is read all the same, with a warning,
/// when the rest of it is sound (its used bytes fit the size blocks have, the chain goes on to a
/// block that names itself). A block that earlier messages already used is read again, so that a
/// message sharing blocks with another is still whole, but only while all such reading stays
/// within the size of the file: no file makes the reading of its chains take more than linear
/// time.
class BlockChainReader {
  public:
    explicit BlockChainReader(FileWindow &file);

    /// Follows the chain that starts at firstBlock to its end without copying it. Lines about
    /// fields that disagree go to warn, and only when the chain is whole. Throws Failure only when
    /// the file cannot be read.
    ChainCheck check(std::uint64_t firstBlock, const std::function<void(std::string)> &warn);

    /// Hands the text of a chain that check found whole to sink, in order. Throws Failure when the
    /// file cannot be read or no longer holds the chain as check found it.
    void copy(const BlockChain &chain, TextSink &sink);

  private:
    struct Header;
    struct Disagreements;

    std::optional<Header> readHeader(std::uint64_t block);
    /// Why the block cannot be part of its chain, or the empty text when it can.
    std::string judge(std::uint64_t block, const Header &header, std::uint64_t expectedBody,
                      Disagreements &disagreements);
    bool goesOnSoundly(const Header &header, std::uint64_t expectedBody);

    FileWindow &file_;
    SeenObjects used_;
    std::uint64_t rereadAllowance_;
};

} // namespace qb::dbx
