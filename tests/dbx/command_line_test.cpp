#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(SplitCommandLineTest, FollowsTheWindowsRulesForBlanksQuotesAndBackslashes) {
    using Arguments = std::vector<std::string>;
    const struct {
        std::string line;
        Arguments arguments;
    } cases[] = {
        {"", {}},
        {" \t ", {}},
        {"a b  c", {"a", "b", "c"}},
        {"  a\tb  ", {"a", "b"}},
        {R"("a b" c)", {"a b", "c"}},
        {R"("")", {""}},
        {R"("" x "")", {"", "x", ""}},
        {R"(a"b c"d)", {"ab cd"}},
        {R"("unclosed quote)", {"unclosed quote"}},
        {R"(a\b a\\b \\)", {R"(a\b)", R"(a\\b)", R"(\\)"}},
        {R"(a\"b)", {R"(a"b)"}},
        {R"(a\\"b c")", {R"(a\b c)"}},
        {R"(a\\\"b)", {R"(a\"b)"}},
        {R"("a\\\\" b)", {R"(a\\)", "b"}},
        {R"("C:\Program Files\x\\" y)", {R"(C:\Program Files\x\)", "y"}},
        {R"("/opt/qb/Splinterbox" "/stores/In box.dbx" "/home/u/.cache/Quillbarrow")",
         {"/opt/qb/Splinterbox", "/stores/In box.dbx", "/home/u/.cache/Quillbarrow"}},
    };
    for (const auto &example : cases)
        EXPECT_EQ(SplitCommandLine(example.line), example.arguments) << example.line;
}

} // namespace
} // namespace qb
