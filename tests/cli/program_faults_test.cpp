// Faults found in the built quillbarrow-export, each run through the program itself.
#include "cli/output_folder.h"

#include "support/dbx_writer.h"
#include "support/program_run.h"
#include "support/test_platform.h"

#include "cli_programs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace qb::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string replacementCharacter = "\xEF\xBF\xBD";

/// The Outlook Express record of a message with these header values and body.
std::string Record(const std::string &subject, const std::string &date, const std::string &body,
                   const std::string &from = "Ann <ann@example.org>",
                   const std::string &to = "bob@example.org") {
    return "From: " + from + "\r\nTo: " + to + "\r\nSubject: " + subject +
           "\r\nDate Received: " + date + "\r\n\r\n" + body;
}

/// A multipart body nested levels deep around one text part, and the body as it stands.
std::string DeepBody(int levels) {
    std::string body;
    for (int level = 0; level < levels; ++level)
        body += "--b" + std::to_string(level) + "\r\nContent-Type: multipart/mixed; boundary=\"b" +
                std::to_string(level + 1) + "\"\r\n\r\n";
    body +=
        "--b" + std::to_string(levels) + "\r\nContent-Type: text/plain\r\n\r\nthe deep text\r\n";
    for (int level = levels; level >= 0; --level)
        body += "--b" + std::to_string(level) + "--\r\n";
    return body;
}

TEST(ProgramFaults, MessagesGMimeRefusesOrCannotSplitAreWrittenWithAllTheirText) {
    const std::string deepBody = DeepBody(1100);
    const std::string folded =
        " folded: x\r\nFrom: a@example.org\r\nSubject: Folded\r\nDate: " + DateAt(33) +
        "\r\n\r\nbody\r\n";
    const struct {
        const char *what;
        std::string message;
        std::string name;
        std::string record;
    } cases[] = {
        {"a NUL byte in the body: the text after it is kept",
         Eml("Nul", DateAt(31), "before\0after\r\n"s), StemAt(31, "Nul") + ".txt",
         Record("Nul", DateAt(31), "before" + replacementCharacter + "after\r\n")},
        {"a first line without a colon: the whole text is the body",
         "just some words\r\nand no header at all\r\n",
         cli::MessageStem(cli::missingTime, "") + ".txt",
         Record("", "", "just some words\r\nand no header at all\r\n", "", "")},
        {"a folded line first: the whole text is the body", folded, StemAt(33, "Folded") + ".txt",
         Record("Folded", DateAt(33), folded, "a@example.org", "")},
        {"parts nested deeper than GMime follows: the body as it stands",
         "From: Ann <ann@example.org>\r\nTo: bob@example.org\r\nSubject: Deep\r\nDate: " +
             DateAt(34) +
             "\r\nMIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"b0\"" +
             "\r\n\r\n" + deepBody,
         StemAt(34, "Deep") + ".txt", Record("Deep", DateAt(34), deepBody)},
        {"a NUL in the subject: the name keeps its end", Eml("Sub\0ject"s, DateAt(35), "text"),
         StemAt(35, "Subject") + ".txt", Record("Sub\0ject"s, DateAt(35), "text")},
    };
    TempFolder folder;
    DbxWriter inbox(folder / "Inbox.dbx");
    for (const auto &each : cases)
        inbox.add(each.message);
    inbox.finish();

    const ProgramRun run = RunProgram(BuiltProgram("quillbarrow-export"),
                                      {"--flat", "-o", folder / "out", folder / "Inbox.dbx"});

    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors, "1 store, 5 messages written, 0 failed\n");
    for (const auto &each : cases) {
        SCOPED_TRACE(each.what);
        EXPECT_TRUE(folder.read("out/" + each.name) == each.record) << each.name;
    }
}

