// The formats of quillbarrow-export, read back by independent readers: the folder tree for every
// format, .eml files beside the converter's, mbox quoting through Python's mailbox module, a
// Maildir through notmuch, and text with its attachments beside it. Through the program itself,
// over stores the tests make.
#include "cli/message_names.h"
#include "mail/mail_time.h"

#include "support/dbx_writer.h"
#include "support/program_run.h"
#include "support/pst/pst_store_writer.h"
#include "support/test_platform.h"

#include "cli_programs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

namespace qb::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

constexpr std::int64_t march2024 = 1709474709; // 2024-03-03 14:05:09 UTC
const std::string quotedBody = "Hello\r\nFrom the start of a line\r\n>From quoted once\r\n";
const std::string noteBytes = std::string("note\0\xff bytes", 12);

pstmaker::Message Mail(const std::string &subject, std::int64_t time, bool read = true) {
    pstmaker::Message message;
    message.subject = subject;
    message.senderName = "Ann";
    message.senderAddress = "ann@example.org";
    pstmaker::Recipient bob;
    bob.name = "Bob";
    bob.address = "bob@example.org";
    message.recipients = {bob};
    message.plainBody = "Text of " + subject + "\r\n";
    message.deliveryTime = message.submitTime = time;
    message.read = read;
    return message;
}

pstmaker::Attachment File(const std::string &name, const std::string &bytes) {
    pstmaker::Attachment attachment;
    attachment.longFileName = name;
    attachment.data = bytes;
    attachment.mimeType = "application/octet-stream";
    return attachment;
}

/// The name of a message's text or .eml file, as the program names it in this time zone.
std::string FileName(const std::string &subject, std::int64_t time, const std::string &ending) {
    return cli::MessageStem(mail::LocalTime(mail::Instant(std::chrono::seconds(time))), subject) +
           ending;
}

/// Runs a shell command and gives its standard output; the test fails when it fails.
std::string Shell(const std::string &command) {
    const ProgramRun run = RunProgram("/bin/sh", {"-c", command});
    EXPECT_EQ(run.exitCode, 0) << command << "\n" << run.errors;
    return run.output;
}

/// The text with the MIME boundaries GMime draws at random made equal.
std::string WithoutBoundaries(const std::string &text) {
    static const std::regex boundary("=-[A-Za-z0-9+/]{20}");
    return std::regex_replace(text, boundary, "=-boundary");
}

bool Installed(const std::string &program) {
    return RunProgram("/bin/sh", {"-c", "command -v " + program}).exitCode == 0;
}

/// A store with mail in folders, a subfolder, the top folder and folders whose names are no
/// safe file names; and an Outlook Express mailbox. Made once for the suite.
class Formats : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = new TempFolder;
        pstmaker::PstStoreWriter store(*folder / "mail.pst", "Mail");
        const auto top = store.topOfPersonalFolders();
        const auto inbox = store.addFolder(top, "Inbox");
        pstmaker::Message first = Mail("First", march2024);
        first.attachments = {File("notes.txt", noteBytes), File("notes.txt", "other notes")};
        auto forwarded = std::make_shared<pstmaker::Message>(Mail("Forwarded", march2024 - 60));
        pstmaker::Attachment attached;
        attached.method = pstmaker::Attachment::Method::embeddedMessage;
        attached.displayName = "Forwarded";
        attached.message = forwarded;
        first.attachments.push_back(attached);
        store.addMessage(inbox, first);
        pstmaker::Message second = Mail("Second", march2024 + 60, false);
        second.plainBody = quotedBody;
        store.addMessage(inbox, second);
        store.addMessage(store.addFolder(inbox, "a/b"), Mail("Deeper", march2024 + 120));
        store.addMessage(store.addFolder(top, ".."), Mail("Dots", march2024 + 180));
        store.addMessage(top, Mail("At the top", march2024 + 240));
        store.finish();

        DbxWriter outbox(*folder / "Outbox.dbx");
        outbox.add(Eml("Express one", DateAt(1), "From here on\r\nbody\r\n"));
        outbox.add(Eml("Express two", DateAt(2), "second body\r\n"));
        outbox.finish();
    }
    static void TearDownTestSuite() { delete folder; }

    /// Runs the program into a fresh folder named after the arguments and returns that folder.
    std::string run(const Strings &arguments, int exitCode = 0) {
        const std::string out = *folder / ("out-" + std::to_string(++runs));
        Strings all{"-q", "-o", out};
        all.insert(all.end(), arguments.begin(), arguments.end());
        all.insert(all.end(), {*folder / "mail.pst", *folder / "Outbox.dbx"});
        const ProgramRun result = RunProgram(BuiltProgram("quillbarrow-export"), all);
        EXPECT_EQ(result.exitCode, exitCode) << result.errors;
        errors = result.errors;
        return out;
    }

    static TempFolder *folder;
    static int runs;
    std::string errors;
};

