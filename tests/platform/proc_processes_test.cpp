#include "outlook/outlook_listing.h"
#include "platform/linux/proc_processes.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qb::test {
namespace {

/// Starts program with argument vector arguments (the first is argv[0]); returns its id.
pid_t Start(const std::string &program, const std::vector<std::string> &arguments) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char *> argv;
        for (const std::string &argument : arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return child;
}

/// Waits until /proc shows the child under its new program, so its name is the exec'd one.
void WaitUntilListed(ProcProcesses &processes, pid_t child, const std::string &name) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        const auto running = processes.list();
        if (std::any_of(running.begin(), running.end(), [&](const ProcessEntry &process) {
                return process.id == child && process.name == name;
            }))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

/// The signal that ended the child, or 0 when it is still running.
int EndingSignal(pid_t child) {
    int status = 0;
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (::waitpid(child, &status, WNOHANG) == child)
            return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

/// Starts program as a process whose parent is not this one: an intermediate child starts it and
/// ends at once, so it is handed to the system's reaper. Returns its id.
pid_t StartDetached(const std::string &program, const std::vector<std::string> &arguments) {
    int ids[2];
    if (::pipe(ids) != 0)
        return -1;
    const pid_t intermediate = ::fork();
    if (intermediate == 0) {
        ::close(ids[0]);
        const pid_t detached = Start(program, arguments);
        const bool written = ::write(ids[1], &detached, sizeof detached) == sizeof detached;
        ::_exit(written ? 0 : 1);
    }
    ::close(ids[1]);
    pid_t detached = -1;
    if (::read(ids[0], &detached, sizeof detached) != sizeof detached)
        detached = -1;
    ::close(ids[0]);
    ::waitpid(intermediate, nullptr, 0);
    return detached;
}

/// True while the process runs: it is there and neither a zombie nor dead.
bool IsRunning(pid_t process) {
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string text(std::istreambuf_iterator<char>(stat), {});
    const auto close = text.rfind(')');
    if (close == std::string::npos || close + 2 >= text.size())
        return false;
    const char state = text[close + 2];
    return state != 'Z' && state != 'X';
}

void Reap(pid_t child) {
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

class ProcProcessesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists("/bin/sleep") || !std::filesystem::is_directory("/proc/self"))
            GTEST_SKIP() << "needs /bin/sleep and /proc";
    }
    TempFolder folder;
    ProcProcesses processes;
};

TEST_F(ProcProcessesTest, ListsOwnProcessWithNameAndFirstArgument) {
    const auto running = processes.list();
    const auto self = std::find_if(running.begin(), running.end(), [](const ProcessEntry &p) {
        return p.id == static_cast<int>(::getpid());
    });
    ASSERT_NE(self, running.end());
    EXPECT_FALSE(self->name.empty());
    EXPECT_EQ(self->name.find('\n'), std::string::npos);
    EXPECT_NE(self->firstArgument.find("qb_platform_tests"), std::string::npos);
    EXPECT_EQ(self->parentId, static_cast<int>(::getppid()));
    EXPECT_EQ(processes.ownId(), static_cast<int>(::getpid()));
}

TEST_F(ProcProcessesTest, ReadsNamesWithBlanksAndParentheses) {
    const std::string programName = "a) (b c";
    const std::string programCopy = folder / programName;
    std::filesystem::copy_file("/bin/sleep", programCopy);
    std::filesystem::permissions(programCopy, std::filesystem::perms::owner_all);
    const pid_t child = Start(programCopy, {programCopy, "60"});
    WaitUntilListed(processes, child, programName);

    const auto running = processes.list();
    Reap(child);
    const auto found = std::find_if(running.begin(), running.end(),
                                    [&](const ProcessEntry &p) { return p.id == child; });
    ASSERT_NE(found, running.end());
    EXPECT_EQ(found->name, programName);
    EXPECT_EQ(found->parentId, static_cast<int>(::getpid()));
}

TEST_F(ProcProcessesTest, KillProcessEndsMatchingChildrenAndSparesEveryOtherProcess) {
    // A name of this run only, so that no other process on the machine is touched; it stays
    // within the 15 characters that /proc keeps of a program name.
    const std::string programName = "QB" + std::to_string(::getpid()) + ".EXE";
    const std::string programCopy = folder / programName;
    std::filesystem::copy_file("/bin/sleep", programCopy);
    std::filesystem::permissions(programCopy, std::filesystem::perms::owner_all);
    const pid_t byName = Start(programCopy, {programCopy, "60"});
    const pid_t byArgument = Start("/bin/sleep", {"C:\\Office\\" + programName, "60"});
    const pid_t bystander = Start("/bin/sleep", {"sleep", "60"});
    // Stands for an Outlook the user started: same name, but not this program's descendant.
    const pid_t usersOwn = StartDetached(programCopy, {programCopy, "60"});
    ASSERT_GT(usersOwn, 0);
    WaitUntilListed(processes, byName, programName);
    WaitUntilListed(processes, byArgument, "sleep");
    WaitUntilListed(processes, bystander, "sleep");
    WaitUntilListed(processes, usersOwn, programName);

    std::string lowerName = programName;
    std::transform(lowerName.begin(), lowerName.end(), lowerName.begin(), ::tolower);
    outlook::KillProcess(processes, lowerName);

    const int byNameSignal = EndingSignal(byName);
    const int byArgumentSignal = EndingSignal(byArgument);
    const bool bystanderRuns = ::waitpid(bystander, nullptr, WNOHANG) == 0;
    // Both children have ended by now, so a signal sent to the detached one would have landed.
    const bool usersOwnRuns = IsRunning(usersOwn);
    for (const auto &[child, running] :
         {std::pair{byName, byNameSignal == 0}, std::pair{byArgument, byArgumentSignal == 0},
          std::pair{bystander, bystanderRuns}})
        if (running)
            Reap(child);
    ::kill(usersOwn, SIGKILL); // not a child: the system reaps it
    EXPECT_EQ(byNameSignal, SIGKILL);
    EXPECT_EQ(byArgumentSignal, SIGKILL);
    EXPECT_TRUE(bystanderRuns) << "the bystander must survive";
    EXPECT_TRUE(usersOwnRuns) << "a matching process the program did not start must survive";
}

TEST_F(ProcProcessesTest, TerminateRefusesIdsThatAreNotSingleProcesses) {
    EXPECT_THROW(processes.terminate(0), Failure);
    EXPECT_THROW(processes.terminate(-1), Failure);
}

TEST_F(ProcProcessesTest, TerminateOfAnEndedProcessFails) {
    const pid_t child = Start("/bin/sleep", {"sleep", "0"});
    ::waitpid(child, nullptr, 0);
    EXPECT_THROW(processes.terminate(child), Failure);
}

} // namespace
} // namespace qb::test
