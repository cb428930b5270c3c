#pragma once

#include "mail/message.h"
#include "mime/gmime_objects.h"
#include "mime/part_reader.h"

#include <gmime/gmime.h>

#include <string>

namespace qb::mime {

/// The MIME message of a message of a store: its header fields and its body with every
/// attachment that can be a part. depth counts the attached messages that hold it (0 for the
/// message written) and place names them for problems (see PartReader). Throws Failure when no
/// part of the message can be read.
GObjectPtr<GMimeMessage> BuildMessage(mail::Message &message, EmlContext &context,
                                      const std::string &place, int depth);

} // namespace qb::mime
