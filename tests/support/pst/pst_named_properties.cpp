#include "support/pst/pst_named_properties.h"

#include "support/pst/pst_checksums.h"
#include "support/pst/pst_property_context.h"
#include "support/pst/pst_property_tags.h"

#include <algorithm>
#include <map>

namespace qb::pstmaker {
namespace {

constexpr std::uint32_t bucketCount = 251;
constexpr std::uint16_t firstNamedId = 0x8000;
/// GUID indexes 1 and 2 stand for PS_MAPI and PS_PUBLIC_STRINGS; stored GUIDs start at 3.
constexpr std::uint16_t firstStoredGuid = 3;

} // namespace

NamedPropertyMap::NamedPropertyMap() {
    idOf({property_set::common, 0x8503, ""});
}

std::uint16_t NamedPropertyMap::idOf(const PropertyName &name) {
    const auto found = std::find(names_.begin(), names_.end(), name);
    if (found != names_.end())
        return static_cast<std::uint16_t>(firstNamedId + (found - names_.begin()));
    if (std::find(guids_.begin(), guids_.end(), name.set) == guids_.end())
        guids_.push_back(name.set);
    names_.push_back(name);
    return static_cast<std::uint16_t>(firstNamedId + names_.size() - 1);
}

std::uint16_t NamedPropertyMap::guidIndex(const Guid &set) const {
    return static_cast<std::uint16_t>(
        firstStoredGuid + (std::find(guids_.begin(), guids_.end(), set) - guids_.begin()));
}

NodeContent NamedPropertyMap::write(NodeDatabase &database) const {
    Bytes guidStream;
    for (const Guid &guid : guids_)
        AppendBytes(guidStream, guid);
    Bytes entryStream;
    Bytes stringStream;
    std::map<std::uint32_t, Bytes> buckets;
    for (std::size_t index = 0; index < names_.size(); ++index) {
        const PropertyName &name = names_[index];
        const bool isString = !name.name.empty();
        const std::uint32_t guidAndKind = (guidIndex(name.set) << 1) | (isString ? 1 : 0);
        std::uint32_t key = name.id;
        std::uint32_t hash = name.id;
        if (isString) {
            const Bytes text = Utf16(name.name);
            key = static_cast<std::uint32_t>(stringStream.size());
            hash = Crc32(text);
            AppendLittleEndian(stringStream, text.size(), 4);
            AppendBytes(stringStream, text);
            stringStream.resize((stringStream.size() + 3) / 4 * 4, 0);
        }
        auto appendEntry = [&](Bytes &stream, std::uint32_t first) {
            AppendLittleEndian(stream, first, 4);
            AppendLittleEndian(stream, guidAndKind, 2);
            AppendLittleEndian(stream, index, 2);
        };
        appendEntry(entryStream, key);
        appendEntry(buckets[(hash ^ guidAndKind) % bucketCount], hash);
    }
    PropertyContextBuilder map;
    map.set(tag::nameidBucketCount, Integer32Value(bucketCount));
    map.set(tag::nameidStreamGuid, guidStream);
    map.set(tag::nameidStreamEntry, entryStream);
    map.set(tag::nameidStreamString, stringStream);
    for (const auto &[bucket, entries] : buckets)
        map.set(tag::nameidBucketBase + (bucket << 16), entries);
    SubnodeList subnodes;
    const BlockId data = map.write(database, subnodes);
    return {data, subnodes.write(database)};
}

} // namespace qb::pstmaker
