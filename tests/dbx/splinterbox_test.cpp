#include "cli/started_program.h"
#include "dbx/conversion.h"
#include "mailbox_fixture.h"
#include "support/program_run.h"
#include "support/sample_files.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qb::test {
namespace {

/// Runs the built converter with the arguments, keeping what it prints.
ProgramRun RunSplinterbox(const std::vector<std::string> &arguments) {
    return RunProgram(QB_SPLINTERBOX, arguments);
}

std::vector<std::string> FileNames(const std::string &folder) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string EmlName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "Inbox-%05d.eml", index);
    return name;
}

class SplinterboxTest : public MailboxTest {
  protected:
    ProgramRun convert() { return RunSplinterbox({dbx, output.path()}); }

    void expectWritten(const std::vector<int> &indices) {
        std::vector<std::string> names;
        for (int index : indices)
            names.push_back(EmlName(index));
        EXPECT_EQ(FileNames(output.path()), names);
        for (int index : indices)
            EXPECT_TRUE(output.read(EmlName(index)) == texts[index - 1]) << EmlName(index);
    }

    void emptyOutput() {
        std::filesystem::remove_all(output.path());
        std::filesystem::create_directory(output.path());
    }

    TempFolder output;
};

TEST_F(SplinterboxTest, WritesEveryMessageByteForByteInTreeOrder) {
    // Sizes around the block body, a message of many blocks, an empty one; nodes of two entries
    // give a tree of several levels whose in-order walk must keep the messages' order.
    const std::vector<std::size_t> sizes{0, 1, 0x1ff, 0x200, 0x201, 5000, 300, 70000, 20, 1024};
    for (bool indirect : {false, true}) {
        SCOPED_TRACE(indirect ? "first block in the data area" : "first block in the index");
        emptyOutput();
        const DbxLayout layout = writeInbox(sizes, [&](DbxWriter &writer) {
            writer.nodeEntries = 2;
            writer.indirectFirstBlock = indirect;
        });
        ASSERT_GT(layout.nodes.size(), 3u);

        const ProgramRun run = convert();

        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.errors, "");
        expectWritten({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    }
}

TEST_F(SplinterboxTest, WritesAMessageLargerThanItsWriteBufferWhole) {
    writeInbox({9 * 1024 * 1024 + 17, 100});
    EXPECT_EQ(convert().exitCode, 0);
    expectWritten({1, 2});
}

TEST_F(SplinterboxTest, NeverReplacesAFileAndTakesTheNextFreeName) {
    output.write("Inbox-00001.eml", "the user's own file");
    writeInbox({100, 200});
    EXPECT_EQ(convert().exitCode, 0);
    // A second Inbox.dbx, from another identity, converted into the same folder.
    const std::vector<std::string> first = texts;
    writeInbox({300, 400});
    EXPECT_EQ(convert().exitCode, 0);

    EXPECT_EQ(FileNames(output.path()),
              (std::vector<std::string>{"Inbox-00001-2.eml", "Inbox-00001-3.eml", "Inbox-00001.eml",
                                        "Inbox-00002-2.eml", "Inbox-00002.eml"}));
    EXPECT_EQ(output.read("Inbox-00001.eml"), "the user's own file");
    EXPECT_EQ(output.read("Inbox-00001-2.eml"), first[0]);
    EXPECT_EQ(output.read("Inbox-00002.eml"), first[1]);
    EXPECT_EQ(output.read("Inbox-00001-3.eml"), texts[0]);
    EXPECT_EQ(output.read("Inbox-00002-2.eml"), texts[1]);
}

TEST_F(SplinterboxTest, FilesWithoutMessagesWriteNothingAndSayWhy) {
    const std::string notDbx = input / "notes.dbx";
    input.write("notes.dbx", std::string(0x3000, 'x'));
    const std::string tooShort = input / "short.dbx";
    input.write("short.dbx", "\xcf\xad\x12\xfe\xc5\xfd\x74\x6f");
    const std::string fifo = input / "pipe.dbx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto database = [&](const std::string &name, DbxWriter::Kind kind, int messages) {
        DbxWriter writer(input / name, kind);
        for (int i = 0; i < messages; ++i)
            writer.add(DistinctMessage(i, 100));
        writer.finish();
        return input / name;
    };
    const struct {
        std::string path;
        int exitCode;
        std::string says;
    } cases[] = {
        {database("Empty.dbx", DbxWriter::Kind::Messages, 0), 0, "holds no messages"},
        {database("Folders.dbx", DbxWriter::Kind::Folders, 3), 0, "folder list"},
        {database("Pop3uidl.dbx", DbxWriter::Kind::Pop3uidl, 2), 0, "downloaded message ids"},
        {database("Offline.dbx", DbxWriter::Kind::Offline, 2), 0, "offline database"},
        {notDbx, 2, "not an Outlook Express database"},
        {tooShort, 2, "not an Outlook Express database"},
        {input / "missing.dbx", 2, "No such file"},
        {"", 2, "No such file"},
        // Reading would wait for a writer that never comes, or for ever.
        {fifo, 2, "Not a regular file (a FIFO, a device or a socket): " + fifo},
        {"/dev/zero", 2, "Not a regular file (a FIFO, a device or a socket): /dev/zero"},
        {input.path(), 2, "Is a directory"},
    };
    for (const auto &example : cases) {
        SCOPED_TRACE(example.path);
        const auto start = std::chrono::steady_clock::now();
        const ProgramRun run = RunSplinterbox({example.path, output.path()});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(run.exitCode, example.exitCode);
        EXPECT_NE(run.errors.find(example.says), std::string::npos) << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
        EXPECT_TRUE(FileNames(output.path()).empty());
    }
}

