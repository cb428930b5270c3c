#include "download_fixture.h"
#include "export/outlook_download.h"
#include "export/output_names.h"
#include "pst/pff_mail_store.h"
#include "support/made_store.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qb::exporting {
namespace {

namespace fs = std::filesystem;

/// One mail message of the store as the message list shows it.
struct ListedMessage {
    std::string folder;
    std::string subfolder;
    std::string subject;
    std::string entryId;
};

void ListMessages(outlook::Folder &folder, const std::string &topName,
                  std::vector<ListedMessage> &messages) {
    const auto items = folder.items();
    for (int index = 1; index <= items->count(); ++index) {
        const auto item = items->item(index);
        if (item->Class() == outlook::olMail)
            messages.push_back({topName, folder.name() == topName ? "" : folder.name(),
                                item->Subject(), item->EntryID()});
    }
    const auto children = folder.folders();
    for (int index = 1; index <= children->count(); ++index)
        ListMessages(*children->item(index), topName, messages);
}

/// The subject after the replacements of the download's name rule.
std::string Cleaned(std::string subject) {
    for (const NameReplacement &replacement : outlookReplacements)
        subject = ApplyReplacement(subject, replacement);
    return subject;
}

/// The mail messages under every top-level folder of every store of the layer.
std::vector<ListedMessage> ListStore(outlook::MailStoreLayer &layer) {
    std::vector<ListedMessage> messages;
    const auto roots = layer.createApplication()->GetNamespace("MAPI")->folders();
    for (int root = 1; root <= roots->count(); ++root) {
        const auto tops = roots->item(root)->folders();
        for (int top = 1; top <= tops->count(); ++top) {
            const auto folder = tops->item(top);
            ListMessages(*folder, folder->name(), messages);
        }
    }
    return messages;
}

class OutlookDownloadFromPst : public ::testing::Test,
                               protected test_support::DownloadControlModels {
  protected:
    void SetUp() override {
        // The profile folder holds only the made store.
        fs::create_directory(t.folder / "profile");
        test::WriteMadeStore(t.folder / "profile/made.pst");
        if (!layer.createApplication())
            GTEST_SKIP() << "the libpff mail store layer cannot open stores yet";
        fs::create_directory(t.folder / "out");
        Text3.setText(t.folder / "out/");
        for (const char *item : {"Checked Items", "All", "Inbox"})
            Combo1.addItem(item);
        OptionButton::group({&Option1, &Option2});
        Option1.setValue(true);
    }

    std::vector<std::string> outputFiles() const { return test::FileNamesIn(t.folder / "out"); }

    test::TestPlatform t;
    PffMailStoreLayer layer{t.folder / "profile"};
    OutlookDownload download{test_support::FacilitiesOver(t, layer), controls()};
};

TEST_F(OutlookDownloadFromPst, InboxMessagesAreSavedOneFileEachAndThenGathered) {
    const std::vector<ListedMessage> messages = ListStore(layer);
    std::vector<std::string> inboxSubjects;
    for (const ListedMessage &message : messages) {
        ListView1.addRow({"made", message.folder, message.subfolder, "", "", "", "",
                          message.subject, message.entryId});
        if (message.folder == "Inbox" || message.subfolder == "Inbox")
            inboxSubjects.push_back(message.subject);
    }
    ASSERT_EQ(inboxSubjects.size(), 22u); // the Inbox's 20 and those of a subfolder named Inbox
    Combo1.setListIndex(2);               // Inbox

    download.saveChosenMessages();
    EXPECT_TRUE(t.reports().empty()) << t.reports().front();
    const std::vector<std::string> files = outputFiles();
    ASSERT_EQ(files.size(), 22u);
    std::string gathered;
    for (std::size_t index = 0; index < files.size(); ++index) {
        SCOPED_TRACE(files[index]);
        // Every message waits 1.5 s before its name is formed, so the stamps tell the order.
        const std::string stamp = OutlookTimeStamp(
            {2024, 3, 3, 14, 5, 10 + 3 * (static_cast<int>(index) + 1) / 2}, t.locale);
        EXPECT_EQ(files[index].substr(0, stamp.size()), stamp);
        EXPECT_EQ(files[index].substr(stamp.size()),
                  std::string(" ") + Cleaned(inboxSubjects[index]) + ".txt");
        const std::string text = t.folder.read("out/" + files[index]);
        EXPECT_TRUE(text.starts_with("From:\t")) << text.substr(0, 80);
        EXPECT_NE(text.find("Subject:\t" + inboxSubjects[index] + "\r\n"), std::string::npos);
        gathered += text;
    }

    fs::remove_all(t.folder / "out");
    fs::create_directory(t.folder / "out");
    Option2.setValue(true);
    download.saveChosenMessages();
    EXPECT_EQ(outputFiles(), std::vector<std::string>{combinedFileName});
    EXPECT_EQ(t.folder.read("out/AllEmails.txt"), gathered);
}

} // namespace
} // namespace qb::exporting
