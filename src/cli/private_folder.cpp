#include "cli/private_folder.h"

#include "failure/system_failure.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace qb::cli {
namespace {

std::string TemporaryArea() {
    if (::access("/dev/shm", W_OK | X_OK) == 0)
        return "/dev/shm";
    const char *base = std::getenv("TMPDIR");
    return base && *base ? base : "/tmp";
}

} // namespace

PrivateFolder::PrivateFolder() {
    std::string pattern = TemporaryArea() + "/quillbarrow-export-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw SystemFailure(errno, pattern);
    path_ = pattern;
}

PrivateFolder::~PrivateFolder() {
    std::error_code ignored; // a folder left in the temporary area harms nothing
    std::filesystem::remove_all(path_, ignored);
}

} // namespace qb::cli
