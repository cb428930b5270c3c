// A stopped run leaves nothing half-made, and a rerun with --skip-existing adds exactly what is
// missing; a killed run's leftovers are tidied by the next run. Through the program itself.
#include "cli/run_report.h"

#include "support/dbx_writer.h"
#include "support/program_run.h"
#include "support/test_platform.h"

#include "cli_programs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace qb::test {
namespace {

namespace fs = std::filesystem;

constexpr int stems = 4;
constexpr int messages = 2000;

/// The k-th message of stem j (both from 0) is message k * stems + j of the mailbox.
std::string Body(int message) {
    return "message " + std::to_string(message) + "\r\n";
}

/// quillbarrow-export running on its own, its error output going into a file.
class StartedExport {
  public:
    StartedExport(const std::vector<std::string> &arguments, const std::string &errors) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        std::vector<std::string> all{BuiltProgram("quillbarrow-export")};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char *> argv;
        for (std::string &argument : all)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        ::posix_spawn(&process_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
    }
    pid_t process() const { return process_; }
    bool running() {
        int status = 0;
        if (exitCode_ < 0 && ::waitpid(process_, &status, WNOHANG) == process_)
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return exitCode_ < 0;
    }
    int wait() {
        while (running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return exitCode_;
    }

  private:
    pid_t process_ = 0;
    int exitCode_ = -1;
};

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool HoldsMessageFile(const std::string &folder) {
    for (const std::string &name : test::FileNamesIn(folder))
        if (name.ends_with(".txt"))
            return true;
    return false;
}

/// A scratch folder in memory where the system has one: thousands of files are written and
/// removed there in a moment, where a busy disk takes seconds.
class MemoryFolder {
  public:
    MemoryFolder() {
        std::string pattern =
            (::access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm")
                                             : fs::temp_directory_path().string()) +
            "/quillbarrow-test-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a scratch folder");
        path_ = pattern;
    }
    ~MemoryFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

class StoppedRun : public ::testing::Test {
  protected:
    void SetUp() override {
        DbxWriter inbox(folder / "Inbox.dbx");
        for (int message = 0; message < messages; ++message)
            inbox.add(Eml("Subject " + std::to_string(message % stems), DateAt(0), Body(message)));
        inbox.finish();
    }

    /// Every message's file is there once, under the name a run from the start gives it.
    void expectEveryMessageOnce() {
        EXPECT_EQ(static_cast<int>(test::FileNamesIn(out).size()), messages);
        for (int message = 0; message < messages; ++message) {
            const std::string stem = StemAt(0, "Subject " + std::to_string(message % stems));
            const int copy = message / stems + 1;
            const std::string name =
                stem + (copy == 1 ? "" : " (" + std::to_string(copy) + ")") + ".txt";
            if (ReadFile(out + "/" + name).ends_with(Body(message)))
                continue;
            ADD_FAILURE() << name << " does not hold message " << message;
            return;
        }
    }

    TempFolder folder;
    MemoryFolder memory;
    const std::string out = memory / "out";
};

TEST_F(StoppedRun, ASignalStopsAfterAMessageAndARerunWithSkipExistingAddsTheRest) {
    const struct {
        int signal;
        const char *name;
        int exitCode;
    } cases[] = {{SIGINT, "SIGINT", 130},
                 {SIGTERM, "SIGTERM", 143},
                 {SIGHUP, "SIGHUP", 129},
                 {SIGKILL, "SIGKILL", 137}};
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        // The signal must come while the run is half-way: once the first batch of files has its
        // names and the rest is being written. The run is held still while the signal is sent,
        // so it cannot finish in between; a run that finished before it was seen half-way (a
        // slow machine) is tried again.
        std::optional<StartedExport> run;
        int exitCode = 0;
        for (int attempt = 0; attempt < 5 && exitCode == 0; ++attempt) {
            fs::remove_all(out);
            run.emplace(std::vector<std::string>{"-o", out, folder / "Inbox.dbx"},
                        folder / "errors");
            while (run->running() && !(fs::exists(out) && HoldsMessageFile(out)))
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            // Until it is waited for, an ended run keeps its process id, so no other process
            // can be hit.
            if (run->running()) {
                ::kill(run->process(), SIGSTOP);
                ::kill(run->process(), each.signal);
                ::kill(run->process(), SIGCONT);
            }
            exitCode = run->wait();
        }
        ASSERT_NE(exitCode, 0) << "every run ended before the signal came";
        EXPECT_EQ(exitCode, each.exitCode);

        const std::vector<std::string> written = test::FileNamesIn(out);
        // A run killed while it converted leaves its private folder in memory.
        const std::string privateFolder =
            "/dev/shm/quillbarrow-export-" + std::to_string(run->process()) + "-Ab3xYz";
        const bool memoryArea = ::access("/dev/shm", W_OK) == 0;
        if (each.signal == SIGKILL && memoryArea) {
            fs::create_directory(privateFolder);
        } else {
            for (const std::string &name : written)
                EXPECT_TRUE(name.ends_with(".txt")) << "a staged file was left: " << name;
            EXPECT_EQ(folder.read("errors"),
                      "stopped by " + std::string(each.name) + " after 0 of 1 store, " +
                          cli::GroupedCount(written.size()) + " messages written, 0 failed\n");
        }
        const ProgramRun rerun = RunProgram(BuiltProgram("quillbarrow-export"),
                                            {"--skip-existing", "-o", out, folder / "Inbox.dbx"});
        EXPECT_EQ(rerun.exitCode, 0) << rerun.errors;
        const int skipped = static_cast<int>(
            std::count_if(written.begin(), written.end(),
                          [](const std::string &n) { return n.ends_with(".txt"); }));
        EXPECT_EQ(rerun.errors, "1 store, " + cli::GroupedCount(messages - skipped) +
                                    " messages written, " + cli::GroupedCount(skipped) +
                                    " skipped, 0 failed\n");
        expectEveryMessageOnce();
        EXPECT_FALSE(memoryArea && fs::exists(privateFolder));
    }
}

} // namespace
} // namespace qb::test
