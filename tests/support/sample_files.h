#pragma once

#include <filesystem>
#include <string>

namespace qb::test {

/// The folder of the sample files from outside (../shared/samples beside the repository, or
/// where QB_SAMPLES_FOLDER points), for a test whose point is a real file from outside. Such a test
/// belongs to a suite whose name begins with "Sample", which gives it the ctest label "samples";
/// called from any other suite, this fails the test. When the folder is absent the test is skipped
/// with a message naming the folder, or fails under CI (CI=true), where the samples are always
/// there. Call it in the test or its fixture's SetUp and return at once when it gives empty text.
std::string RequireSamples();

/// Where the sample files are looked for: ../shared/samples beside the repository, or the
/// folder the environment variable QB_SAMPLES_FOLDER names.
std::filesystem::path SamplesFolderPath();

} // namespace qb::test