TempFolder *Formats::folder = nullptr;
int Formats::runs = 0;

TEST_F(Formats, EveryFormatMirrorsTheFoldersAndFlatKeepsOneFolder) {
    const std::string first = FileName("First", march2024, "");
    const auto textTree = [&](const std::string &ending) {
        return Strings{"Outbox",
                       "Outbox/" + StemAt(1, "Express one") + ending,
                       "Outbox/" + StemAt(2, "Express two") + ending,
                       "mail.pst",
                       "mail.pst/" + FileName("At the top", march2024 + 240, ending),
                       "mail.pst/Inbox",
                       "mail.pst/Inbox/" + first + ending,
                       "mail.pst/Inbox/" + FileName("Second", march2024 + 60, ending),
                       "mail.pst/Inbox/a-b",
                       "mail.pst/Inbox/a-b/" + FileName("Deeper", march2024 + 120, ending),
                       "mail.pst/__",
                       "mail.pst/__/" + FileName("Dots", march2024 + 180, ending)};
    };
    const struct {
        Strings arguments;
        Strings tree;
    } cases[] = {
        {{}, textTree(".txt")},
        {{"-f", "eml"}, textTree(".eml")},
        {{"-f", "mbox"},
         {"Outbox.mbox", "mail.pst", "mail.pst.mbox", "mail.pst/Inbox", "mail.pst/Inbox.mbox",
          "mail.pst/Inbox/a-b.mbox", "mail.pst/__.mbox"}},
        {{"-f", "mbox", "--flat"},
         {"Inbox.mbox", "Outbox.mbox", "__.mbox", "a-b.mbox", "mail.pst.mbox"}},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.arguments.empty() ? "text" : each.arguments.back());
        Strings tree = each.tree;
        std::sort(tree.begin(), tree.end());
        EXPECT_EQ(TreeOf(run(each.arguments)), tree);
    }

    const std::string flat = run({"--flat", "-f", "maildir"});
    EXPECT_EQ(FileNamesIn(flat), (Strings{"cur", "new", "tmp"}));
    EXPECT_EQ(FileNamesIn(flat + "/cur").size(), 7u);
    const std::string maildirs = run({"-f", "maildir"});
    for (const char *maildir :
         {"Outbox", "mail.pst", "mail.pst/Inbox", "mail.pst/Inbox/a-b", "mail.pst/__"})
        EXPECT_TRUE(fs::is_directory(maildirs + "/" + maildir + "/tmp")) << maildir;
    EXPECT_EQ(FileNamesIn(maildirs + "/mail.pst/Inbox/cur").size(), 2u);
}

TEST_F(Formats, EmlOfAnOutlookExpressMessageIsWhatTheConverterWrites) {
    const std::string out = run({"-f", "eml"});
    TempFolder converted;
    ASSERT_EQ(RunProgram(BuiltProgram("Splinterbox"), {*folder / "Outbox.dbx", converted.path()})
                  .exitCode,
              0);
    EXPECT_TRUE(ReadFile(out + "/Outbox/" + StemAt(1, "Express one") + ".eml") ==
                converted.read("Outbox-00001.eml"));
    EXPECT_TRUE(ReadFile(out + "/Outbox/" + StemAt(2, "Express two") + ".eml") ==
                converted.read("Outbox-00002.eml"));
}

