#pragma once

#include "cli/message_names.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// What the tests of the command line share: the built programs and the messages they export.
namespace qb::test {

// The programs of a sanitizer build keep freed memory for a while, so their peak memory says
// nothing; GCC says so with a macro, clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool underAddressSanitizer = true;
#elif defined(__has_feature)
inline constexpr bool underAddressSanitizer = __has_feature(address_sanitizer);
#else
inline constexpr bool underAddressSanitizer = false;
#endif

/// A program of the build, which lies beside the test programs' folder.
inline std::string BuiltProgram(const std::string &name) {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / name)
        .string();
}

/// The bytes of a file; empty when it cannot be read.
inline std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

/// An .eml text with the four header lines the record shows.
inline std::string Eml(const std::string &subject, const std::string &date,
                       const std::string &body) {
    return "From: Ann <ann@example.org>\r\nTo: bob@example.org\r\nSubject: " + subject +
           "\r\nDate: " + date + "\r\nContent-Type: text/plain\r\n\r\n" + body;
}

/// The name that the time 2003-07-01 10:52:SS UTC gets in this machine's time zone.
inline std::string StemAt(int second, const std::string &subject) {
    std::tm utc{};
    utc.tm_year = 103, utc.tm_mon = 6, utc.tm_mday = 1, utc.tm_hour = 10, utc.tm_min = 52;
    utc.tm_sec = second;
    const std::time_t moment = ::timegm(&utc);
    std::tm local{};
    ::localtime_r(&moment, &local);
    return cli::MessageStem({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                             local.tm_min, local.tm_sec},
                            subject);
}

/// The Date header of that time.
inline std::string DateAt(int second) {
    return "Tue, 1 Jul 2003 10:52:" + std::string(second < 10 ? "0" : "") + std::to_string(second) +
           " +0000";
}

} // namespace qb::test
