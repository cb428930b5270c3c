// Times a listing of a large profile through the libpff mail store: 100 copies of the English
// sample store in a scratch "Outlook Files" folder, every mail message read as the message
// list reads it. Prints the rows, the seconds and the rows per second.
#include "failure/failure.h"
#include "pst/pff_mail_store.h"
#include "support/test_platform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int storeCopies = 100;

struct ListingCount {
    long rows = 0;
    long folders = 0;
    std::size_t textBytes = 0; // keeps the reads from being optimised away
};

/// Reads the cells of one message row, as the folder walk does.
void ReadRow(qb::outlook::Item &item, const std::string &folderPath, ListingCount &count) {
    const qb::LocalDateTime received = item.ReceivedTime();
    const std::string cells = folderPath + item.SenderName() + item.SenderEmailType() +
                              item.SenderEmailAddress() + std::to_string(item.attachmentCount()) +
                              item.Subject() + item.EntryID();
    count.textBytes += cells.size() + static_cast<std::size_t>(received.day);
    ++count.rows;
}

void ListFolder(qb::outlook::Folder &folder, const std::string &parentPath, ListingCount &count) {
    const std::string path = parentPath + "/" + folder.name();
    ++count.folders;
    auto items = folder.items();
    const int itemCount = items->count();
    for (int i = 1; i <= itemCount; ++i) {
        auto item = items->item(i);
        if (item->Class() == qb::outlook::olMail)
            ReadRow(*item, path, count);
    }
    auto children = folder.folders();
    const int childCount = children->count();
    for (int i = 1; i <= childCount; ++i)
        ListFolder(*children->item(i), path, count);
}

/// A scratch "Outlook Files" profile of copies of the sample, inside a scratch folder.
std::string FillProfile(const qb::test::TempFolder &scratch, const std::filesystem::path &sample) {
    const std::string profile = scratch / "Outlook Files";
    std::filesystem::create_directory(profile);
    for (int i = 0; i < storeCopies; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "store-%03d.pst", i);
        std::filesystem::copy_file(sample, profile + "/" + name);
    }
    return profile;
}

} // namespace

int main() {
    const std::filesystem::path sample =
        std::filesystem::path(qb::test::SamplesFolder()) / "english-store.pst";
    if (!std::filesystem::exists(sample)) {
        std::fprintf(stderr, "The sample store %s is not there.\n", sample.c_str());
        return 1;
    }
    const qb::test::TempFolder scratch;
    using Clock = std::chrono::steady_clock;
    qb::PffMailStoreLayer layer(FillProfile(scratch, sample));
    try {
        for (const char *pass : {"first listing (opens the files)", "second listing"}) {
            const auto start = Clock::now();
            auto mapi = layer.createApplication()->GetNamespace("MAPI");
            auto roots = mapi->folders();
            const int storeCount = roots->count();
            ListingCount count;
            for (int i = 1; i <= storeCount; ++i) {
                auto root = roots->item(i);
                ListFolder(*root, "", count);
            }
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            std::printf("%s: %d stores, %ld folders, %ld rows in %.3f s, %.0f rows/s\n", pass,
                        storeCount, count.folders, count.rows, seconds, count.rows / seconds);
        }
    } catch (const qb::Failure &failure) {
        std::fprintf(stderr, "The listing failed: %s\n", failure.description().c_str());
        return 1;
    }
    return 0;
}