TEST_F(Formats, EmlOfAnOutlookMessageCarriesItsAttachmentsForAnIndependentReader) {
    const std::string out = run({"-f", "eml"});
    // Python's email package, a reader that owes nothing to GMime.
    const std::string parts =
        Shell("python3 -c 'import email, sys\n"
              "m = email.message_from_binary_file(open(sys.argv[1], \"rb\"))\n"
              "for p in m.walk():\n"
              "    if p.get_filename() or p.get_content_type() == \"message/rfc822\":\n"
              "        data = p.get_payload(decode=True) or b\"\"\n"
              "        print(p.get_content_type(), p.get_filename(), data.hex())' \"" +
              out + "/mail.pst/Inbox/" + FileName("First", march2024, ".eml") + "\"");
    const auto hex = [](const std::string &bytes) {
        std::string text;
        for (const unsigned char c : bytes) {
            const char digits[] = "0123456789abcdef";
            text += digits[c >> 4];
            text += digits[c & 15];
        }
        return text;
    };
    EXPECT_NE(parts.find("notes.txt " + hex(noteBytes)), std::string::npos) << parts;
    EXPECT_NE(parts.find("notes.txt " + hex("other notes")), std::string::npos) << parts;
    EXPECT_NE(parts.find("message/rfc822"), std::string::npos) << parts;
}

TEST_F(Formats, MboxQuotesFromLinesSoThatAReaderFindsEveryMessageWhole) {
    const std::string out = run({"-f", "mbox", "--flat"});
    // Python's mailbox module splits at "From " lines and leaves the quoting to its reader.
    const std::string script =
        "python3 -c 'import mailbox, sys\n"
        "for m in mailbox.mbox(sys.argv[1]):\n"
        "    print(m.get_from().split()[0], m[\"Subject\"], repr(m.get_payload()))' ";
    const std::string inbox = Shell(script + "\"" + out + "/Inbox.mbox\"");
    EXPECT_NE(inbox.find("ann@example.org Second 'Hello\\n>From the start of a line\\n>>From "
                         "quoted once\\n'"),
              std::string::npos)
        << inbox;
    EXPECT_EQ(std::count(inbox.begin(), inbox.end(), '\n'), 2) << inbox;
    const std::string outbox = Shell(script + "\"" + out + "/Outbox.mbox\"");
    EXPECT_NE(outbox.find("ann@example.org Express one '>From here on\\nbody\\n'"),
              std::string::npos)
        << outbox;
    EXPECT_EQ(ReadFile(out + "/Outbox.mbox").substr(0, 46),
              "From ann@example.org Tue Jul  1 10:52:01 2003\n");
}

TEST_F(Formats, AnMboxCutShortIsCompletedBySkipExistingAndNumberedOtherwise) {
    const std::string out = run({"-f", "mbox", "--flat"});
    const std::string whole = ReadFile(out + "/Inbox.mbox");
    // As a run stopped after the first message leaves it.
    fs::resize_file(out + "/Inbox.mbox", whole.find("\nFrom ") + 1);
    const Strings arguments{"-q", "--flat", "-f", "mbox", "-o", out, *folder / "mail.pst"};
    Strings skip = arguments;
    skip.push_back("--skip-existing");
    const ProgramRun rerun = RunProgram(BuiltProgram("quillbarrow-export"), skip);
    EXPECT_EQ(rerun.exitCode, 0) << rerun.errors;
    EXPECT_EQ(WithoutBoundaries(ReadFile(out + "/Inbox.mbox")), WithoutBoundaries(whole));
    EXPECT_EQ(RunProgram(BuiltProgram("quillbarrow-export"), arguments).exitCode, 0);
    EXPECT_EQ(WithoutBoundaries(ReadFile(out + "/Inbox (2).mbox")), WithoutBoundaries(whole));
}

