#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What the command line reads from a MIME message itself, with GMime.
namespace qb::cli {

/// The moment of an RFC 5322 date text ("Tue, 1 Jul 2003 10:52:37 +0200"), or nothing when the
/// text is no such date.
std::optional<std::chrono::sys_seconds> MailMoment(const std::string &dateText);

/// The address of the first mailbox of an address list ("Ann <ann@example.org>" gives
/// "ann@example.org"), or the empty text.
std::string FirstAddress(const std::string &addresses);

/// Hands every attachment of the message to take, in document order: its file name (empty when
/// it has none) and its content with the transfer encoding undone; an attached message
/// (message/rfc822) comes whole, as its own text, with ".eml" after its name. A message GMime
/// cannot read has none.
void ForEachAttachment(
    std::string_view message,
    const std::function<void(const std::string &name, std::string_view bytes)> &take);

} // namespace qb::cli
