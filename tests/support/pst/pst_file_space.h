#pragma once

#include "support/pst/pst_output_file.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qb::pstmaker {

/// Byte sizes of the fixed layout of a Unicode data file.
namespace layout {
inline constexpr std::uint64_t pageSize = 512;
inline constexpr std::uint64_t slotSize = 64;
inline constexpr std::uint64_t densityListOffset = 0x4200;
inline constexpr std::uint64_t firstAllocationMap = 0x4400;
/// Bytes one allocation map covers, its own page included: 496 bytes of 8 bits of 64 bytes.
inline constexpr std::uint64_t areaSize = 496 * 8 * 64;
} // namespace layout

/// The space of a data file past its header: areas of 253,952 bytes, each opened by an
/// allocation map (AMap) page, every eighth also holding a page map (PMap) page, and at their
/// fixed intervals the free map (FMap) and free page map (FPMap) pages. Space is handed out in
/// rising order; the maps of each area are written when the area is full, so memory stays at
/// one area's map whatever the size of the file.
class FileSpace {
  public:
    struct Summary {
        std::uint64_t fileEnd = 0;
        std::uint64_t lastAllocationMap = 0;
        std::uint64_t freeBytes = 0;
    };

    explicit FileSpace(OutputFile &file);

    /// The offset of `size` bytes (a multiple of 64) aligned to `alignment`, inside one area.
    std::uint64_t allocate(std::uint64_t size, std::uint64_t alignment);
    /// Ends the file at the end of the last area and writes the remaining map pages.
    Summary finish();

  private:
    void openArea(std::uint64_t area);
    void closeArea();
    void markUsed(std::uint64_t offset, std::uint64_t size);

    OutputFile &file_;
    std::uint64_t area_ = 0;
    std::uint64_t cursor_ = 0;
    std::array<std::uint8_t, 496> used_{};
    std::vector<std::uint8_t> longestFreeRun_;
    std::uint64_t freeBytes_ = 0;
};

/// Writes a map page (AMap, PMap, FMap, FPMap: ptype 0x82-0x85) with its trailer.
void WriteMapPage(OutputFile &file, std::uint64_t offset, std::uint8_t pageType,
                  const std::array<std::uint8_t, 496> &bits);

} // namespace qb::pstmaker
