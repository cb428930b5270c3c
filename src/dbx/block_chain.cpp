#include "dbx/block_chain.h"

#include "dbx/damage.h"

#include <array>

namespace qb::dbx {
namespace {

constexpr std::uint64_t blockHeaderSize = 0x10;

struct BlockHeader {
    std::uint64_t self = 0;
    std::uint64_t bodySize = 0;
    std::uint64_t used = 0;
    std::uint64_t next = 0;
};

} // namespace

std::string CopyBlockChain(FileWindow &file, std::uint64_t firstBlock, TextSink &sink) {
    // Brent's cycle check: the chain is compared with a block left behind at growing distances,
    // which finds any loop in time linear in the chain's length without remembering every block.
    std::uint64_t checkpoint = firstBlock;
    std::uint64_t stepsSinceCheckpoint = 0;
    std::uint64_t checkpointDistance = 1;

    for (std::uint64_t block = firstBlock; block != 0;) {
        const auto where = [block] { return "its block at " + HexOffset(block); };
        std::array<unsigned char, blockHeaderSize> bytes{};
        if (!file.read(block, bytes.data(), bytes.size()))
            return where() + " lies outside the file";
        const BlockHeader header{LittleEndian32(bytes.data()), LittleEndian32(bytes.data() + 4),
                                 LittleEndian16(bytes.data() + 8),
                                 LittleEndian32(bytes.data() + 12)};
        if (header.self != block)
            return where() + " does not name itself";
        if (header.used > header.bodySize)
            return where() + " uses more bytes than it holds";
        const auto body = file.view(block + blockHeaderSize, header.used);
        if (!body)
            return where() + " is cut off by the end of the file";
        sink.append(*body);

        block = header.next;
        if (block == checkpoint)
            return where() + " leads back into its own chain";
        if (++stepsSinceCheckpoint == checkpointDistance) {
            checkpoint = block;
            stepsSinceCheckpoint = 0;
            checkpointDistance *= 2;
        }
    }
    return {};
}

} // namespace qb::dbx
