#include "support/pst/pst_store_writer.h"

#include "support/pst/pst_checksums.h"
#include "support/pst/pst_message_writer.h"
#include "support/pst/pst_property_context.h"
#include "support/pst/pst_property_tags.h"

namespace qb::pstmaker {
namespace {

constexpr NodeId messageStoreNode = 0x21;
constexpr NodeId nameToIdMapNode = 0x61;
constexpr NodeId rootFolder = 0x122;
constexpr NodeId topFolder = 0x8022;
constexpr NodeId searchRootFolder = 0x8042;
constexpr NodeId spamSearchFolder = 0x8062;
constexpr NodeId deletedItemsFolder = 0x8082;
constexpr NodeId hierarchyTableTemplate = 0x60D;
constexpr NodeId contentsTableTemplate = 0x60E;
constexpr NodeId associatedContentsTableTemplate = 0x60F;
constexpr std::uint32_t firstUserFolderIndex = 0x405;
constexpr std::uint32_t firstMessageIndex = 0x10000;
constexpr std::uint32_t defaultNextIndex = 0x400;

const std::vector<std::uint32_t> hierarchyColumns = {tag::displayName, tag::contentCount,
                                                     tag::contentUnreadCount, tag::subfolders,
                                                     tag::containerClass};
const std::vector<std::uint32_t> contentsColumns = {tag::importance, tag::clientSubmitTime,
                                                    tag::messageDeliveryTime, tag::messageFlags,
                                                    tag::messageSize};

std::string ContainerClass(FolderKind kind) {
    switch (kind) {
    case FolderKind::calendar:
        return "IPF.Appointment";
    case FolderKind::contacts:
        return "IPF.Contact";
    case FolderKind::mail:
        break;
    }
    return "IPF.Note";
}

NodeId WithType(NodeId node, NodeType type) {
    return (node & ~0x1Fu) | static_cast<std::uint32_t>(type);
}

/// A store key made from the display name, so the same store gets the same key.
Guid StoreKey(const std::string &displayName) {
    Guid key{};
    for (std::size_t i = 0; i < key.size(); i += 4) {
        const std::uint32_t part =
            Crc32(BytesOf(displayName), static_cast<std::uint32_t>(0x5A17 + i));
        StoreLittleEndian(key.data() + i, part, 4);
    }
    return key;
}

} // namespace

struct PstStoreWriter::Folder {
    FolderId id;
    FolderId parent;
    std::string name;
    std::string containerClass;
    std::vector<FolderId> children;
    TableContextBuilder contents;
    std::uint32_t count = 0;
    std::uint32_t unread = 0;
};

PstStoreWriter::PstStoreWriter(const std::string &path, std::string displayName)
    : database_(path), nextFolderIndex_(firstUserFolderIndex), nextMessageIndex_(firstMessageIndex),
      storeKey_(StoreKey(displayName)), displayName_(std::move(displayName)) {
    createFolder(rootFolder, rootFolder, "", "");
    createFolder(topFolder, rootFolder, "Top of Personal Folders", "");
    createFolder(searchRootFolder, rootFolder, "Search Root", "");
    createFolder(spamSearchFolder, rootFolder, "SPAM Search Folder 2", "");
    createFolder(deletedItemsFolder, topFolder, "Deleted Items", "IPF.Note");
}

PstStoreWriter::~PstStoreWriter() = default;

FolderId PstStoreWriter::topOfPersonalFolders() const {
    return topFolder;
}
FolderId PstStoreWriter::deletedItems() const {
    return deletedItemsFolder;
}

PstStoreWriter::Folder &PstStoreWriter::createFolder(FolderId id, FolderId parent, std::string name,
                                                     std::string kind) {
    auto folder = std::unique_ptr<Folder>(
        new Folder{id, parent, std::move(name), std::move(kind), {}, {database_, contentsColumns}});
    Folder &created = *folder;
    folders_.emplace(id, std::move(folder));
    if (parent != id)
        folders_.at(parent)->children.push_back(id);
    return created;
}

FolderId PstStoreWriter::addFolder(FolderId parent, const std::string &name, FolderKind kind) {
    const FolderId id = MakeNodeId(NodeType::normalFolder, nextFolderIndex_++);
    createFolder(id, parent, name, ContainerClass(kind));
    return id;
}

void PstStoreWriter::addMessage(FolderId folder, const Message &message) {
    Folder &owner = *folders_.at(folder);
    const NodeId node = MakeNodeId(NodeType::normalMessage, nextMessageIndex_++);
    MessageWriter writer(database_, names_);
    const NodeContent content = writer.write(message);
    database_.addNode(node, content.data, content.subnodes, folder);
    owner.contents.addRow(
        node, {{tag::importance, Integer32Value(1)},
               {tag::clientSubmitTime, TimeValue(message.submitTime)},
               {tag::messageDeliveryTime, TimeValue(message.deliveryTime)},
               {tag::messageFlags, Integer32Value(MessageFlagsOf(message))},
               {tag::messageSize, Integer32Value(static_cast<std::uint32_t>(content.size))}});
    ++owner.count;
    owner.unread += message.read ? 0 : 1;
}

void PstStoreWriter::writeFolder(Folder &folder) {
    TableContextBuilder hierarchy(database_, hierarchyColumns);
    for (const FolderId childId : folder.children) {
        const Folder &child = *folders_.at(childId);
        std::vector<std::pair<std::uint32_t, Bytes>> cells = {
            {tag::displayName, UnicodeValue(child.name)},
            {tag::contentCount, Integer32Value(child.count)},
            {tag::contentUnreadCount, Integer32Value(child.unread)},
            {tag::subfolders, BooleanValue(!child.children.empty())}};
        if (!child.containerClass.empty())
            cells.emplace_back(tag::containerClass, UnicodeValue(child.containerClass));
        hierarchy.addRow(childId, cells);
    }
    const NodeContent hierarchyContent = hierarchy.write();
    database_.addNode(WithType(folder.id, NodeType::hierarchyTable), hierarchyContent.data,
                      hierarchyContent.subnodes, 0);
    const NodeContent contents = folder.contents.write();
    database_.addNode(WithType(folder.id, NodeType::contentsTable), contents.data,
                      contents.subnodes, 0);
    const NodeContent associated = TableContextBuilder(database_, {}).write();
    database_.addNode(WithType(folder.id, NodeType::associatedContentsTable), associated.data,
                      associated.subnodes, 0);

    PropertyContextBuilder properties;
    properties.set(tag::displayName, UnicodeValue(folder.name));
    properties.set(tag::contentCount, Integer32Value(folder.count));
    properties.set(tag::contentUnreadCount, Integer32Value(folder.unread));
    properties.set(tag::subfolders, BooleanValue(!folder.children.empty()));
    if (!folder.containerClass.empty())
        properties.set(tag::containerClass, UnicodeValue(folder.containerClass));
    SubnodeList subnodes;
    const BlockId data = properties.write(database_, subnodes);
    database_.addNode(folder.id, data, subnodes.write(database_), folder.parent);
}

Bytes PstStoreWriter::entryId(NodeId node) const {
    Bytes id(4, 0);
    AppendBytes(id, storeKey_);
    AppendLittleEndian(id, node, 4);
    return id;
}

void PstStoreWriter::writeMessageStore() {
    PropertyContextBuilder properties;
    properties.set(tag::recordKey, storeKey_);
    properties.set(tag::displayName, UnicodeValue(displayName_));
    properties.set(tag::ipmSubtreeEntryId, entryId(topFolder));
    properties.set(tag::ipmWastebasketEntryId, entryId(deletedItemsFolder));
    properties.set(tag::finderEntryId, entryId(searchRootFolder));
    SubnodeList subnodes;
    const BlockId data = properties.write(database_, subnodes);
    database_.addNode(messageStoreNode, data, subnodes.write(database_), 0);
    const NodeContent map = names_.write(database_);
    database_.addNode(nameToIdMapNode, map.data, map.subnodes, 0);
}

void PstStoreWriter::writeTemplates() {
    const std::vector<std::pair<NodeId, std::vector<std::uint32_t>>> templates = {
        {hierarchyTableTemplate, hierarchyColumns},
        {contentsTableTemplate, contentsColumns},
        {associatedContentsTableTemplate, {}}};
    for (const auto &[node, columns] : templates) {
        const NodeContent content = TableContextBuilder(database_, columns).write();
        database_.addNode(node, content.data, content.subnodes, 0);
    }
}

void PstStoreWriter::finish() {
    for (const auto &[id, folder] : folders_)
        writeFolder(*folder);
    folders_.clear();
    writeMessageStore();
    writeTemplates();
    std::array<std::uint32_t, 32> nextIndex;
    nextIndex.fill(defaultNextIndex);
    nextIndex[static_cast<std::size_t>(NodeType::normalFolder)] = nextFolderIndex_;
    nextIndex[static_cast<std::size_t>(NodeType::normalMessage)] = nextMessageIndex_;
    database_.finish(nextIndex);
}

} // namespace qb::pstmaker
