// One libFuzzer program per reader: the build compiles this file once for each, naming the
// reader in QB_FUZZ_READER.
#include "readers.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const auto run = [] {
        for (const auto &reader : qb::fuzz::readers)
            if (std::strcmp(reader.name, QB_FUZZ_READER) == 0)
                return reader.run;
        std::abort();
    }();
    run(std::string_view(reinterpret_cast<const char *>(data), size));
    return 0;
}
