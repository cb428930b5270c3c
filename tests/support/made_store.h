#pragma once

#include "mail/message.h"
#include "platform/outlook_api.h"
#include "support/pst/pst_sample_store.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qb::test {

/// The store maker's sample store that the tests of the Outlook road read, small enough for each
/// test to write its own: 40 mail messages over the sample folders (the Inbox 20 and an
/// appointment and a contact among them, the top folder 2, the Outbox none), and on every tenth
/// message attachments, files of 3000 bytes. Its display name is "Beispiel-Postfach ✉".
inline constexpr pstmaker::SampleStoreOptions madeStoreOptions{40, 1, 3000};

/// Writes the made store to path; throws Failure.
void WriteMadeStore(const std::string &path);

/// Writes a store of another name (the file's own name stands in for an empty one) whose Inbox
/// holds one mail message with that subject, from "Ann Example" <ann@example.org>, with a plain
/// body; throws Failure.
void WriteOneMessageStore(const std::string &path, const std::string &displayName,
                          const std::string &subject);

/// Mail message `index` of a sample store written by the store maker, found below its root folder
/// by the sample folder it went into and its place there; throws Failure.
std::shared_ptr<mail::Message> SampleStoreMessage(outlook::Folder &root, std::uint64_t index);

/// The bytes of an attachment's stream, read in pieces smaller than a block of the store.
std::string ReadStream(mail::ByteStream &stream);

/// Local time is UTC while it lives, so that the times a test pins do not depend on the zone of
/// the machine; the zone before comes back after.
class UtcLocalTime {
  public:
    UtcLocalTime();
    ~UtcLocalTime();
    UtcLocalTime(const UtcLocalTime &) = delete;
    UtcLocalTime &operator=(const UtcLocalTime &) = delete;

  private:
    std::optional<std::string> saved_;
};

} // namespace qb::test
