#include "mailbox_fixture.h"

#include <chrono>
#include <filesystem>

namespace qb::test {
namespace {

using Damage = std::function<void(const DbxLayout &)>;

// Far more than a linear reading needs even under the sanitizers, far less than a quadratic one.
constexpr auto linearBound = std::chrono::seconds(30);

class MailboxReaderTest : public MailboxTest {
  protected:
    void patch(std::uint64_t offset, std::uint32_t value) { PatchUint32(dbx, offset, value); }
    void cut(std::uint64_t size) { std::filesystem::resize_file(dbx, size); }

    /// Reads and expects it to take no more than linear time.
    dbx::MailboxSummary readInLinearTime() {
        const auto start = std::chrono::steady_clock::now();
        const dbx::MailboxSummary summary = read();
        EXPECT_LT(std::chrono::steady_clock::now() - start, linearBound);
        return summary;
    }
};

TEST_F(MailboxReaderTest, BookkeepingFieldsThatDisagreeCostNothing) {
    // Sixty messages of up to four blocks under a tree of three entries a node, four levels deep.
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < 60; ++i)
        sizes.push_back(40 + i * 373 % 1900);
    sizes[7] = 1800;
    const DbxLayout layout = writeInbox(sizes, [](DbxWriter &writer) { writer.nodeEntries = 3; });
    const std::string pristine = input / "pristine.dbx";
    std::filesystem::copy_file(dbx, pristine);
    const auto &chain = layout.messages[7].blocks;
    ASSERT_EQ(chain.size(), 4u);
    enum Field { ownOffset, blockSize };
    const struct {
        const char *what;
        std::uint64_t offset;
        Field field;
        const char *says;
    } cases[] = {
        {"the root node's own offset", layout.nodes[0], ownOffset, "says it lies at"},
        {"an inner node's own offset", layout.nodes[1], ownOffset, "says it lies at"},
        {"a leaf node's own offset", layout.nodes.back(), ownOffset, "says it lies at"},
        {"an info object's own offset", layout.messages[9].info, ownOffset, "index is sound"},
        {"a first block's own offset", chain[0], ownOffset, "gives another offset as its own"},
        {"a middle block's own offset", chain[2], ownOffset, "gives another offset as its own"},
        {"a last block's own offset", chain[3], ownOffset, "gives another offset as its own"},
        {"a full block's size", chain[1] + 4, blockSize, "holds fewer bytes than it uses"},
        {"a last block's size", chain[3] + 4, blockSize, "holds fewer bytes than it uses"},
    };
    for (const auto &example : cases) {
        for (unsigned bit = 0; bit < 32; ++bit) {
            SCOPED_TRACE(std::string(example.what) + ", bit " + std::to_string(bit));
            std::filesystem::copy_file(pristine, dbx,
                                       std::filesystem::copy_options::overwrite_existing);
            FlipBit(dbx, example.offset, bit);

            const dbx::MailboxSummary summary = read();

            EXPECT_TRUE(summary.whole()) << visitor.lines;
            EXPECT_FALSE(summary.searched);
            expectTexts(Numbers(1, sizes.size()));
            // Blocks hold 0x200 bytes: a size flipped upwards still holds them, and nothing
            // disagrees.
            if (example.field == ownOffset || bit == 9) {
                EXPECT_NE(visitor.lines.find(example.says), std::string::npos) << visitor.lines;
            }
        }
    }
}

TEST_F(MailboxReaderTest, DamageCostsOnlyTheMessagesItTouches) {
    // Five messages, two entries a node: the root holds messages 2 and 4, and three leaves hold
    // 1, 3 and 5, the root's children before, between and after its entries. When the index
    // cannot be used, the file is searched.
    enum Index { walked, searched };
    const struct {
        const char *what;
        Damage damage;
        std::vector<std::uint64_t> read;
        bool whole;
        std::string says;
        Index index = walked;
        // The numbers the messages read get when they are not those of the places read.
        std::vector<std::uint64_t> numbers = {};
    } cases[] = {
        {"a block chain that loops",
         [&](const DbxLayout &l) {
             patch(l.messages[1].blocks.back() + 0x0c, l.messages[1].blocks.front());
         },
         {1, 3, 4, 5},
         false,
         "message 2 (info at "},
        {"a block that points past the end",
         [&](const DbxLayout &l) { patch(l.messages[2].blocks[0] + 0x0c, 0x7ffffff0); },
         {1, 2, 4, 5},
         false,
         "lies outside the file"},
        {"a block that uses more than a block holds",
         [&](const DbxLayout &l) { patch(l.messages[0].blocks[1] + 0x08, 0x0201); },
         {2, 3, 4, 5},
         false,
         "uses more bytes than it holds"},
        {"a chain that runs into the middle of a block",
         [&](const DbxLayout &l) {
             patch(l.messages[4].blocks[1] + 0x0c, l.messages[4].blocks[2] + 0x20);
         },
         {1, 2, 3, 4},
         false,
         "does not name itself"},
        {"an info object past the end",
         [&](const DbxLayout &l) { patch(l.nodes[0] + 0x18 + 0x0c, 0xfffffff0); },
         {1, 2, 3, 5},
         false,
         "message 4 (info at 0xfffffff0)"},
        {"an info object whose index is longer than itself",
         [&](const DbxLayout &l) { patch(l.messages[2].info + 4, 4); },
         {1, 2, 4, 5},
         false,
         "index is longer"},
        {"a tree node past the end",
         [&](const DbxLayout &l) { patch(l.nodes[0] + 0x18 + 0x0c + 4, 0x7ffffff0); },
         {1, 2, 3, 4},
         false,
         "tree node at 0x7ffffff0 lies outside the file"},
        {"a tree node inside a message block",
         [&](const DbxLayout &l) {
             patch(l.nodes[0] + 0x18 + 0x0c + 4, l.messages[3].blocks[0] + 0x10);
         },
         {1, 2, 3, 4},
         false,
         "does not name itself"},
        {"a tree that loops back to its root",
         [&](const DbxLayout &l) { patch(l.nodes.back() + 0x18 + 4, l.nodes[0]); },
         {1, 2, 3, 4, 5},
         true,
         "reached a second time"},
        {"two entries that name one message",
         [&](const DbxLayout &l) { patch(l.nodes[0] + 0x18, l.messages[0].info); },
         {1, 3, 4, 5},
         true,
         "1 index entries name a message already read",
         walked,
         {1, 2, 3, 4}},
        {"no root",
         [&](const DbxLayout &) { patch(dbxTreeRootField, 0); },
         {1, 2, 3, 4, 5},
         true,
         "it names no message tree",
         searched},
        {"neither root nor count",
         [&](const DbxLayout &) {
             patch(dbxTreeRootField, 0);
             patch(dbxMessageCountField, 0);
         },
         {1, 2, 3, 4, 5},
         true,
         "searched for messages",
         searched},
        {"a root past the end",
         [&](const DbxLayout &) { patch(dbxTreeRootField, 0x7ffffff0); },
         {1, 2, 3, 4, 5},
         true,
         "root node at 0x7ffffff0 lies outside the file",
         searched},
        {"a root that is a message block",
         [&](const DbxLayout &l) { patch(dbxTreeRootField, l.messages[1].blocks[0]); },
         {1, 2, 3, 4, 5},
         true,
         "leads to no messages",
         searched},
        {"a root that lost its entries and children",
         [&](const DbxLayout &l) {
             patch(l.nodes[0] + 0x08, 0);
             patch(l.nodes[0] + 0x10, 0);
         },
         {1, 2, 3, 4, 5},
         true,
         "tree leads to no message that can be read",
         searched},
        {"a file cut off before its tree",
         [&](const DbxLayout &l) { cut(l.messages[3].info); },
         {1, 2, 3},
         false,
         "counts 5 messages, but only 3 were found",
         searched},
        {"no message anywhere",
         [&](const DbxLayout &l) {
             patch(dbxTreeRootField, 0);
             for (const auto &message : l.messages)
                 patch(message.info, 0);
         },
         {},
         false,
         "the file's index is damaged",
         searched},
    };
    for (const auto &example : cases) {
        SCOPED_TRACE(example.what);
        const DbxLayout layout = writeInbox({1200, 1500, 700, 100, 1100},
                                            [](DbxWriter &writer) { writer.nodeEntries = 2; });
        ASSERT_EQ(layout.nodes.size(), 4u);
        example.damage(layout);

        const dbx::MailboxSummary summary = read();

        EXPECT_EQ(summary.whole(), example.whole);
        EXPECT_EQ(summary.searched, example.index == searched);
        EXPECT_NE(visitor.lines.find(example.says), std::string::npos) << visitor.lines;
        expectTexts(example.read);
        EXPECT_EQ(visitor.numbers(), example.numbers.empty() ? example.read : example.numbers);
    }
}

TEST_F(MailboxReaderTest, ReadsTheEntriesOfACutNodeThatLieInsideTheFile) {
    // One node of twelve entries at the end of the file. An entry is read when its message and
    // child lie inside the file; a node left without any is no index, and the file is searched.
    std::vector<std::size_t> sizes(12, 300);
    const DbxLayout layout = writeInbox(sizes);
    ASSERT_EQ(layout.nodes.size(), 1u);
    const std::uint64_t node = layout.nodes[0];
    const std::uint64_t end = std::filesystem::file_size(dbx);
    const std::string pristine = input / "pristine.dbx";
    std::filesystem::copy_file(dbx, pristine);
    for (std::uint64_t size = node; size < end; ++size) {
        SCOPED_TRACE("cut at " + std::to_string(size));
        std::filesystem::copy_file(pristine, dbx,
                                   std::filesystem::copy_options::overwrite_existing);
        cut(size);
        const std::uint64_t inside = size < node + 0x18 + 8 ? 0 : (size - node - 0x18 + 4) / 12;

        const dbx::MailboxSummary summary = read();

        EXPECT_EQ(summary.searched, inside == 0);
        expectTexts(Numbers(1, inside == 0 ? 12 : inside));
        EXPECT_EQ(summary.whole(), inside == 0 || inside == 12) << visitor.lines;
    }
}

TEST_F(MailboxReaderTest, CraftedIndexesTakeLinearTime) {
    const struct {
        const char *what;
        std::size_t messages;
        DbxWriter::TreeShape shape;
        bool everyEntryNamesTheFirst;
    } cases[] = {
        {"a tree 100 000 levels deep, leaning left", 100000, DbxWriter::TreeShape::LeftChain,
         false},
        {"a tree 100 000 levels deep, leaning right", 100000, DbxWriter::TreeShape::RightChain,
         false},
        {"120 KB of entries that name one message", 10240, DbxWriter::TreeShape::Balanced, true},
    };
    for (const auto &example : cases) {
        SCOPED_TRACE(example.what);
        const DbxLayout layout =
            writeInbox(std::vector<std::size_t>(example.messages, 0x20), [&](DbxWriter &writer) {
                writer.blockBody = 0x20;
                writer.shape = example.shape;
            });
        if (example.everyEntryNamesTheFirst)
            NameOneMessageInEveryEntry(dbx, layout, layout.messages[0].info);

        const dbx::MailboxSummary summary = readInLinearTime();

        EXPECT_TRUE(summary.whole());
        expectTexts(Numbers(1, example.everyEntryNamesTheFirst ? 1 : example.messages));
        EXPECT_EQ(visitor.numbers(), Numbers(1, visitor.messages.size()));
    }
}

TEST_F(MailboxReaderTest, MessagesThatShareBlocksAreEachReadWholeWithinLinearTime) {
    // The second message begins in the middle of the first one's chain.
    {
        DbxWriter writer(dbx);
        texts = {DistinctMessage(1, 1500)};
        writer.addSharing(writer.add(texts[0]).blocks[1]);
        texts.push_back(texts[0].substr(0x200));
        writer.finish();
    }
    EXPECT_TRUE(read().whole());
    expectTexts({1, 2});
    EXPECT_NE(visitor.lines.find("was read before"), std::string::npos) << visitor.lines;

    // Fifty thousand messages, each beginning one block further into one long chain: reading
    // them all whole would take time growing with the square of the file's size.
    constexpr std::size_t blocks = 50000;
    {
        DbxWriter writer(dbx);
        writer.blockBody = 0x10;
        texts = {std::string(blocks * 0x10, 'x')};
        const DbxLayout::Message first = writer.add(texts[0]);
        for (std::size_t block = 1; block < blocks; ++block)
            writer.addSharing(first.blocks[block]);
        writer.finish();
    }
    const dbx::MailboxSummary summary = readInLinearTime();
    EXPECT_FALSE(summary.whole());
    ASSERT_FALSE(visitor.messages.empty());
    visitor.messages.resize(1);
    expectTexts({1});
    EXPECT_NE(visitor.lines.find("more often than the file can hold"), std::string::npos);
}

TEST_F(MailboxReaderTest, TheVisitorCanStopTheReading) {
    writeInbox({100, 200, 300, 400});
    visitor.stopAfter = 2;
    const auto summary = dbx::ReadMailbox(dbx, visitor);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.read, 2u);
    expectTexts({1, 2});
}

} // namespace
} // namespace qb::test
