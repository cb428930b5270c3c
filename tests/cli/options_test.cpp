// Each option is declared once: the parser, --help and the manual page must agree with the table.
#include "cli/export_options.h"
#include "version/program_version.h"

#include "support/program_run.h"

#include "cli_programs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

namespace qb::cli {
namespace {

std::string ReadSourceFile(const std::string &name) {
    std::ifstream in(std::string(QB_SOURCE_DIR) + "/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

/// The line after each ".TP" of the page's OPTIONS section, with the roff escapes and font
/// changes taken out: "-o, --to DIR".
std::set<std::string> ManPageOptions(const std::string &page) {
    std::set<std::string> options;
    const std::size_t start = page.find(".SH OPTIONS");
    const std::size_t end = page.find(".SH", start + 1);
    std::size_t at = page.find(".TP\n", start);
    for (; at < end; at = page.find(".TP\n", at + 1)) {
        const std::size_t lineStart = at + 4;
        std::string line = page.substr(lineStart, page.find('\n', lineStart) - lineStart);
        std::string plain;
        for (std::size_t index = 0; index < line.size(); ++index) {
            if (line.compare(index, 2, "\\-") == 0) {
                plain += '-';
                ++index;
            } else if (line.compare(index, 3, "\\fB") == 0 || line.compare(index, 3, "\\fI") == 0 ||
                       line.compare(index, 3, "\\fR") == 0) {
                index += 2;
            } else {
                plain += line[index];
            }
        }
        options.insert(plain);
    }
    return options;
}

TEST(ExportOptions, ManPageAndHelpShowEveryOptionOfTheTableAndNoOther) {
    std::set<std::string> table;
    for (const OptionDeclaration &option : Options())
        table.insert(OptionSynopsis(option));
    EXPECT_EQ(ManPageOptions(ReadSourceFile("docs/quillbarrow-export.1")), table);
    const std::string help = HelpText();
    for (const std::string &synopsis : table)
        EXPECT_NE(help.find("\n  " + synopsis + " "), std::string::npos) << synopsis;
    for (std::size_t start = 0, end = 0; start < help.size(); start = end + 1) {
        end = std::min(help.find('\n', start), help.size());
        EXPECT_LE(end - start, 80u) << help.substr(start, end - start);
    }
    // The page the manual points to for the window exists and is installed beside it.
    EXPECT_NE(ReadSourceFile("docs/quillbarrow-export.1").find(".BR quillbarrow (1)"),
              std::string::npos);
    EXPECT_TRUE(ReadSourceFile("docs/quillbarrow.1").starts_with(".TH QUILLBARROW 1 "));
}

TEST(ExportOptions, LongShortAndJoinedFormsReadTheSame) {
    using Check = std::function<bool(const ExportOptions &)>;
    const struct {
        std::vector<std::string> arguments;
        Check check;
        const char *error;
    } cases[] = {
        {{"-o", "out", "a.pst"}, [](auto &o) { return o.outputFolder == "out"; }, ""},
        {{"-oout", "a.pst"}, [](auto &o) { return o.outputFolder == "out"; }, ""},
        {{"--to=out", "a.pst"}, [](auto &o) { return o.outputFolder == "out"; }, ""},
        {{"-qro", "out", "a.pst"},
         [](auto &o) { return o.quiet && o.recursive && o.outputFolder == "out"; },
         ""},
        {{"--skip-existing", "a.pst"}, [](auto &o) { return o.skipExisting; }, ""},
        {{"-V"}, [](auto &o) { return o.version && o.inputs.empty(); }, ""},
        {{"-h"}, [](auto &o) { return o.help; }, ""},
        {{"--", "-q"}, [](auto &o) { return !o.quiet && o.inputs.size() == 1; }, ""},
        {{"a.pst", "-o"}, {}, "option -o needs a value"},
        {{"-x", "a.pst"}, {}, "unknown option -x"},
        {{"--quiet=yes", "a.pst"}, {}, "option --quiet takes no value"},
        {{"--to=", "a.pst"}, {}, "the output folder of --to is empty"},
        {{"--overwrite", "--skip-existing", "a.pst"}, {}, "exclude each other"},
        {{"--one-file", "--skip-existing", "a.pst"}, {}, "not with --one-file"},
        {{"-q"}, {}, "no FILE given"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.arguments.front());
        const ParsedArguments parsed = ParseArguments(each.arguments);
        if (each.check) {
            EXPECT_EQ(parsed.error, "");
            EXPECT_TRUE(each.check(parsed.options));
        } else {
            EXPECT_NE(parsed.error.find(each.error), std::string::npos) << parsed.error;
        }
    }
}

TEST(ExportOptions, EveryProgramTellsTheOneVersion) {
    for (const char *program : {"quillbarrow-export", "Splinterbox", "quillbarrow"}) {
        for (const char *option : {"--version", "-V"}) {
            SCOPED_TRACE(std::string(program) + " " + option);
            const test::ProgramRun run = test::RunProgram(test::BuiltProgram(program), {option});
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(run.output, std::string(program) + " " + programVersion + "\n");
        }
    }
}

} // namespace
} // namespace qb::cli
