#pragma once

#include "support/pst/pst_heap.h"

#include <cstddef>
#include <vector>

namespace qb::pstmaker {

/// Allocates the eight bytes of a BTHHEADER, to be filled by BuildHeapTree; callers allocate it
/// first so that it is the heap's first item.
HeapId ReserveHeapTreeHeader(HeapBuilder &heap);

/// Builds a B-tree on heap (BTH) from records (key then data) already sorted by key: leaves of
/// as many records as one heap item holds, and index levels above them as needed, then fills in
/// the header. An empty tree has no root.
void BuildHeapTree(HeapBuilder &heap, HeapId header, std::size_t keySize, std::size_t dataSize,
                   const std::vector<Bytes> &sortedRecords);

} // namespace qb::pstmaker
