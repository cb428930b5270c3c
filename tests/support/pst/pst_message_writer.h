#pragma once

#include "support/pst/pst_message.h"
#include "support/pst/pst_named_properties.h"
#include "support/pst/pst_property_context.h"
#include "support/pst/pst_table_context.h"

namespace qb::pstmaker {

/// The MSGFLAG bits a message is stored with.
std::uint32_t MessageFlagsOf(const Message &message);

/// Writes one message, attached messages included, as a property context with its subnodes:
/// the recipient table (0x692), the attachment table (0x671), one subnode per attachment and
/// the values too large for the heap.
class MessageWriter {
  public:
    MessageWriter(NodeDatabase &database, NamedPropertyMap &names);

    NodeContent write(const Message &message);

  private:
    void setProperties(PropertyContextBuilder &properties, const Message &message);
    void writeRecipients(const Message &message, SubnodeList &subnodes);
    void writeAttachments(const Message &message, SubnodeList &subnodes);
    NodeContent writeAttachment(const Attachment &attachment);
    void setAttachmentData(PropertyContextBuilder &properties, const Attachment &attachment,
                           SubnodeList &subnodes);

    NodeDatabase &database_;
    NamedPropertyMap &names_;
};

} // namespace qb::pstmaker
