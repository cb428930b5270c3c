#pragma once

#include "mail/message.h"

#include <memory>
#include <vector>

namespace qb {

class PffItemHandle;

/// The recipient table of a message, one Recipient per row in the file's order; empty when the
/// message has none. 8-bit texts are read in the given code page. Throws Failure naming the
/// message when the table or a row cannot be read.
std::vector<mail::Recipient> ReadRecipients(const std::shared_ptr<PffItemHandle> &message,
                                            int codepage);

} // namespace qb
