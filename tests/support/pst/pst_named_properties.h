#pragma once

#include "support/pst/pst_message.h"
#include "support/pst/pst_table_context.h"

#include <cstdint>
#include <vector>

namespace qb::pstmaker {

/// The name-to-id map of a store (node 0x61): hands out property ids from 0x8000 up for the
/// named properties the messages use, and writes the map's GUID, entry and string streams and
/// its hash buckets.
class NamedPropertyMap {
  public:
    /// A map that already holds PidLidReminderSet: readers expect a map with entries.
    NamedPropertyMap();

    /// The property id of a name; the first use of a name enters it.
    std::uint16_t idOf(const PropertyName &name);
    /// Writes the map as a property context.
    NodeContent write(NodeDatabase &database) const;

  private:
    std::uint16_t guidIndex(const Guid &set) const;

    std::vector<PropertyName> names_;
    std::vector<Guid> guids_;
};

} // namespace qb::pstmaker
