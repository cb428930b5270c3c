// A large mailbox is converted in the process, whatever room /dev/shm has; a stopped run leaves
// nothing half-made, and a rerun with --skip-existing adds exactly what is missing; a killed
// run's leftovers are tidied by the next run. Through the program itself.
#include "cli/run_report.h"

#include "support/dbx_writer.h"
#include "support/program_run.h"
#include "support/test_platform.h"

#include "cli_programs.h"
#include "started_program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <unistd.h>

namespace qb::test {
namespace {

namespace fs = std::filesystem;

constexpr int stems = 4;
/// A mailbox of 30 MB: the one that found no room in a 16 MB /dev/shm when the command line
/// unpacked whole mailboxes there.
constexpr int messages = 2500;
constexpr std::size_t bodyBytes = 12'000;

/// The k-th message of stem j (both from 0) is message k * stems + j of the mailbox.
std::string Body(int message) {
    return "message " + std::to_string(message) + "\r\n" + std::string(bodyBytes, 'x') + "\r\n";
}

bool HoldsMessageFile(const std::string &folder) {
    if (!fs::exists(folder))
        return false;
    for (const std::string &name : FileNamesIn(folder))
        if (name.ends_with(".txt"))
            return true;
    return false;
}

/// Names in /dev/shm that a run of the command line could have left.
std::vector<std::string> LeftInSharedMemory() {
    std::vector<std::string> left;
    std::error_code error;
    for (fs::directory_iterator entry("/dev/shm", error), end; !error && entry != end;
         entry.increment(error))
        if (entry->path().filename().string().starts_with("quillbarrow-export"))
            left.push_back(entry->path().string());
    return left;
}

/// Whether this system lets a test give a program a /dev/shm of its own (root can).
bool PrivateSharedMemoryAllowed() {
    static const bool allowed =
        RunProgram("/usr/bin/unshare",
                   {"-m", "/bin/sh", "-c", "mount -t tmpfs -o size=16m quillbarrow-test /dev/shm"})
            .exitCode == 0;
    return allowed;
}

/// The command line to run quillbarrow-export with the arguments in a mount namespace of its own
/// whose /dev/shm holds 16 MB, where the system allows one; the program itself where it does not,
/// which the test then says. With a listing file, the names left in that /dev/shm when the
/// program has ended are written into it (the program is then the shell's child, not the shell).
std::vector<std::string> UnderSmallSharedMemory(const std::vector<std::string> &arguments,
                                                const std::string &listing = "") {
    std::vector<std::string> command{BuiltProgram("quillbarrow-export")};
    const std::string mount = "mount -t tmpfs -o size=16m quillbarrow-test /dev/shm && ";
    if (PrivateSharedMemoryAllowed())
        command = {"/usr/bin/unshare",
                   "-m",
                   "/bin/sh",
                   "-c",
                   mount + (listing.empty()
                                ? "exec \"$@\""
                                : "{ \"$@\"; code=$?; ls -A /dev/shm > \"$0\"; exit $code; }"),
                   listing.empty() ? "sh" : listing,
                   BuiltProgram("quillbarrow-export")};
    else
        std::cout << "no mount namespace here: the run sees the system's /dev/shm\n";
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

class StoppedRun : public ::testing::Test {
  protected:
    void SetUp() override {
        DbxWriter inbox(folder / "Inbox.dbx");
        for (int message = 0; message < messages; ++message)
            inbox.add(Eml("Subject " + std::to_string(message % stems), DateAt(0), Body(message)));
        inbox.finish();
        ASSERT_GT(fs::file_size(folder / "Inbox.dbx"), 30'000'000u);
    }

    /// Starts the program with the arguments under a 16 MB /dev/shm.
    StartedProgram start(const std::vector<std::string> &arguments,
                         const std::string &listing = "") {
        std::vector<std::string> command = UnderSmallSharedMemory(arguments, listing);
        const std::string program = command.front();
        command.erase(command.begin());
        return StartedProgram(program, command, folder / "errors");
    }

    /// Every message's file is there once, under the name a run from the start gives it.
    void expectEveryMessageOnce() {
        EXPECT_EQ(static_cast<int>(FileNamesIn(inbox).size()), messages);
        for (int message = 0; message < messages; ++message) {
            const std::string stem = StemAt(0, "Subject " + std::to_string(message % stems));
            const int copy = message / stems + 1;
            const std::string name =
                stem + (copy == 1 ? "" : " (" + std::to_string(copy) + ")") + ".txt";
            if (ReadFile(inbox + "/" + name).ends_with(Body(message)))
                continue;
            ADD_FAILURE() << name << " does not hold message " << message;
            return;
        }
    }

    TempFolder folder;
    // On a disk, not in /dev/shm: the run's own /dev/shm is another, small one.
    const std::string out = folder / "out";
    /// The mailbox is one folder, named after its file.
    const std::string inbox = out + "/Inbox";
};

TEST_F(StoppedRun, ALargeMailboxIsWrittenWholeInBoundedMemoryWhateverRoomSharedMemoryHas) {
    StartedProgram run = start({"-o", out, folder / "Inbox.dbx"}, folder / "left in shm");
    EXPECT_EQ(run.wait(), 0) << folder.read("errors");
    // The mailbox is read where it lies: the run's own /dev/shm is as empty as it began.
    if (PrivateSharedMemoryAllowed()) {
        EXPECT_EQ(folder.read("left in shm"), "");
    }
    EXPECT_EQ(folder.read("errors"), "1 store, 2 500 messages written, 0 failed\n");
    expectEveryMessageOnce();
    if (!underAddressSanitizer) {
        EXPECT_LT(run.peakKibibytes(), 64 * 1024);
    }
    std::cout << "peak memory for a 30 MB mailbox: " << run.peakKibibytes() << " KiB\n";
}

TEST_F(StoppedRun, ASignalStopsAfterAMessageAndARerunWithSkipExistingAddsTheRest) {
    const struct {
        int signal;
        const char *name;
        int exitCode;
    } cases[] = {{SIGINT, "SIGINT", 130},
                 {SIGTERM, "SIGTERM", 143},
                 {SIGHUP, "SIGHUP", 129},
                 {SIGKILL, "SIGKILL", 137}};
    const std::vector<std::string> inShm = LeftInSharedMemory();
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        // The signal must come while the run is half-way: once the first batch of files has its
        // names and the rest is being written. A run that finished before it was seen half-way
        // (a slow machine) is tried again.
        std::optional<StartedProgram> run;
        int exitCode = 0;
        for (int attempt = 0; attempt < 5 && exitCode == 0; ++attempt) {
            fs::remove_all(out);
            run.emplace(start({"-o", out, folder / "Inbox.dbx"}));
            while (run->running() && !HoldsMessageFile(inbox))
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            run->signal(each.signal);
            exitCode = run->wait();
        }
        ASSERT_NE(exitCode, 0) << "every run ended before the signal came";
        EXPECT_EQ(exitCode, each.exitCode);

        const std::vector<std::string> written = FileNamesIn(inbox);
        if (each.signal != SIGKILL) {
            for (const std::string &name : written)
                EXPECT_TRUE(name.ends_with(".txt")) << "a staged file was left: " << name;
            EXPECT_EQ(folder.read("errors"),
                      "stopped by " + std::string(each.name) + " after 0 of 1 store, " +
                          cli::GroupedCount(written.size()) + " messages written, 0 failed\n");
        }
        EXPECT_EQ(LeftInSharedMemory(), inShm);
        const ProgramRun rerun = RunProgram(BuiltProgram("quillbarrow-export"),
                                            {"--skip-existing", "-o", out, folder / "Inbox.dbx"});
        EXPECT_EQ(rerun.exitCode, 0) << rerun.errors;
        const int skipped = static_cast<int>(
            std::count_if(written.begin(), written.end(),
                          [](const std::string &n) { return n.ends_with(".txt"); }));
        EXPECT_EQ(rerun.errors, "1 store, " + cli::GroupedCount(messages - skipped) +
                                    " messages written, " + cli::GroupedCount(skipped) +
                                    " skipped, 0 failed\n");
        // The staged files a killed run left are gone too.
        expectEveryMessageOnce();
    }
}

} // namespace
} // namespace qb::test
