#include "dbx/message_scan.h"

#include "dbx/database_header.h"
#include "dbx/message_info.h"

#include <algorithm>

namespace qb::dbx {
namespace {

constexpr std::uint64_t fieldSize = 4;
constexpr std::uint64_t piece = 64 * 1024;

bool IsMessageInfo(FileWindow &objects, std::uint64_t offset) {
    const MessageStart start = FindMessageStart(objects, offset);
    return start.damage.empty() && NamesItself(objects, start.firstBlock);
}

} // namespace

MessageScan::MessageScan(FileWindow &file, FileWindow &objects)
    : file_(file), objects_(objects), position_(databaseHeaderSize) {}

std::optional<std::uint64_t> MessageScan::next() {
    while (position_ + fieldSize <= file_.size()) {
        const std::uint64_t length =
            std::min(piece, (file_.size() - position_) / fieldSize * fieldSize);
        const auto bytes = file_.view(position_, length);
        if (!bytes)
            return std::nullopt; // the file shrank while it was read
        const auto *data = reinterpret_cast<const unsigned char *>(bytes->data());
        std::uint64_t at = 0;
        while (at < length && LittleEndian32(data + at) != position_ + at)
            at += fieldSize;
        const std::uint64_t candidate = position_ + at;
        position_ = std::min(candidate + fieldSize, position_ + length);
        if (at < length && IsMessageInfo(objects_, candidate))
            return candidate;
    }
    return std::nullopt;
}

} // namespace qb::dbx
