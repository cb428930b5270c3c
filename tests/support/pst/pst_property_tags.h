#pragma once

#include <cstdint>

namespace qb::pstmaker::tag {

// Messages
inline constexpr std::uint32_t importance = 0x00170003;
inline constexpr std::uint32_t messageClass = 0x001A001F;
inline constexpr std::uint32_t subject = 0x0037001F;
inline constexpr std::uint32_t clientSubmitTime = 0x00390040;
inline constexpr std::uint32_t subjectPrefix = 0x003D001F;
inline constexpr std::uint32_t sentRepresentingName = 0x0042001F;
inline constexpr std::uint32_t sentRepresentingAddressType = 0x0064001F;
inline constexpr std::uint32_t sentRepresentingEmailAddress = 0x0065001F;
inline constexpr std::uint32_t conversationTopic = 0x0070001F;
inline constexpr std::uint32_t transportMessageHeaders = 0x007D001F;
inline constexpr std::uint32_t senderName = 0x0C1A001F;
inline constexpr std::uint32_t senderAddressType = 0x0C1E001F;
inline constexpr std::uint32_t senderEmailAddress = 0x0C1F001F;
inline constexpr std::uint32_t displayBcc = 0x0E02001F;
inline constexpr std::uint32_t displayCc = 0x0E03001F;
inline constexpr std::uint32_t displayTo = 0x0E04001F;
inline constexpr std::uint32_t messageDeliveryTime = 0x0E060040;
inline constexpr std::uint32_t messageFlags = 0x0E070003;
inline constexpr std::uint32_t messageSize = 0x0E080003;
inline constexpr std::uint32_t hasAttachments = 0x0E1B000B;
inline constexpr std::uint32_t normalizedSubject = 0x0E1D001F;
inline constexpr std::uint32_t rtfInSync = 0x0E1F000B;
inline constexpr std::uint32_t body = 0x1000001F;
inline constexpr std::uint32_t rtfCompressed = 0x10090102;
inline constexpr std::uint32_t htmlBinary = 0x10130102;
inline constexpr std::uint32_t htmlText = 0x1013001F;
inline constexpr std::uint32_t internetMessageId = 0x1035001F;
inline constexpr std::uint32_t internetReferences = 0x1039001F;
inline constexpr std::uint32_t inReplyToId = 0x1042001F;
inline constexpr std::uint32_t creationTime = 0x30070040;
inline constexpr std::uint32_t lastModificationTime = 0x30080040;
inline constexpr std::uint32_t internetCodepage = 0x3FDE0003;
inline constexpr std::uint32_t messageCodepage = 0x3FFD0003;
inline constexpr std::uint32_t senderSmtpAddress = 0x5D01001F;
inline constexpr std::uint32_t sentRepresentingSmtpAddress = 0x5D02001F;

// Recipients
inline constexpr std::uint32_t recipientType = 0x0C150003;
inline constexpr std::uint32_t responsibility = 0x0E0F000B;
inline constexpr std::uint32_t objectType = 0x0FFE0003;
inline constexpr std::uint32_t addressType = 0x3002001F;
inline constexpr std::uint32_t emailAddress = 0x3003001F;
inline constexpr std::uint32_t displayType = 0x39000003;
inline constexpr std::uint32_t smtpAddress = 0x39FE001F;
inline constexpr std::uint32_t transmittableDisplayName = 0x3A20001F;
inline constexpr std::uint32_t sendRichInfo = 0x3A40000B;

// Attachments
inline constexpr std::uint32_t attachSize = 0x0E200003;
inline constexpr std::uint32_t attachDataBinary = 0x37010102;
inline constexpr std::uint32_t attachDataObject = 0x3701000D;
inline constexpr std::uint32_t attachExtension = 0x3703001F;
inline constexpr std::uint32_t attachFilename = 0x3704001F;
inline constexpr std::uint32_t attachMethod = 0x37050003;
inline constexpr std::uint32_t attachLongFilename = 0x3707001F;
inline constexpr std::uint32_t attachPathname = 0x3708001F;
inline constexpr std::uint32_t renderingPosition = 0x370B0003;
inline constexpr std::uint32_t attachLongPathname = 0x370D001F;
inline constexpr std::uint32_t attachMimeTag = 0x370E001F;
inline constexpr std::uint32_t attachContentId = 0x3712001F;

// Folders and the store
inline constexpr std::uint32_t recordKey = 0x0FF90102;
inline constexpr std::uint32_t displayName = 0x3001001F;
inline constexpr std::uint32_t validFolderMask = 0x35DF0003;
inline constexpr std::uint32_t ipmSubtreeEntryId = 0x35E00102;
inline constexpr std::uint32_t ipmWastebasketEntryId = 0x35E30102;
inline constexpr std::uint32_t finderEntryId = 0x35E70102;
inline constexpr std::uint32_t contentCount = 0x36020003;
inline constexpr std::uint32_t contentUnreadCount = 0x36030003;
inline constexpr std::uint32_t subfolders = 0x360A000B;
inline constexpr std::uint32_t containerClass = 0x3613001F;
inline constexpr std::uint32_t pstPassword = 0x67FF0003;

// The name-to-id map
inline constexpr std::uint32_t nameidBucketCount = 0x00010003;
inline constexpr std::uint32_t nameidStreamGuid = 0x00020102;
inline constexpr std::uint32_t nameidStreamEntry = 0x00030102;
inline constexpr std::uint32_t nameidStreamString = 0x00040102;
inline constexpr std::uint32_t nameidBucketBase = 0x10000102;

} // namespace qb::pstmaker::tag