TEST(ProgramFaults, NamedPipesAndDevicesAreRefusedAtOnceWithoutBeingOpened) {
    TempFolder folder;
    fs::create_directory(folder / "stores");
    ASSERT_EQ(::mkfifo((folder / "given.pst").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((folder / "stores/found.dbx").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", folder / "device.pst");
    const auto started = std::chrono::steady_clock::now();
    // timeout ends a program that waits on a pipe, so that a return of the fault fails the test
    // instead of hanging it.
    const ProgramRun run = RunProgram(
        "/usr/bin/timeout", {"20", BuiltProgram("quillbarrow-export"), "-o", folder / "out",
                             folder / "given.pst", folder / "stores", folder / "device.pst"});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    for (const std::string &problem :
         {folder / "given.pst: a named pipe, not a file; skipped",
          folder / "stores/found.dbx: a named pipe, not a file; skipped",
          folder / "device.pst: a device, not a file; skipped"})
        EXPECT_NE(run.errors.find(problem), std::string::npos) << run.errors;
    EXPECT_TRUE(run.errors.ends_with("0 stores, 0 messages written, 3 failed\n")) << run.errors;
}

/// Runs quillbarrow-export with the arguments into a folder on a disk of 64 KiB and copies what
/// it left there into keep, hidden files included: a small tmpfs in a mount namespace of its
/// own where the system allows one (root), else a file size limit of 64 KiB (ulimit -f), which
/// fails a write part-way as a full disk does but only for a file that grows beyond it.
ProgramRun RunOnSmallDisk(const std::string &disk, const std::string &keep,
                          const std::vector<std::string> &arguments, bool &tmpfs) {
    const std::string program = BuiltProgram("quillbarrow-export");
    std::vector<std::string> mounted{"-m",
                                     "/bin/sh",
                                     "-c",
                                     R"(mount -t tmpfs -o size=64k quillbarrow-test "$1" || exit 97
disk=$1; keep=$2; shift 2
"$@" -o "$disk"; code=$?
cp -a "$disk/." "$keep/"; exit $code)",
                                     "sh",
                                     disk,
                                     keep,
                                     program};
    mounted.insert(mounted.end(), arguments.begin(), arguments.end());
    ProgramRun run = RunProgram("/usr/bin/unshare", mounted);
    tmpfs = run.exitCode != 97 && run.errors.find("unshare failed") == std::string::npos &&
            run.exitCode != -1;
    if (tmpfs)
        return run;
    std::vector<std::string> limited{
        "-c", "trap '' XFSZ; ulimit -f 128; exec \"$@\"", "sh", program, "-o", keep};
    limited.insert(limited.end(), arguments.begin(), arguments.end());
    return RunProgram("/bin/sh", limited);
}

TEST(ProgramFaults, OnAFullDiskEveryFileIsWholeOrAbsentAndTheCountIsTrue) {
    TempFolder folder;
    DbxWriter inbox(folder / "Inbox.dbx");
    std::vector<std::string> records;
    for (int second = 0; second < 60; ++second) {
        const std::string body = std::string(1500, 'a' + second % 26) + "\r\n";
        inbox.add(Eml("Message", DateAt(second), body));
        records.push_back(Record("Message", DateAt(second), body));
    }
    inbox.finish();
    for (const bool oneFile : {true, false}) {
        SCOPED_TRACE(oneFile ? "--one-file" : "one file per message");
        const std::string keep = folder / (oneFile ? "kept-one" : "kept-each");
        fs::create_directories(folder / "disk");
        fs::create_directories(keep);
        std::vector<std::string> arguments{"--flat", folder / "Inbox.dbx"};
        if (oneFile)
            arguments.insert(arguments.begin(), "--one-file");
        bool tmpfs = false;
        const ProgramRun run = RunOnSmallDisk(folder / "disk", keep, arguments, tmpfs);
        std::cout << "full disk: " << (tmpfs ? "a 64 KiB tmpfs" : "a 64 KiB file size limit")
                  << "\n";
        if (!oneFile && !tmpfs)
            GTEST_SKIP() << "one file per message needs the tmpfs to fill the disk";

        EXPECT_EQ(run.exitCode, 1) << run.errors;
        int whole = 0;
        std::string combined;
        for (const std::string &name : FileNamesIn(keep)) {
            EXPECT_FALSE(name.starts_with(".")) << "a staged file was left: " << name;
            if (oneFile)
                combined = folder.read(fs::path(keep).filename().string() + "/" + name);
            else
                whole += std::count(records.begin(), records.end(),
                                    folder.read(fs::path(keep).filename().string() + "/" + name));
        }
        if (oneFile) {
            // Whole records from the first on, each once: the texts that did not fit are gone
            // with every byte of theirs.
            while (whole < 60 && combined.starts_with(records[whole]))
                combined.erase(0, records[whole++].size());
            EXPECT_EQ(combined, "") << "the combined file holds a cut record";
        } else {
            EXPECT_EQ(whole, static_cast<int>(FileNamesIn(keep).size()));
            EXPECT_NE(run.errors.find("Inbox.dbx: Inbox: message "), std::string::npos)
                << run.errors;
        }
        EXPECT_GT(whole, 0);
        EXPECT_LT(whole, 60);
        EXPECT_TRUE(run.errors.ends_with("1 store, " + std::to_string(whole) +
                                         " messages written, " + std::to_string(60 - whole) +
                                         " failed\n"))
            << run.errors;
    }
}

TEST(ProgramFaults, NamingTakesTheSameTimeForEveryMessageHoweverManyShareAName) {
    // Each name used to be tried from " (2)" upward: 20 000 messages of one name into a folder
    // holding 20 000 of its names took minutes; listing once and counting on takes milliseconds.
    TempFolder folder;
    const std::string stem = StemAt(37, "Same");
    for (int copy = 1; copy <= 20'000; ++copy)
        folder.write(
            stem + (copy == 1 ? std::string() : " (" + std::to_string(copy) + ")") + ".txt", "");
    const auto started = std::chrono::steady_clock::now();
    const auto listed = std::make_shared<files::Folder>(folder.path());
    cli::OutputFolder output(listed, cli::EarlierFiles::KeepAndNumber, cli::FileNaming::Numbered);
    std::string last;
    for (int message = 1; message <= 20'000; ++message)
        last = *output.nameFor(stem, ".txt");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(last, stem + " (40000).txt");

    cli::OutputFolder rerun(listed, cli::EarlierFiles::Skip, cli::FileNaming::Numbered);
    EXPECT_EQ(rerun.nameFor(stem, ".txt"), std::nullopt);
    EXPECT_EQ(rerun.nameFor(StemAt(38, "Other"), ".txt"), StemAt(38, "Other") + ".txt");
}

} // namespace
} // namespace qb::test
