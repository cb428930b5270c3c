#pragma once

#include "cli/export_scope.h"
#include "cli/input_stores.h"
#include "cli/message_sink.h"
#include "cli/run_report.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qb::cli {

/// Reads one store into the target.
using ReadStore = std::function<void(const StoreInput &store, ExportTarget &target)>;
/// True once the run is asked to stop; asked from both threads.
using StopCheck = std::function<bool()>;

/// Text that may wait between the reading and the writing; bounds the run's memory.
inline constexpr std::size_t readAheadLimit = 32 * 1024 * 1024;

/// Reads the stores one after the other on a thread of its own while the calling thread writes
/// what they hold, so that the disk's work overlaps the reading. The sink and the report get
/// everything in the order it was read, as if it had been read here, and a store's end is
/// counted once all it held is written. At most `limit` bytes of text wait, or one text that
/// is larger. Only the reading thread touches the stores' libraries, one store at a time.
///
/// Once stopRequested says so, the writing stops after the message it is writing, what waits
/// is dropped, and the reading ends at its next message (the stores see the same check as
/// ExportTarget::stopRequested, to stop before they read one); then ReadAhead returns.
void ReadAhead(const std::vector<StoreInput> &stores, const ReadStore &read,
               const std::optional<std::string> &folderName, const StopCheck &stopRequested,
               MessageSink &sink, RunReport &report, std::size_t limit = readAheadLimit);

} // namespace qb::cli
