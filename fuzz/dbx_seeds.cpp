// Writes small Outlook Express databases into the folder given: seeds from which the DBX fuzz
// target reaches the header, the message tree and the block chains at once. With a body, it
// writes the large ones that catch work growing faster than the file.
#include "support/dbx_writer.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using qb::test::DbxWriter;

void Write(const std::string &path, unsigned messages, unsigned nodeEntries,
           std::uint32_t blockBody, bool indirectFirstBlock,
           DbxWriter::Kind kind = DbxWriter::Kind::Messages,
           DbxWriter::TreeShape shape = DbxWriter::TreeShape::Balanced) {
    DbxWriter writer(path, kind);
    writer.nodeEntries = nodeEntries;
    writer.blockBody = blockBody;
    writer.indirectFirstBlock = indirectFirstBlock;
    writer.shape = shape;
    for (unsigned i = 0; i < messages; ++i) {
        const auto message = writer.add("From: a@b\r\nSubject: message " + std::to_string(i) +
                                        "\r\nDate: Mon, 1 Jan 2024\r\n\r\n" +
                                        std::string(i * 40 % 700, 'x') + "\r\n");
        // Every third message also has a twin that begins in its second block.
        if (i % 3 == 2 && message.blocks.size() > 1)
            writer.addSharing(message.blocks[1]);
    }
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
        DbxWriter oneMessage(folder + "/long-chain.dbx");
        oneMessage.blockBody = 0x40;
        oneMessage.add(body.substr(0, body.size() / 2));
        oneMessage.finish();
        DbxWriter manyMessages(folder + "/many-messages.dbx");
        manyMessages.nodeEntries = 2;
        for (std::size_t i = 0; i < body.size() / 640; ++i)
            manyMessages.add(body.substr(0, 16));
        manyMessages.finish();
        // A tree as deep as it has entries, which all name one message, and one long chain that
        // many messages begin in.
        const std::string deepPath = folder + "/deep-tree.dbx";
        DbxWriter deepTree(deepPath);
        deepTree.shape = DbxWriter::TreeShape::LeftChain;
        deepTree.blockBody = 0x10;
        for (std::size_t i = 0; i < body.size() / 110; ++i)
            deepTree.add(body.substr(0, 16));
        const qb::test::DbxLayout deepLayout = deepTree.finish();
        qb::test::NameOneMessageInEveryEntry(deepPath, deepLayout, deepLayout.messages[0].info);
        DbxWriter sharedChain(folder + "/shared-chain.dbx");
        sharedChain.blockBody = 0x10;
        const auto chain = sharedChain.add(body.substr(0, body.size() / 4));
        for (std::size_t block = 1; block < chain.blocks.size(); block += 2)
            sharedChain.addSharing(chain.blocks[block]);
        sharedChain.finish();
        return 0;
    }
    Write(folder + "/empty.dbx", 0, 0x20, 0x200, false);
    Write(folder + "/one.dbx", 1, 0x20, 0x200, false);
    Write(folder + "/deep-tree.dbx", 9, 2, 0x40, false);
    Write(folder + "/left-chain.dbx", 6, 1, 0x40, false, DbxWriter::Kind::Messages,
          DbxWriter::TreeShape::LeftChain);
    Write(folder + "/indirect.dbx", 4, 3, 0x30, true);
    Write(folder + "/folders.dbx", 0, 0x20, 0x200, false, DbxWriter::Kind::Folders);
    Write(folder + "/offline.dbx", 2, 0x20, 0x200, false, DbxWriter::Kind::Offline);
    return 0;
}
