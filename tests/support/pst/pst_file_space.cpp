#include "support/pst/pst_file_space.h"

#include "support/pst/pst_checksums.h"

#include <algorithm>

namespace qb::pstmaker {
namespace {

using namespace layout;

constexpr std::uint8_t freeMapType = 0x82;
constexpr std::uint8_t pageMapType = 0x83;
constexpr std::uint8_t allocationMapType = 0x84;
constexpr std::uint8_t freePageMapType = 0x85;

/// The header's own free maps cover the first 128 areas and the first 128 * 8 page maps.
constexpr std::uint64_t areasBeforeFreeMaps = 128;
constexpr std::uint64_t areasPerFreeMap = 496;
constexpr std::uint64_t areasBeforeFreePageMaps = 128 * 8 * 8;
constexpr std::uint64_t areasPerFreePageMap = 496 * 8 * 8;

std::uint64_t AreaStart(std::uint64_t area) {
    return firstAllocationMap + area * areaSize;
}

bool HasPageMap(std::uint64_t area) {
    return area % 8 == 0;
}
bool HasFreeMap(std::uint64_t area) {
    return area >= areasBeforeFreeMaps && (area - areasBeforeFreeMaps) % areasPerFreeMap == 0;
}
bool HasFreePageMap(std::uint64_t area) {
    return area >= areasBeforeFreePageMaps &&
           (area - areasBeforeFreePageMaps) % areasPerFreePageMap == 0;
}

/// Offsets, from the area's start, of the map pages that follow its allocation map.
std::uint64_t PageMapOffset() {
    return pageSize;
}
std::uint64_t FreeMapOffset() {
    return 2 * pageSize;
}
std::uint64_t FreePageMapOffset(std::uint64_t area) {
    return HasFreeMap(area) ? 3 * pageSize : 2 * pageSize;
}

std::uint64_t MapPagesIn(std::uint64_t area) {
    return 1 + (HasPageMap(area) ? 1 : 0) + (HasFreeMap(area) ? 1 : 0) +
           (HasFreePageMap(area) ? 1 : 0);
}

std::array<std::uint8_t, 496> AllSet() {
    std::array<std::uint8_t, 496> bits;
    bits.fill(0xFF);
    return bits;
}

} // namespace

void WriteMapPage(OutputFile &file, std::uint64_t offset, std::uint8_t pageType,
                  const std::array<std::uint8_t, 496> &bits) {
    Bytes page(bits.begin(), bits.end());
    page.push_back(pageType);
    page.push_back(pageType);
    AppendLittleEndian(page, 0, 2); // map pages carry no signature
    AppendLittleEndian(page, Crc32(ByteView(bits.data(), bits.size())), 4);
    AppendLittleEndian(page, offset, 8); // a map page's id is its offset
    file.writeAt(offset, page);
}

FileSpace::FileSpace(OutputFile &file) : file_(file) {
    openArea(0);
}

void FileSpace::openArea(std::uint64_t area) {
    area_ = area;
    used_.fill(0);
    const std::uint64_t start = AreaStart(area);
    cursor_ = start;
    markUsed(start, MapPagesIn(area) * pageSize);
    // Page maps and free page maps are kept full: the density of free pages is not tracked.
    if (HasPageMap(area))
        WriteMapPage(file_, start + PageMapOffset(), pageMapType, AllSet());
    if (HasFreePageMap(area))
        WriteMapPage(file_, start + FreePageMapOffset(area), freePageMapType, AllSet());
}

void FileSpace::markUsed(std::uint64_t offset, std::uint64_t size) {
    const std::uint64_t first = (offset - AreaStart(area_)) / slotSize;
    for (std::uint64_t slot = first; slot < first + size / slotSize; ++slot)
        used_[slot / 8] |= static_cast<std::uint8_t>(0x80 >> (slot % 8));
    cursor_ = offset + size;
}

void FileSpace::closeArea() {
    std::uint64_t run = 0;
    std::uint64_t longest = 0;
    for (std::uint64_t slot = 0; slot < 496 * 8; ++slot) {
        const bool used = used_[slot / 8] & (0x80 >> (slot % 8));
        run = used ? 0 : run + 1;
        longest = std::max(longest, run);
        freeBytes_ += used ? 0 : slotSize;
    }
    longestFreeRun_.push_back(static_cast<std::uint8_t>(std::min<std::uint64_t>(longest, 255)));
    WriteMapPage(file_, AreaStart(area_), allocationMapType, used_);
}

std::uint64_t FileSpace::allocate(std::uint64_t size, std::uint64_t alignment) {
    std::uint64_t offset = AlignUp(cursor_, alignment);
    if (offset + size > AreaStart(area_ + 1)) {
        closeArea();
        openArea(area_ + 1);
        offset = AlignUp(cursor_, alignment);
    }
    markUsed(offset, size);
    return offset;
}

FileSpace::Summary FileSpace::finish() {
    closeArea();
    for (std::uint64_t area = areasBeforeFreeMaps; area <= area_; area += areasPerFreeMap) {
        std::array<std::uint8_t, 496> longest{};
        for (std::uint64_t i = 0; i < longest.size() && area + i <= area_; ++i)
            longest[i] = longestFreeRun_[area + i];
        WriteMapPage(file_, AreaStart(area) + FreeMapOffset(), freeMapType, longest);
    }
    const std::uint64_t end = AreaStart(area_ + 1);
    file_.resize(end);
    return {end, AreaStart(area_), freeBytes_};
}

} // namespace qb::pstmaker
