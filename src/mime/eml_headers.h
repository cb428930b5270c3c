#pragma once

#include "mail/message.h"
#include "mime/part_reader.h"

#include <gmime/gmime.h>

namespace qb::mime {

/// Gives target the header fields of message. Where the store kept the header block the message
/// arrived with, those fields as they were, except the fields that describe the MIME structure,
/// completed from the store by those of From, To, Cc, Subject, Date and Message-ID that the
/// block lacks (never by Bcc); else From, To, Cc, Bcc,
/// Subject, Date, Message-ID, In-Reply-To and References from the store. Names and subjects
/// beyond ASCII become UTF-8 encoded words; a sender or recipient without an internet address is
/// written by name alone, as an empty group. What cannot be read is a problem of the reader.
void SetHeaderFields(mail::Message &message, GMimeMessage *target, PartReader &reader);

} // namespace qb::mime
