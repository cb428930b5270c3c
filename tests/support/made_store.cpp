#include "support/made_store.h"

#include "support/pst/pst_store_writer.h"

#include <cstdlib>
#include <ctime>
#include <sstream>

namespace qb::test {

std::shared_ptr<mail::Message> SampleStoreMessage(outlook::Folder &root, std::uint64_t index) {
    const std::size_t place = pstmaker::SampleFolderOf(index);
    std::shared_ptr<outlook::Folder> holder;
    outlook::Folder *folder = &root;
    std::istringstream path(pstmaker::SampleFolderPaths()[place]);
    for (std::string name; std::getline(path, name, '/');)
        for (int i = 1; i <= folder->folders()->count(); ++i)
            if (auto child = folder->folders()->item(i); child->name() == name) {
                holder = child;
                folder = holder.get();
                break;
            }
    int position = 0;
    for (std::uint64_t earlier = 0; earlier <= index; ++earlier)
        position += pstmaker::SampleFolderOf(earlier) == place ? 1 : 0;
    return folder->items()->item(position)->message();
}

void WriteMadeStore(const std::string &path) {
    pstmaker::WriteSampleStore(path, madeStoreOptions);
}

void WriteOneMessageStore(const std::string &path, const std::string &displayName,
                          const std::string &subject) {
    pstmaker::PstStoreWriter store(path, displayName);
    pstmaker::Message message;
    message.subject = subject;
    message.senderName = "Ann Example";
    message.senderAddress = "ann@example.org";
    message.plainBody = "The only message of this store.\r\n";
    message.deliveryTime = 1719835200; // 2024-07-01 12:00 UTC
    message.submitTime = message.deliveryTime;
    store.addMessage(store.addFolder(store.topOfPersonalFolders(), "Inbox"), message);
    store.finish();
}

UtcLocalTime::UtcLocalTime() {
    if (const char *zone = std::getenv("TZ"))
        saved_ = zone;
    setenv("TZ", "UTC", 1);
    tzset();
}

UtcLocalTime::~UtcLocalTime() {
    if (saved_)
        setenv("TZ", saved_->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

std::string ReadStream(mail::ByteStream &stream) {
    std::string bytes;
    char piece[1000];
    while (const std::size_t read = stream.read(piece, sizeof piece))
        bytes.append(piece, read);
    return bytes;
}

} // namespace qb::test
