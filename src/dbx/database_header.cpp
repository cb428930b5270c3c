#include "dbx/database_header.h"

#include <array>

namespace qb::dbx {
namespace {

constexpr std::uint32_t dbxSignature = 0xfe12adcf;

constexpr std::uint64_t messageCountOffset = 0xc4;
constexpr std::uint64_t treeRootOffset = 0xe4;

DatabaseKind KindOf(std::uint32_t tag) {
    switch (tag) {
    case 0x6f74fdc5:
        return DatabaseKind::Messages;
    case 0x6f74fdc6:
        return DatabaseKind::Folders;
    case 0x6f74fdc7:
        return DatabaseKind::Pop3uidl;
    case 0x26fe9d30:
        return DatabaseKind::Offline;
    default:
        return DatabaseKind::OtherDbx;
    }
}

} // namespace

DatabaseHeader ReadDatabaseHeader(FileWindow &file) {
    std::array<unsigned char, 8> signature{};
    if (file.size() < databaseHeaderSize || !file.read(0, signature.data(), signature.size()) ||
        LittleEndian32(signature.data()) != dbxSignature)
        return {};
    DatabaseHeader header;
    header.kind = KindOf(LittleEndian32(signature.data() + 4));
    header.messageCount = file.uint32At(messageCountOffset).value_or(0);
    header.treeRoot = file.uint32At(treeRootOffset).value_or(0);
    return header;
}

std::string DescribeKind(DatabaseKind kind) {
    switch (kind) {
    case DatabaseKind::Messages:
        return "a message database";
    case DatabaseKind::Folders:
        return "a folder list (Folders.dbx)";
    case DatabaseKind::Pop3uidl:
        return "a list of downloaded message ids (Pop3uidl.dbx)";
    case DatabaseKind::Offline:
        return "an offline database";
    case DatabaseKind::OtherDbx:
        return "an Outlook Express database of an unknown kind";
    case DatabaseKind::NotDbx:
        break;
    }
    return "not an Outlook Express database";
}

} // namespace qb::dbx
