#include "support/pst/pst_message.h"

namespace qb::pstmaker {
namespace {

std::uint64_t SplitMix(std::uint64_t value) {
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

} // namespace

std::string GeneratedBytes(std::uint64_t seed, std::uint64_t offset, std::size_t size) {
    std::string out(size, '\0');
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint64_t at = offset + i;
        if (i == 0 || at % 8 == 0)
            word = SplitMix(seed * 0x100000001B3ull + at / 8);
        out[i] = static_cast<char>(word >> (8 * (at % 8)));
    }
    return out;
}

} // namespace qb::pstmaker
