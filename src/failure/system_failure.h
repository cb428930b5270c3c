#pragma once

#include "failure/failure.h"

#include <cstdint>
#include <string>

namespace qb {

/// The run-time error number for a system error (errno) met on path: a missing file 53 ("File
/// not found"), a missing or non-folder component on the way 76 ("Path not found"), refused
/// access 70, a full disk 61, a device error 57, anything else 75 ("Path/File access error").
std::int32_t SystemErrorNumber(int error, const std::string &path);

/// The failure for a system call on path that failed with errno error: the number above, source
/// "FileSystem", and the system's description of the error followed by the path.
Failure SystemFailure(int error, const std::string &path);

} // namespace qb
