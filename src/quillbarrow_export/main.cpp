// quillbarrow-export: the rescue of the Quillbarrow window, from the command line.

#include "cli/export_run.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char **argv) {
    const qb::cli::RunSetting setting{std::cerr, ::isatty(STDERR_FILENO) == 1};
    return qb::cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc), setting, std::cout);
}
