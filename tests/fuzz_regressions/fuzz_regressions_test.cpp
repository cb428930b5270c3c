#include "../../fuzz/readers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

namespace qb::fuzz {

// GoogleTest finds this beside Reader and names each case by its reader, not by its bytes.
void PrintTo(const Reader &reader, std::ostream *out) {
    *out << reader.name;
}

namespace {

const std::filesystem::path regressions = QB_FUZZ_REGRESSIONS_DIR;

std::string FileBytes(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class FuzzRegressionTest : public ::testing::TestWithParam<Reader> {};

// Every input fuzzing once found a fault with goes through its reader again, without the
// sanitizers but with whatever checks the reader makes of itself. None is larger than a page of
// text, so a second is far more than a sound reader needs.
TEST_P(FuzzRegressionTest, KeptInputsReadWithoutFault) {
    const std::filesystem::path folder = regressions / GetParam().name;
    // A reader that never failed has no folder and nothing to replay.
    if (!std::filesystem::is_directory(folder))
        return;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_NO_THROW(GetParam().run(FileBytes(entry.path())));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, FuzzRegressionTest, ::testing::ValuesIn(readers),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace qb::fuzz
