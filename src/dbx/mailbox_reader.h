#pragma once

#include "dbx/block_chain.h"
#include "dbx/damage.h"
#include "dbx/database_header.h"

#include <cstdint>
#include <string>

namespace qb::dbx {

/// The text of one message that was found whole, as it is stored. Valid only during the call
/// that hands it out.
class MessageText {
  public:
    MessageText(BlockChainReader &chains, const BlockChain &chain)
        : chains_(chains), chain_(chain) {}

    /// Bytes the text holds.
    std::uint64_t size() const { return chain_.bytes; }
    /// Hands the text to sink in pieces of one block each, in order, as they lie in the read
    /// buffers; the text is never gathered in memory. Throws Failure when the file cannot be read
    /// or changed since the message was found whole.
    void copyTo(TextSink &sink) { chains_.copy(chain_, sink); }

  private:
    BlockChainReader &chains_;
    BlockChain chain_;
};

/// Whether the reading goes on after a message.
enum class AfterMessage { readOn, stop };

/// Receives what ReadMailbox finds in a database, as it finds it.
class MessageVisitor {
  public:
    virtual ~MessageVisitor() = default;
    /// One message that can be read whole. number is its place in the mailbox, from 1; a damaged
    /// message keeps its number, so numbers may skip. Returning stop ends the reading after this
    /// message. What this throws ends the reading and leaves ReadMailbox.
    virtual AfterMessage message(std::uint64_t number, MessageText &text) = 0;
    /// One piece of damage, as soon as it is found.
    virtual void damage(const Damage &damage) = 0;
};

/// What one reading of a database found.
struct MailboxSummary {
    DatabaseKind kind = DatabaseKind::NotDbx;
    /// Messages handed to the visitor.
    std::uint64_t read = 0;
    /// Messages that were found but could not be read whole.
    std::uint64_t damaged = 0;
    /// Places where damage put an unknown number of messages out of reach.
    std::uint64_t unreachable = 0;
    /// True when the index could not be used and the whole file was searched for messages.
    bool searched = false;
    /// True when the visitor stopped the reading.
    bool stopped = false;

    /// True when no message was lost.
    bool whole() const { return damaged == 0 && unreachable == 0; }
};

/// Reads the Outlook Express database at path and hands every message of it that can be read
/// whole to visitor, once, in mailbox order, without writing anything. Damage is handed to the
/// visitor as it is met, and the reading goes on with what it can still reach. When the index
/// cannot be used, the whole file is searched for messages, which then come in file order. The
/// time taken is linear in the size of the file, and besides the message the visitor holds, the
/// memory used is a fixed amount plus one bit per 16 bytes of the file for each of the tree nodes,
/// the info objects and the blocks it has read, and 8 bytes per level of the tree. A file that is
/// no database, or a database of another kind, is read no further than its header. Throws Failure
/// when the file cannot be opened or read, or is no regular file.
MailboxSummary ReadMailbox(const std::string &path, MessageVisitor &visitor);

} // namespace qb::dbx
