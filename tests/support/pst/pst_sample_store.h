#pragma once

#include "support/pst/pst_message.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qb::pstmaker {

/// What a sample store is made of.
struct SampleStoreOptions {
    std::uint64_t mailMessages = 100;
    std::uint64_t seed = 1;
    /// Bytes of the file attached to each message with attachments; 0 gives sizes between
    /// 2 KB and 300 KB.
    std::uint64_t attachmentBytes = 0;
};

/// The folders of a sample store, as paths below the top of personal folders ("" is the top
/// folder itself), in the order they are made.
const std::vector<std::string> &SampleFolderPaths();

/// Where the mail message with that number goes: an index into SampleFolderPaths().
std::size_t SampleFolderOf(std::uint64_t index);

/// Mail message number `index` of a sample store: IPM.Note with non-ASCII text everywhere, a
/// plain, HTML (binary or text) or compressed-RTF body by turns, SMTP and Exchange senders and
/// recipients, and on every tenth message attachments: files, an attached message nested three
/// deep, an OLE object and a reference to a file elsewhere.
Message SampleMailMessage(const SampleStoreOptions &options, std::uint64_t index);

/// Non-mail items: appointments (IPM.Appointment) and contacts (IPM.Contact).
Message SampleAppointment(std::uint64_t index);
Message SampleContact(std::uint64_t index);

/// Counts of what WriteSampleStore wrote.
struct SampleStoreSummary {
    std::uint64_t mailMessages = 0;
    std::uint64_t otherItems = 0;
    std::uint64_t folders = 0;
};

/// Writes a sample store to path: the sample folders, the mail messages spread over them, and
/// one appointment and one contact per 50 messages (at least one) in Calendar and Contacts,
/// with one more of each in the Inbox among the mail. The same options give the same bytes; throws
/// Failure.
SampleStoreSummary WriteSampleStore(const std::string &path, const SampleStoreOptions &options);

} // namespace qb::pstmaker
