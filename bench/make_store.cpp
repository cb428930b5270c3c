// Writes a sample Outlook data file for benchmarks and hand checks:
//   make_store OUT.pst --messages N [--seed S] [--attachment-bytes B]
// The last line of output is "N mail messages".
#include "failure/failure.h"
#include "support/pst/pst_sample_store.h"

#include <charconv>
#include <cstring>
#include <iostream>
#include <optional>
#include <string_view>

namespace {

constexpr int wrongArguments = 2;

std::optional<std::uint64_t> Number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int Usage() {
    std::cerr << "usage: make_store OUT.pst --messages N [--seed S] [--attachment-bytes B]\n";
    return wrongArguments;
}

} // namespace

int main(int argc, char **argv) {
    std::string path;
    std::optional<std::uint64_t> messages;
    qb::pstmaker::SampleStoreOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        std::optional<std::uint64_t> value = i + 1 < argc ? Number(argv[i + 1]) : std::nullopt;
        if (argument == "--messages" && value)
            messages = value;
        else if (argument == "--seed" && value)
            options.seed = *value;
        else if (argument == "--attachment-bytes" && value)
            options.attachmentBytes = *value;
        else if (!argument.starts_with("--") && path.empty()) {
            path = argument;
            continue;
        } else
            return Usage();
        ++i;
    }
    if (path.empty() || !messages)
        return Usage();
    options.mailMessages = *messages;
    try {
        const auto summary = qb::pstmaker::WriteSampleStore(path, options);
        std::cout << path << ": " << summary.folders << " folders, " << summary.otherItems
                  << " appointments and contacts\n"
                  << summary.mailMessages << " mail messages\n";
    } catch (const qb::Failure &failure) {
        std::cerr << "make_store: " << failure.description() << "\n";
        return 1;
    }
    return 0;
}
