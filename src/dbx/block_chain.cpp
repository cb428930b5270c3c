#include "dbx/block_chain.h"

#include "dbx/damage.h"
#include "failure/failure.h"

#include <cerrno>
#include <optional>

namespace qb::dbx {
namespace {

constexpr std::uint64_t blockHeaderSize = 0x10;
// Every block Outlook Express writes holds this many bytes of text.
constexpr std::uint64_t usualBody = 0x200;

/// Brent's cycle check: the chain is compared with a block left behind at growing distances,
/// which finds any loop in time linear in the chain's length without remembering every block.
class LoopCheck {
  public:
    explicit LoopCheck(std::uint64_t start) : checkpoint_(start) {}
    /// True when next is the block left behind, which only a loop leads back to.
    bool leadsBack(std::uint64_t next) {
        if (next == checkpoint_)
            return true;
        if (++steps_ == distance_) {
            checkpoint_ = next;
            steps_ = 0;
            distance_ *= 2;
        }
        return false;
    }

  private:
    std::uint64_t checkpoint_;
    std::uint64_t steps_ = 0;
    std::uint64_t distance_ = 1;
};

/// Blocks of one chain that share one kind of disagreement, told in one line.
struct Disagreement {
    std::uint64_t first = 0;
    std::uint64_t count = 0;

    void note(std::uint64_t block) {
        if (count++ == 0)
            first = block;
    }
    void tell(const std::function<void(std::string)> &warn, const std::string &what) const {
        if (count == 0)
            return;
        std::string line = "its block at " + HexOffset(first) + " " + what;
        if (count > 1)
            line += " (and " + std::to_string(count - 1) + " more of its blocks)";
        warn(line);
    }
};

} // namespace

struct BlockChainReader::Header {
    std::uint64_t self = 0;
    std::uint64_t bodySize = 0;
    std::uint64_t used = 0;
    std::uint64_t next = 0;
};

/// What one chain's blocks disagree with, told once the chain is found whole.
struct BlockChainReader::Disagreements {
    Disagreement misnamed;
    Disagreement missized;
    Disagreement reread;

    void tell(const std::function<void(std::string)> &warn) const {
        misnamed.tell(warn, "gives another offset as its own; the chain around it is sound, so "
                            "it is read");
        missized.tell(warn, "says it holds fewer bytes than it uses; they fit a usual block, so "
                            "they are read");
        reread.tell(warn, "was read before, for another message");
    }
};

namespace {

Failure ChangedFailure(const std::string &path) {
    return Failure(error_number::objectErrorBase + EIO, "Splinterbox",
                   "The file changed while it was read: " + path);
}

} // namespace

std::optional<BlockChainReader::Header> BlockChainReader::readHeader(std::uint64_t block) {
    const auto view = file_.view(block, blockHeaderSize);
    if (!view)
        return std::nullopt;
    const auto *bytes = reinterpret_cast<const unsigned char *>(view->data());
    return Header{LittleEndian32(bytes), LittleEndian32(bytes + 4), LittleEndian16(bytes + 8),
                  LittleEndian32(bytes + 12)};
}

BlockChainReader::BlockChainReader(FileWindow &file)
    : file_(file), used_(file.size()), rereadAllowance_(file.size()) {}

ChainCheck BlockChainReader::check(std::uint64_t firstBlock,
                                   const std::function<void(std::string)> &warn) {
    ChainCheck result{{firstBlock, 0, 0}, {}};
    const auto broken = [&result](std::uint64_t block, const std::string &why) {
        result.damage = "its block at " + HexOffset(block) + " " + why;
        return result;
    };
    Disagreements disagreements;
    std::uint64_t expectedBody = usualBody;
    LoopCheck loop(firstBlock);
    for (std::uint64_t block = firstBlock; block != 0;) {
        const auto header = readHeader(block);
        if (!header)
            return broken(block, block < file_.size() ? "is cut off by the end of the file"
                                                      : "lies outside the file");
        if (const std::string why = judge(block, *header, expectedBody, disagreements);
            !why.empty())
            return broken(block, why);
        if (loop.leadsBack(header->next))
            return broken(block, "leads back into its own chain");
        ++result.chain.blocks;
        result.chain.bytes += header->used;
        if (header->used <= header->bodySize)
            expectedBody = header->bodySize;
        block = header->next;
    }
    disagreements.tell(warn);
    return result;
}

std::string BlockChainReader::judge(std::uint64_t block, const Header &header,
                                    std::uint64_t expectedBody, Disagreements &disagreements) {
    const bool sizeAgrees = header.used <= header.bodySize;
    if (!sizeAgrees && header.used > expectedBody)
        return "uses more bytes than it holds";
    if (header.self != block) {
        if (!sizeAgrees || !goesOnSoundly(header, expectedBody))
            return "does not name itself";
        disagreements.misnamed.note(block);
    }
    if (!sizeAgrees)
        disagreements.missized.note(block);
    if (!file_.holds(block + blockHeaderSize, header.used))
        return "is cut off by the end of the file";
    if (!used_.markNew(block)) {
        const std::uint64_t cost = blockHeaderSize + header.used;
        if (cost > rereadAllowance_)
            return "was read for other messages more often than the file can hold";
        rereadAllowance_ -= cost;
        disagreements.reread.note(block);
    }
    return {};
}

bool BlockChainReader::goesOnSoundly(const Header &header, std::uint64_t expectedBody) {
    // A block that disagrees with its own offset is taken for the block the chain meant only
    // when the chain goes on from it to a block that names itself, or ends at a usual size.
    if (header.next == 0)
        return header.bodySize == expectedBody;
    const auto following = readHeader(header.next);
    return following && following->self == header.next &&
           (header.bodySize == expectedBody || following->bodySize == header.bodySize);
}

void BlockChainReader::copy(const BlockChain &chain, TextSink &sink) {
    std::uint64_t block = chain.firstBlock;
    std::uint64_t bytes = 0;
    for (std::uint64_t count = 0; count < chain.blocks; ++count) {
        const auto header = readHeader(block);
        if (!header)
            throw ChangedFailure(file_.path());
        const auto body = file_.view(block + blockHeaderSize, header->used);
        if (!body)
            throw ChangedFailure(file_.path());
        sink.append(*body);
        bytes += header->used;
        block = header->next;
    }
    if (bytes != chain.bytes || block != 0)
        throw ChangedFailure(file_.path());
}

} // namespace qb::dbx