TEST_F(Formats, AMaildirIsReadBackWholeByNotmuch) {
    if (!Installed("notmuch"))
        GTEST_SKIP() << "notmuch is not installed (tools/install-deps installs it)";
    const std::string out = run({"-f", "maildir"});
    const std::string config = *folder / "notmuch-config";
    std::ofstream(config) << "[database]\npath=" << out << "\n[maildir]\nsynchronize_flags=true\n";
    const std::string notmuch = "NOTMUCH_CONFIG='" + config + "' notmuch ";
    Shell(notmuch + "new --quiet");
    EXPECT_EQ(Shell(notmuch + "count '*'"), "7\n");
    // Only the message the store keeps as unread lacks the S flag; Outlook Express mailboxes
    // do not say.
    EXPECT_EQ(Shell(notmuch + "search --output=files tag:unread and not folder:Outbox"),
              out + "/mail.pst/Inbox/cur/" + std::to_string(march2024 + 60) + ".Q2." +
                  Shell("hostname").substr(0, Shell("hostname").size() - 1) + ":2,\n");
    EXPECT_EQ(Shell(notmuch + "count tag:attachment"), "1\n");
    EXPECT_EQ(Shell(notmuch + "count 'folder:\"mail.pst/Inbox/a-b\"'"), "1\n");
    EXPECT_EQ(Shell(notmuch + "count subject:Dots"), "1\n");
}

TEST_F(Formats, TextWithAttachmentsKeepsTheTextAndSavesEachAttachmentBesideIt) {
    const std::string plain = run({});
    const std::string out = run({"-f", "text", "-a"});
    const std::string first = FileName("First", march2024, "");
    // The text is today's text; only the folder beside it is new.
    Strings expected = TreeOf(plain);
    for (const char *name :
         {" files", " files/notes.txt", " files/notes (2).txt", " files/Forwarded.eml"})
        expected.push_back("mail.pst/Inbox/" + first + name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(TreeOf(out), expected);
    for (const std::string &path : TreeOf(plain)) {
        if (!fs::is_directory(plain + "/" + path)) {
            EXPECT_TRUE(ReadFile(plain + "/" + path) == ReadFile(out + "/" + path)) << path;
        }
    }
    const std::string attachments = out + "/mail.pst/Inbox/" + first + " files/";
    EXPECT_TRUE(ReadFile(attachments + "notes.txt") == noteBytes);
    EXPECT_EQ(ReadFile(attachments + "notes (2).txt"), "other notes");
    EXPECT_NE(ReadFile(attachments + "Forwarded.eml").find("Subject: Forwarded"),
              std::string::npos);
}

TEST(BadInput, APartThatCannotBeWrittenIsNamedAndTheRestOfTheMessageWritten) {
    TempFolder folder;
    pstmaker::PstStoreWriter store(folder / "bad.pst", "Bad");
    pstmaker::Message message = Mail("Odd parts", march2024);
    pstmaker::Attachment reference;
    reference.method = pstmaker::Attachment::Method::byReference;
    reference.longFileName = "far away.doc";
    reference.pathName = "\\\\server\\share\\far away.doc";
    message.attachments = {reference, File("kept.txt", "kept")};
    store.addMessage(store.addFolder(store.topOfPersonalFolders(), "Inbox"), message);
    store.finish();
    for (const char *format : {"eml", "mbox", "maildir", "text"}) {
        SCOPED_TRACE(format);
        const std::string out = folder / (std::string("out-") + format);
        Strings arguments{"-f", format, "-o", out, folder / "bad.pst"};
        if (std::string(format) == "text")
            arguments.push_back("-a");
        const ProgramRun run = RunProgram(BuiltProgram("quillbarrow-export"), arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.errors.find(folder / "bad.pst: Inbox: \"Odd parts\": "), std::string::npos)
            << run.errors;
        EXPECT_NE(run.errors.find("far away.doc"), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find("1 message written"), std::string::npos) << run.errors;
    }
    EXPECT_EQ(ReadFile(folder / ("out-text/bad.pst/Inbox/" + FileName("Odd parts", march2024, "") +
                                 " files/kept.txt")),
              "kept");
}

} // namespace
} // namespace qb::test
