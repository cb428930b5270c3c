// quillbarrow-export: the rescue of the Quillbarrow window, from the command line.

#include "cli/export_run.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

int main(int argc, char **argv) {
    // The converter lies beside the program, in its build and in its install folder alike.
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    const qb::cli::RunSetting setting{(program.parent_path() / "Splinterbox").string(), std::cerr,
                                      ::isatty(STDERR_FILENO) == 1};
    return qb::cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc), setting, std::cout);
}
