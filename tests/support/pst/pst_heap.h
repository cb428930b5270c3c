#pragma once

#include "support/pst/pst_bytes.h"

#include <cstdint>
#include <vector>

namespace qb::pstmaker {

/// A heap id: allocation index and block index of a heap-on-node item.
using HeapId = std::uint32_t;

/// Most bytes one heap allocation holds; larger values go to subnodes.
inline constexpr std::size_t maxHeapItem = 3580;

/// Client signatures of a heap on node.
enum class HeapClient : std::uint8_t { table = 0x7C, btree = 0xB5, properties = 0xBC };

/// Builds a heap on node (HN): items packed into blocks of at most 8176 bytes, each block with
/// its header (HNHDR on the first, HNBITMAPHDR on the 9th and every 128th after, HNPAGEHDR
/// elsewhere) and its page map. Every block but the last is filled to 8176 bytes, so that a
/// reader that joins the blocks into one stream finds each at its multiple of 8176.
class HeapBuilder {
  public:
    explicit HeapBuilder(HeapClient client);

    /// Stores an item of at most maxHeapItem bytes and returns its id.
    HeapId allocate(ByteView item);
    /// Replaces the bytes of an item by as many others.
    void overwrite(HeapId id, ByteView item);
    /// The item the heap's user starts from (a BTH header or a TCINFO).
    void setUserRoot(HeapId id) { userRoot_ = id; }
    /// The blocks of the heap joined into one stream, ready for a data tree.
    Bytes stream() const;

  private:
    struct Block {
        std::vector<Bytes> items;
        std::size_t itemBytes = 0;
    };
    static std::size_t headerSize(std::size_t blockIndex);
    static std::size_t mapSize(std::size_t itemCount);
    Bytes blockBytes(std::size_t index, bool last) const;
    std::uint8_t fillLevel(std::size_t index) const;
    std::size_t usedBytes(std::size_t index) const;

    HeapClient client_;
    HeapId userRoot_ = 0;
    std::vector<Block> blocks_;
};

} // namespace qb::pstmaker
