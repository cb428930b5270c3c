#include "support/sample_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace qb::test {
namespace {

bool RunsUnderCi() {
    const char *ci = std::getenv("CI");
    return ci != nullptr && (std::string(ci) == "true" || std::string(ci) == "1");
}

std::string CurrentSuite() {
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? test->test_suite_name() : "";
}

} // namespace

std::string RequireSamples() {
    // The lambdas hold the failures and the skip: their macros return from the function they are
    // written in, and a fatal failure or a skip in SetUp keeps the test's body from running.
    if (!CurrentSuite().starts_with("Sample")) {
        [] {
            FAIL() << "a test that reads the sample files belongs to a suite named Sample..., "
                      "which carries the ctest label \"samples\"; this one is "
                   << CurrentSuite();
        }();
        return "";
    }
    const std::filesystem::path folder = SamplesFolderPath();
    if (std::filesystem::is_directory(folder))
        return folder.string();
    const std::string absent =
        "the sample files of ../shared/samples are not there (" + folder.string() + ")";
    if (RunsUnderCi())
        [&] { FAIL() << absent << ", and under CI (CI=true) they must be"; }();
    else
        [&] { GTEST_SKIP() << absent; }();
    return "";
}

} // namespace qb::test
