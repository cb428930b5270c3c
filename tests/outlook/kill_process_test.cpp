#include "outlook/outlook_listing.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace qb::test {
namespace {

class ListFailingProcesses : public FakeProcesses {
  public:
    std::vector<ProcessEntry> list() override {
        throw Failure(error_number::permissionDenied, "Processes", "no list");
    }
};

TEST(KillProcessTest, EndsProcessesWhoseNameOrFirstArgumentEndsWithTheName) {
    FakeProcesses processes;
    processes.running = {
        {101, "OUTLOOK.EXE", "OUTLOOK.EXE"},
        {102, "wine-preloader", "C:\\Program Files\\Microsoft Office\\Office16\\OUTLOOK.EXE"},
        {103, "outlook.exe", ""},
        {104, "MYOUTLOOK.EXE", "/opt/MYOUTLOOK.EXE"},
        {105, "bash", "/usr/bin/bash"},
        {106, "OUTLOOK.EXE.bak", "/tmp/OUTLOOK.EXE.bak"},
        {107, "wine", "/home/u/OUTLOOK.EXE/run"},
        {108, "sleep", "/tmp/outlook.exe"},
    };

    outlook::KillProcess(processes, "OUTLOOK.EXE");

    EXPECT_EQ(processes.terminated, (std::vector<int>{101, 102, 103, 104, 108}));
}

TEST(KillProcessTest, PassesOverProcessesThatMayNotBeSignalled) {
    FakeProcesses processes;
    processes.running = {{201, "OUTLOOK.EXE", ""}, {202, "OUTLOOK.EXE", ""}};
    processes.refused = {201};

    outlook::KillProcess(processes, "outlook.exe");

    EXPECT_EQ(processes.terminated, (std::vector<int>{202}));
}

TEST(KillProcessTest, NeverEndsTheProgramItself) {
    FakeProcesses processes;
    processes.running = {{static_cast<int>(::getpid()), "OUTLOOK.EXE", ""},
                         {301, "OUTLOOK.EXE", ""}};

    outlook::KillProcess(processes, "OUTLOOK.EXE");

    EXPECT_EQ(processes.terminated, (std::vector<int>{301}));
}

TEST(KillProcessTest, EndsQuietlyWhenNothingCanBeDone) {
    ListFailingProcesses failing;
    EXPECT_NO_THROW(outlook::KillProcess(failing, "OUTLOOK.EXE"));

    FakeProcesses processes;
    processes.running = {{401, "bash", "/bin/bash"}};
    outlook::KillProcess(processes, "");
    EXPECT_TRUE((processes.terminated).empty());
}

} // namespace
} // namespace qb::test
