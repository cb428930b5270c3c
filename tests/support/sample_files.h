#pragma once

#include <string>

namespace qb::test {

/// The folder of the sample files from outside (../shared/samples beside the repository), for a
/// test whose point is a real file from outside. Such a test belongs to a suite whose name
/// begins with "Sample", which gives it the ctest label "samples"; called from any other suite,
/// this fails the test. When the folder is absent the test is skipped with a message naming the
/// folder, or fails under CI (CI=true), where the samples are always there. Call it in the
/// test or its fixture's SetUp and return at once when it gives empty text.
std::string RequireSamples();

} // namespace qb::test
