// The command line's scope of the shared folder walk, over the memory mail store.
#include "cli/message_names.h"
#include "cli/outlook_store_export.h"

#include "support/memory_outlook.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qb::cli {
namespace {

using Strings = std::vector<std::string>;

/// What a store's export hands on, in order.
class RecordedOutput : public MessageOutput {
  public:
    void write(const FolderPath &folder, ExportedMessage &message) override {
        texts.push_back(message.text());
        stems.push_back(message.stem());
        places.push_back(message.where());
        std::string path;
        for (const std::string &name : folder)
            path += "/" + name;
        folders.push_back(path);
    }

    Strings texts;
    Strings stems;
    Strings places;
    Strings folders;
};

/// The lines the report wrote, without the program's name before each.
Strings Lines(const std::ostringstream &stream) {
    Strings lines;
    std::istringstream in(stream.str());
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(line.find(": ") + 2));
    return lines;
}

test::MemoryItem Mail(const std::string &subject) {
    test::MemoryItem item;
    item.subject = subject;
    item.senderName = "Ann";
    item.senderEmailAddress = "ann@example.com";
    return item;
}

class OutlookStoreExport : public ::testing::Test {
  protected:
    OutlookStoreExport() : top(stores.addProfileStore("Mailbox", "/stores/mailbox.pst")) {}

    void exportStore() {
        const auto mapi = stores.createApplication()->GetNamespace("MAPI");
        ExportStoreFolders(mapi->folders()->item(1), "mailbox.pst", target);
    }

    test::MemoryMailStoreLayer stores;
    test::MemoryFolder &top;
    RecordedOutput output;
    std::ostringstream errors;
    RunReport report{errors, Verbosity::Quiet};
    ExportTarget target{output, report, std::nullopt};
};

TEST_F(OutlookStoreExport, WritesTheMailOfTheTopFolderAfterTheFoldersBelowIt) {
    for (const char *subject : {"one", "two", "three"})
        top.add(Mail(subject));
    top.add("Inbox").add(Mail("in inbox"));

    exportStore();

    EXPECT_EQ(output.places,
              (Strings{"mailbox.pst: Inbox: \"in inbox\"", "mailbox.pst: (top): \"one\"",
                       "mailbox.pst: (top): \"two\"", "mailbox.pst: (top): \"three\""}));
    // The output mirrors the folders below the store's file name.
    EXPECT_EQ(output.folders,
              (Strings{"/mailbox.pst/Inbox", "/mailbox.pst", "/mailbox.pst", "/mailbox.pst"}));
    EXPECT_EQ(errors.str(), "");
}

TEST_F(OutlookStoreExport, WritesTheSharedRenderingUnderTheMessagesOwnTimeAndSubject) {
    test::MemoryItem plans = Mail("Plans");
    plans.displayTo = "Bob";
    plans.body = "Hello";
    plans.attachments = 1;
    top.add("Inbox").add(plans);

    exportStore();

    ASSERT_EQ(output.texts.size(), 1u);
    EXPECT_EQ(output.texts[0], "From:\tAnn <ann@example.com>\r\n"
                               "Sent:\tSunday, March 3, 2024 2:05 PM\r\n"
                               "To:\tBob\r\n"
                               "Cc:\t\r\n"
                               "Subject:\tPlans\r\n"
                               "Attachments:\tAttachment 1\r\n"
                               "\r\n"
                               "Hello\r\n");
    EXPECT_EQ(output.stems[0], MessageStem({2024, 3, 3, 14, 5, 9}, "Plans"));
}

TEST_F(OutlookStoreExport, FolderNameChoosesTheFoldersMessages) {
    test::MemoryFolder &inbox = top.add("Inbox");
    inbox.add(Mail("in inbox"));
    inbox.add("2020").add(Mail("below inbox"));
    top.add("Sent Items").add("Inbox").add(Mail("own folder named Inbox"));
    top.add("Drafts").add(Mail("draft"));
    top.add(Mail("in the top folder"));
    target.folderName = "Inbox";

    exportStore();

    EXPECT_EQ(
        output.places,
        (Strings{"mailbox.pst: Inbox/2020: \"below inbox\"", "mailbox.pst: Inbox: \"in inbox\"",
                 "mailbox.pst: Sent Items/Inbox: \"own folder named Inbox\""}));
}

TEST_F(OutlookStoreExport, FailuresNameTheFileTheFolderPathAndTheMessage) {
    test::MemoryFolder &projects = top.add("Inbox").add("Projects");
    test::MemoryItem noBody = Mail("no body");
    noBody.failing = {"Body"};
    projects.add(noBody);
    projects.add(Mail("fine"));
    test::MemoryFolder &sent = top.add("Sent Items");
    sent.failing = {"Items"};
    test::MemoryItem unreadable = Mail("unreadable");
    unreadable.failing = {"Class", "Subject", "SenderName"};
    top.add(unreadable);

    exportStore();

    EXPECT_EQ(output.places, (Strings{"mailbox.pst: Inbox/Projects: \"fine\""}));
    const Strings failures = Lines(errors);
    ASSERT_EQ(failures.size(), 3u);
    EXPECT_EQ(failures[0], "mailbox.pst: Inbox/Projects: \"no body\": The property "
                           "\"Body\" is unknown.");
    EXPECT_EQ(failures[1], "mailbox.pst: Sent Items: The property \"Items\" is unknown.");
    EXPECT_EQ(failures[2],
              "mailbox.pst: (top): 1 item of the store \"Mailbox\" could not be read and is not "
              "written: the top folder, item 1. The first failed with: The property \"Class\" "
              "is unknown.");
    EXPECT_EQ(report.failures(), 3);
}

TEST_F(OutlookStoreExport, StopsAfterTheCurrentMessage) {
    test::MemoryFolder &inbox = top.add("Inbox");
    for (const char *subject : {"one", "two", "three"})
        inbox.add(Mail(subject));
    top.add(Mail("in the top folder"));
    target.stopRequested = [&] { return output.texts.size() == 2; };

    exportStore();

    EXPECT_EQ(output.texts.size(), 2u);
    EXPECT_EQ(errors.str(), "");
}

} // namespace
} // namespace qb::cli
