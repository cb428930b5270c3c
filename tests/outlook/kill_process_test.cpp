#include "outlook/outlook_listing.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace qb::test {
namespace {

class ListFailingProcesses : public FakeProcesses {
  public:
    std::vector<ProcessEntry> list() override {
        throw Failure(error_number::permissionDenied, "Processes", "no list");
    }
};

class KillProcessTest : public ::testing::Test {
  protected:
    /// A process that this program started itself.
    ProcessEntry Child(int id, const std::string &name, const std::string &firstArgument) {
        return {id, name, firstArgument, processes.ownProcessId};
    }
    FakeProcesses processes;
};

TEST_F(KillProcessTest, EndsChildrenWhoseNameOrFirstArgumentEndsWithTheName) {
    processes.running = {
        Child(101, "OUTLOOK.EXE", "OUTLOOK.EXE"),
        Child(102, "wine-preloader", "C:\\Program Files\\Microsoft Office\\Office16\\OUTLOOK.EXE"),
        Child(103, "outlook.exe", ""),
        Child(104, "MYOUTLOOK.EXE", "/opt/MYOUTLOOK.EXE"),
        Child(105, "bash", "/usr/bin/bash"),
        Child(106, "OUTLOOK.EXE.bak", "/tmp/OUTLOOK.EXE.bak"),
        Child(107, "wine", "/home/u/OUTLOOK.EXE/run"),
        Child(108, "sleep", "/tmp/outlook.exe"),
    };

    outlook::KillProcess(processes, "OUTLOOK.EXE");

    EXPECT_EQ(processes.terminated, (std::vector<int>{101, 102, 103, 104, 108}));
}

TEST_F(KillProcessTest, EndsOnlyDescendantsOfTheProgramAndNeverTheProgramItself) {
    const int own = processes.ownProcessId;
    processes.running = {
        {1, "systemd", "/sbin/init", 0},
        {own, "OUTLOOK.EXE", "OUTLOOK.EXE", 1}, // the program may itself run under that name
        {201, "wine", "wine", own},
        {202, "wineserver", "wineserver", 201},
        {203, "OUTLOOK.EXE", "C:\\Office\\OUTLOOK.EXE", 202}, // a grandchild's child
        {301, "OUTLOOK.EXE", "C:\\Office\\OUTLOOK.EXE", 1},   // the user's own Outlook
        {302, "wine", "wine", 1},
        {303, "OUTLOOK.EXE", "C:\\Office\\OUTLOOK.EXE", 302},
        {304, "OUTLOOK.EXE", "OUTLOOK.EXE", 0},
        {401, "OUTLOOK.EXE", "", 402}, // a loop of ids in a snapshot taken mid-change
        {402, "OUTLOOK.EXE", "", 401},
    };

    outlook::KillProcess(processes, "outlook.exe");

    EXPECT_EQ(processes.terminated, (std::vector<int>{203}));
}

TEST_F(KillProcessTest, PassesOverProcessesThatMayNotBeSignalled) {
    processes.running = {Child(201, "OUTLOOK.EXE", ""), Child(202, "OUTLOOK.EXE", "")};
    processes.refused = {201};

    outlook::KillProcess(processes, "outlook.exe");

    EXPECT_EQ(processes.terminated, (std::vector<int>{202}));
}

TEST_F(KillProcessTest, EndsQuietlyWhenNothingCanBeDone) {
    ListFailingProcesses failing;
    EXPECT_NO_THROW(outlook::KillProcess(failing, "OUTLOOK.EXE"));

    processes.running = {Child(401, "bash", "/bin/bash")};
    outlook::KillProcess(processes, "");
    EXPECT_TRUE((processes.terminated).empty());
}

} // namespace
} // namespace qb::test
