#include "support/made_store.h"

#include "support/pst/pst_store_writer.h"

#include <cstdlib>
#include <ctime>

namespace qb::test {

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

} // namespace qb::test
