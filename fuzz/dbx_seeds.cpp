// Writes small Outlook Express databases into the folder given: seeds from which the DBX fuzz
// target reaches the header, the message tree and the block chains at once.
#include "support/dbx_writer.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

void Write(const std::string &path, unsigned messages, unsigned nodeEntries,
           std::uint32_t blockBody, bool indirectFirstBlock,
           qb::test::DbxWriter::Kind kind = qb::test::DbxWriter::Kind::Messages) {
    qb::test::DbxWriter writer(path, kind);
    writer.nodeEntries = nodeEntries;
    writer.blockBody = blockBody;
    writer.indirectFirstBlock = indirectFirstBlock;
    for (unsigned i = 0; i < messages; ++i)
        writer.add("From: a@b\r\nSubject: message " + std::to_string(i) +
                   "\r\nDate: Mon, 1 Jan 2024\r\n\r\n" + std::string(i * 40 % 700, 'x') + "\r\n");
    writer.finish();
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER [BODY]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    if (argc == 3) {
        // Large databases from one body: one long chain of blocks, and many messages in a tree
        // of two entries a node.
        std::ifstream in(argv[2], std::ios::binary);
        const std::string body{std::istreambuf_iterator<char>(in), {}};
        qb::test::DbxWriter oneMessage(folder + "/long-chain.dbx");
        oneMessage.blockBody = 0x40;
        oneMessage.add(body.substr(0, body.size() / 2));
        oneMessage.finish();
        qb::test::DbxWriter manyMessages(folder + "/many-messages.dbx");
        manyMessages.nodeEntries = 2;
        for (std::size_t i = 0; i < body.size() / 640; ++i)
            manyMessages.add(body.substr(0, 16));
        manyMessages.finish();
        return 0;
    }
    Write(folder + "/empty.dbx", 0, 0x20, 0x200, false);
    Write(folder + "/one.dbx", 1, 0x20, 0x200, false);
    Write(folder + "/deep-tree.dbx", 9, 2, 0x40, false);
    Write(folder + "/indirect.dbx", 4, 3, 0x30, true);
    Write(folder + "/folders.dbx", 0, 0x20, 0x200, false, qb::test::DbxWriter::Kind::Folders);
    Write(folder + "/offline.dbx", 2, 0x20, 0x200, false, qb::test::DbxWriter::Kind::Offline);
    return 0;
}
