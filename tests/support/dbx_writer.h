#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace qb::test {

/// Offsets of the header fields that lead to the messages.
inline constexpr std::uint64_t dbxMessageCountField = 0xc4;
inline constexpr std::uint64_t dbxTreeRootField = 0xe4;

/// Where a written database keeps its parts, so that tests can damage them.
struct DbxLayout {
    struct Message {
        std::uint64_t info = 0;
        std::vector<std::uint64_t> blocks;
    };
    std::uint64_t treeRoot = 0;
    /// Offsets of the tree's nodes, the root first.
    std::vector<std::uint64_t> nodes;
    /// The messages in the order they were added, which is also the tree's order.
    std::vector<Message> messages;
};

/// Writes Outlook Express databases: the file header, each message as a chain of data blocks
/// followed by its info object, and at the end the message tree, whose nodes hold at most
/// nodeEntries entries each so that small tests can make deep trees.
class DbxWriter {
  public:
    enum class Kind { Messages, Folders, Pop3uidl, Offline };
    /// Balanced: every node full but the lowest. The chains hold one message a node, each node
    /// the child of the one before: before its entry (leaning left, so a walk in order must keep
    /// every level) or after it (leaning right).
    enum class TreeShape { Balanced, LeftChain, RightChain };

    /// Creates or replaces the file.
    explicit DbxWriter(const std::string &path, Kind kind = Kind::Messages);

    /// Bytes a data block holds.
    std::uint32_t blockBody = 0x200;
    /// Entries a tree node holds at most.
    unsigned nodeEntries = 0x20;
    /// Keeps first-block offsets in the info object's data area even when they would fit in the
    /// index field itself (they are put there anyway from 16 MiB on).
    bool indirectFirstBlock = false;
    TreeShape shape = TreeShape::Balanced;

    /// Stores a message whose text is given byte for byte and tells where.
    DbxLayout::Message add(std::string_view text);
    /// Stores a message whose text is that of the chain from firstBlock on: only its info object.
    void addSharing(std::uint64_t firstBlock);
    /// Writes the tree and the header and closes the file.
    DbxLayout finish();

  private:
    struct Node;
    std::uint64_t writeBlocks(std::string_view text, std::vector<std::uint64_t> &blocks);
    std::uint64_t writeInfo(std::uint64_t firstBlock);
    std::size_t planNodes(std::vector<Node> &nodes, std::size_t first, std::size_t last,
                          std::size_t parent);
    void planChain(std::vector<Node> &nodes);
    void put(std::string_view bytes);

    std::ofstream out_;
    std::uint64_t end_ = 0;
    DbxLayout layout_;
};

/// Overwrites the four bytes at offset with a little-endian value.
void PatchUint32(const std::string &path, std::uint64_t offset, std::uint32_t value);
/// Makes every entry of the written tree name the message info object at info.
void NameOneMessageInEveryEntry(const std::string &path, const DbxLayout &layout,
                                std::uint64_t info);
/// Flips bit (0 to 31) of the little-endian four-byte value at offset.
void FlipBit(const std::string &path, std::uint64_t offset, unsigned bit);

} // namespace qb::test