TEST_F(SplinterboxTest, ExitsWithOneOnlyWhenAMessageIsLost) {
    const auto patch = [this](std::uint64_t offset, std::uint32_t value) {
        PatchUint32(dbx, offset, value);
    };
    const struct {
        const char *what;
        std::function<void(const DbxLayout &)> damage;
        int exitCode;
        std::vector<int> written;
        std::string says;
    } cases[] = {
        {"a tree that loops back to its root",
         [&](const DbxLayout &l) { patch(l.nodes.back() + 0x18 + 4, l.nodes[0]); },
         0,
         {1, 2, 3, 4, 5},
         "reached a second time"},
        {"a header whose root and count are gone",
         [&](const DbxLayout &) {
             patch(dbxTreeRootField, 0);
             patch(dbxMessageCountField, 0);
         },
         0,
         {1, 2, 3, 4, 5},
         "the whole file is searched for messages"},
        {"a block chain that loops",
         [&](const DbxLayout &l) {
             patch(l.messages[1].blocks.back() + 0x0c, l.messages[1].blocks.front());
         },
         1,
         {1, 3, 4, 5},
         "Splinterbox: 4 messages written, 1 damaged\n"},
        {"a file cut off in its last tree node",
         [&](const DbxLayout &) {
             std::filesystem::resize_file(dbx, std::filesystem::file_size(dbx) - 8);
         },
         1,
         {1, 2, 3, 4},
         "4 messages written, 0 damaged, more lost where the index is damaged (1 place)"},
        {"an index that leads nowhere and no message to be found",
         [&](const DbxLayout &l) {
             patch(dbxTreeRootField, 0x7ffffff0);
             for (const auto &message : l.messages)
                 patch(message.info, 0);
         },
         1,
         {},
         "the file's index is damaged"},
    };
    for (const auto &example : cases) {
        SCOPED_TRACE(example.what);
        emptyOutput();
        example.damage(writeInbox({1200, 1500, 700, 100, 1100},
                                  [](DbxWriter &writer) { writer.nodeEntries = 2; }));

        const ProgramRun run = convert();

        EXPECT_EQ(run.exitCode, example.exitCode);
        EXPECT_NE(run.errors.find(example.says), std::string::npos) << run.errors;
        expectWritten(example.written);
    }
}

TEST_F(SplinterboxTest, ASignalStopsAfterTheMessageBeingWrittenAndLeavesNoStagedFile) {
    writeInbox(std::vector<std::size_t>(4000, 3000));
    const struct {
        int signal;
        int exitCode;
    } cases[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto &each : cases) {
        SCOPED_TRACE(each.signal);
        int exitCode = 0;
        // A run that ends before it is seen half-way (a slow machine) is tried again.
        for (int attempt = 0; attempt < 5 && exitCode == 0; ++attempt) {
            emptyOutput();
            StartedProgram run(QB_SPLINTERBOX, {dbx, output.path()}, input / "errors");
            while (run.running() && FileNames(output.path()).size() < 10)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            run.signal(each.signal);
            exitCode = run.wait();
        }
        ASSERT_NE(exitCode, 0) << "every conversion ended before the signal came";
        EXPECT_EQ(exitCode, each.exitCode);
        const std::vector<std::string> names = FileNames(output.path());
        ASSERT_LT(names.size(), 4000u);
        std::vector<int> written(names.size());
        std::iota(written.begin(), written.end(), 1);
        expectWritten(written);
    }
}

TEST_F(SplinterboxTest, RemovesStagedFilesOfKilledConversionsWhenItStarts) {
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = ".quillbarrow-" + std::to_string(gone) + "-0123456789abcdef.part";
    const std::string running = ".quillbarrow-" + std::to_string(::getpid()) + "-00000000.part";
    output.write(stale, "half a message");
    output.write(running, "still being written");
    writeInbox({100});
    EXPECT_EQ(convert().exitCode, 0);
    EXPECT_EQ(FileNames(output.path()), (std::vector<std::string>{running, EmlName(1)}));
}

