#pragma once

#include "support/pst/pst_data_tree.h"
#include "support/pst/pst_heap.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qb::pstmaker {

/// MAPI property types as the low 16 bits of a property tag.
namespace property_type {
inline constexpr std::uint16_t integer16 = 0x0002;
inline constexpr std::uint16_t integer32 = 0x0003;
inline constexpr std::uint16_t boolean = 0x000B;
inline constexpr std::uint16_t object = 0x000D;
inline constexpr std::uint16_t integer64 = 0x0014;
inline constexpr std::uint16_t string8 = 0x001E;
inline constexpr std::uint16_t unicode = 0x001F;
inline constexpr std::uint16_t time = 0x0040;
inline constexpr std::uint16_t guid = 0x0048;
inline constexpr std::uint16_t binary = 0x0102;
} // namespace property_type

constexpr std::uint16_t TypeOf(std::uint32_t tag) {
    return static_cast<std::uint16_t>(tag);
}

/// Whether values of the type live in the property record itself (four bytes or fewer).
bool IsInlineType(std::uint16_t type);
/// Bytes a table cell of the type takes: the value for fixed sizes, four for a heap reference.
std::size_t CellSize(std::uint16_t type);

/// Stored forms of property values.
Bytes UnicodeValue(std::string_view utf8);
Bytes Integer32Value(std::uint32_t value);
Bytes BooleanValue(bool value);
/// A FILETIME from seconds since 1970-01-01 UTC.
Bytes TimeValue(std::int64_t unixSeconds);

/// Builds a property context (PC): a BTH of property records in a heap on node. Values up to
/// 3580 bytes live in the heap, larger ones in subnodes of the node that holds the context.
class PropertyContextBuilder {
  public:
    /// Sets a property; the value is in its stored form (strings as UTF-16LE).
    void set(std::uint32_t tag, ByteView value);
    /// Sets a property whose value was already written as the given subnode.
    void setSubnodeValue(std::uint32_t tag, NodeId subnode);
    /// Sets an object property (an attached message or OLE storage) kept in a subnode.
    void setObject(std::uint32_t tag, NodeId subnode, std::uint32_t size);
    /// Writes the context; large values are added to `subnodes`. Returns the data tree's root
    /// and, when asked, its size.
    BlockId write(NodeDatabase &database, SubnodeList &subnodes,
                  std::uint64_t *size = nullptr) const;

  private:
    enum class Storage { value, subnode, object };
    struct Property {
        std::uint32_t tag;
        Storage storage;
        Bytes value;
        NodeId subnode = 0;
    };
    std::vector<Property> properties_;
};

} // namespace qb::pstmaker
