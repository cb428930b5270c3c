#include "support/pst/pst_property_context.h"

#include "support/pst/pst_btree_on_heap.h"

#include <algorithm>

namespace qb::pstmaker {
namespace {

constexpr std::int64_t secondsFrom1601To1970 = 11644473600;
constexpr std::int64_t filetimeTicksPerSecond = 10000000;

} // namespace

bool IsInlineType(std::uint16_t type) {
    return type == property_type::integer16 || type == property_type::integer32 ||
           type == property_type::boolean || type == 0x0004 /* float */ ||
           type == 0x000A /* error */;
}

std::size_t CellSize(std::uint16_t type) {
    switch (type) {
    case property_type::integer16:
        return 2;
    case property_type::boolean:
        return 1;
    case property_type::integer64:
    case property_type::time:
    case 0x0005: // double
    case 0x0006: // currency
        return 8;
    default:
        return 4;
    }
}

Bytes UnicodeValue(std::string_view utf8) {
    return Utf16(utf8);
}

Bytes Integer32Value(std::uint32_t value) {
    Bytes out;
    AppendLittleEndian(out, value, 4);
    return out;
}

Bytes BooleanValue(bool value) {
    return Bytes{static_cast<std::uint8_t>(value ? 1 : 0)};
}

Bytes TimeValue(std::int64_t unixSeconds) {
    Bytes out;
    AppendLittleEndian(
        out,
        static_cast<std::uint64_t>((unixSeconds + secondsFrom1601To1970) * filetimeTicksPerSecond),
        8);
    return out;
}

void PropertyContextBuilder::set(std::uint32_t tag, ByteView value) {
    properties_.push_back({tag, Storage::value, Bytes(value.begin(), value.end())});
}

void PropertyContextBuilder::setSubnodeValue(std::uint32_t tag, NodeId subnode) {
    properties_.push_back({tag, Storage::subnode, {}, subnode});
}

void PropertyContextBuilder::setObject(std::uint32_t tag, NodeId subnode, std::uint32_t size) {
    Bytes reference;
    AppendLittleEndian(reference, subnode, 4);
    AppendLittleEndian(reference, size, 4);
    properties_.push_back({tag, Storage::object, std::move(reference), subnode});
}

BlockId PropertyContextBuilder::write(NodeDatabase &database, SubnodeList &subnodes,
                                      std::uint64_t *size) const {
    std::vector<const Property *> sorted;
    for (const Property &property : properties_)
        sorted.push_back(&property);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Property *a, const Property *b) {
        return (a->tag >> 16) < (b->tag >> 16);
    });
    HeapBuilder heap(HeapClient::properties);
    const HeapId header = ReserveHeapTreeHeader(heap);
    std::vector<Bytes> records;
    for (const Property *property : sorted) {
        std::uint32_t reference = 0;
        const std::uint16_t type = TypeOf(property->tag);
        if (property->storage == Storage::subnode) {
            reference = property->subnode;
        } else if (property->storage == Storage::value && IsInlineType(type)) {
            Bytes padded = property->value;
            padded.resize(4, 0);
            reference =
                static_cast<std::uint32_t>(padded[0] | (padded[1] << 8) | (padded[2] << 16) |
                                           (static_cast<std::uint32_t>(padded[3]) << 24));
        } else if (property->value.size() <= maxHeapItem) {
            reference = heap.allocate(property->value);
        } else {
            reference = subnodes.nextValueNode();
            subnodes.add(reference, WriteDataTree(database, property->value), 0);
        }
        Bytes record;
        AppendLittleEndian(record, property->tag >> 16, 2);
        AppendLittleEndian(record, type, 2);
        AppendLittleEndian(record, reference, 4);
        records.push_back(std::move(record));
    }
    BuildHeapTree(heap, header, 2, 6, records);
    heap.setUserRoot(header);
    const Bytes stream = heap.stream();
    if (size)
        *size = stream.size();
    return WriteDataTree(database, stream);
}

} // namespace qb::pstmaker