TEST_F(SplinterboxTest, ExplainsItselfAndRefusesAWrongCommandLine) {
    const ProgramRun help = RunSplinterbox({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("Usage: Splinterbox DBX-FILE OUTPUT-FOLDER"), std::string::npos);
    EXPECT_NE(help.output.find("-V, --version"), std::string::npos);

    writeInbox({100});
    EXPECT_EQ(RunSplinterbox({dbx}).exitCode, 2);
    const ProgramRun noFolder = RunSplinterbox({dbx, output / "missing"});
    EXPECT_EQ(noFolder.exitCode, 2);
    EXPECT_NE(noFolder.errors.find("missing"), std::string::npos);
}

class SampleSplinterboxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string samples = RequireSamples();
        if (!samples.empty())
            inbox = samples + "/inbox-28.dbx";
    }
    std::string inbox;
    TempFolder output;
};

TEST_F(SampleSplinterboxTest, ReadsTheHeadersOfEveryMessageOfTheSampleInbox) {
    const ProgramRun run = RunSplinterbox({inbox, output.path()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errors, "");

    // The window's header scan: lines end in CR LF, a header is found by its name and colon.
    const auto header = [](const std::string &text, const std::string &name) {
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = std::min(text.find("\r\n", start), text.size());
            if (text.compare(start, name.size() + 1, name + ":") == 0)
                return text.substr(start + name.size() + 1, end - start - name.size() - 1);
            start = end + 2;
        }
        return std::string();
    };
    const std::vector<std::string> names = FileNames(output.path());
    ASSERT_EQ(names.size(), 28u);
    std::uintmax_t bytes = 0;
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        const std::string text = output.read(name);
        bytes += text.size();
        EXPECT_NE(header(text, "Date").find("2025"), std::string::npos);
        EXPECT_NE(header(text, "From").find('@'), std::string::npos);
        EXPECT_NE(header(text, "To").find('@'), std::string::npos);
        EXPECT_NE(header(text, "Subject"), "");
    }
    EXPECT_EQ(names.front(), "inbox-28-00001.eml");
    EXPECT_EQ(header(output.read("inbox-28-00002.eml"), "Subject"), " Mensagem teste");
    EXPECT_EQ(bytes, 367423u);
}

TEST_F(SampleSplinterboxTest, FindsTheMessagesOfADamagedCopyOfTheSampleInbox) {
    TempFolder copies;
    const std::string copy = copies / "inbox-28.dbx";
    const struct {
        const char *what;
        std::function<void()> damage;
        int exitCode;
        std::size_t written;
    } cases[] = {
        // The tree lies at 0x1e254; the first three messages lie wholly before 123 646.
        {"cut inside its tree", [&] { std::filesystem::resize_file(copy, 123646); }, 1, 3},
        {"its root and count zeroed",
         [&] {
             PatchUint32(copy, dbxTreeRootField, 0);
             PatchUint32(copy, dbxMessageCountField, 0);
         },
         0, 28},
        {"one bit of its root node's own offset flipped", [&] { FlipBit(copy, 0x1e254, 4); }, 0,
         28},
    };
    for (const auto &example : cases) {
        SCOPED_TRACE(example.what);
        std::filesystem::remove_all(output.path());
        std::filesystem::create_directory(output.path());
        std::filesystem::copy_file(inbox, copy, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::permissions(copy, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        example.damage();

        const ProgramRun run = RunSplinterbox({copy, output.path()});

        EXPECT_EQ(run.exitCode, example.exitCode) << run.errors;
        EXPECT_EQ(FileNames(output.path()).size(), example.written);
    }
}

TEST(FileStemTest, NamesFilesAfterTheDatabaseWithoutHidingThem) {
    const std::string longName(190, 'a');
    const struct {
        std::string path;
        std::string stem;
    } cases[] = {
        {"/stores/Inbox.dbx", "Inbox"},
        {"/stores/Sent Items.DBX", "Sent Items"},
        {"Drafts.dbx", "Drafts"},
        {"/stores/archive.dbx.dbx", "archive.dbx"},
        {"/stores/notes", "notes"},
        {"/stores/..hidden.dbx", "hidden"},
        {"/stores/.dbx", "dbx"},
        {"/stores/...", "mailbox"},
        {"", "mailbox"},
        {"/stores/" + longName + "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9.dbx",
         longName + "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"},
    };
    for (const auto &example : cases)
        EXPECT_EQ(dbx::FileStemFor(example.path), example.stem) << example.path;
}

} // namespace
} // namespace qb::test
