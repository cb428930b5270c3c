#include "express/dbx_file_list.h"
#include "express/row_checks.h"

#include "support/test_platform.h"

#include <gtest/gtest.h>

namespace qb::express {
namespace {

using namespace std::string_literals;

TEST(ChosenPaths, SplitsTheDialogAnswerAndJoinsNamesToTheFolder) {
    struct Case {
        const char *what;
        std::string answer;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {"one file: its path unchanged", "/home/u//mail/Inbox.dbx", {"/home/u//mail/Inbox.dbx"}},
        {"several files in one folder",
         "/home/u/mail\0Inbox.dbx\0Sent Items.dbx"s,
         {"/home/u/mail/Inbox.dbx", "/home/u/mail/Sent Items.dbx"}},
        {"the root folder", "/\0a.dbx\0b.dbx\0c.dbx"s, {"/a.dbx", "/b.dbx", "/c.dbx"}},
        {"a network share keeps its leading pair",
         "//server/share\0a.dbx"s,
         {"//server/share/a.dbx"}},
        {"a run of leading separators becomes a pair",
         "////server//share\0a.dbx"s,
         {"//server/share/a.dbx"}},
        {"pairs collapse once, left to right", "/a///b\0c.dbx"s, {"/a//b/c.dbx"}},
        {"a final NUL names no file", "/m\0a.dbx\0"s, {"/m/a.dbx"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChosenPaths(c.answer), c.paths) << c.what;
}

/// An open dialog that fails as the real one does when the names overflow its buffer.
class FailingDialogs : public FileDialogs {
  public:
    explicit FailingDialogs(std::int32_t number) : number_(number) {}
    std::string open(const FileDialogRequest &) override {
        throw Failure(number_, "CommonDialog", "The dialog failed");
    }
    std::string save(const FileDialogRequest &) override { return std::string(); }

  private:
    std::int32_t number_;
};

class AddOutlookExpressFile : public ::testing::Test {
  protected:
    void click(FileDialogs &dialogs) {
        addMailboxFiles(dialogs, t.platform.messages, t.reporter, ListView1, "/home/u/identity");
    }

    std::vector<std::string> rows() const {
        std::vector<std::string> texts;
        for (int row = 1; row <= ListView1.rowCount(); ++row) {
            texts.emplace_back(ListView1.text(row));
            EXPECT_FALSE(ListView1.checked(row));
        }
        return texts;
    }

    test::TestPlatform t;
    ListView ListView1{"ListView1", {}};
};

TEST_F(AddOutlookExpressFile, AsksForDbxFilesAndAppendsTheChosenOnes) {
    ListView1.addRow({"/m/Inbox.dbx"});
    t.fileDialogs.answers = {"/m\0Inbox.dbx\0Outbox.dbx"s, "", "/n/Inbox.dbx"};
    click(t.fileDialogs);
    click(t.fileDialogs); // cancelled
    click(t.fileDialogs);

    EXPECT_EQ(rows(), (std::vector<std::string>{"/m/Inbox.dbx", "/m/Inbox.dbx", "/m/Outbox.dbx",
                                                "/n/Inbox.dbx"}));
    ASSERT_EQ(t.fileDialogs.opened.size(), 3u);
    const FileDialogRequest &request = t.fileDialogs.opened[0];
    EXPECT_EQ(request.title, "Add File(s) - Hold Ctrl or Shift to select multiple files");
    EXPECT_EQ(request.filter, "DBX Files (*.dbx)|*.dbx|");
    EXPECT_EQ(request.fileName, "");
    EXPECT_EQ(request.initialFolder, "/home/u/identity");
    EXPECT_TRUE(request.multiSelect);
    EXPECT_TRUE(t.messageBoxes.shown.empty());
}

TEST_F(AddOutlookExpressFile, TooManyNamesGiveAHintInsteadOfAReport) {
    FailingDialogs tooMany(nameBufferTooSmall);
    click(tooMany);
    ASSERT_EQ(t.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(t.messageBoxes.shown[0].text, "You've selected too many files to add.\r\rPlease "
                                            "try adding via the \"Add All\" button.");
    EXPECT_EQ(t.messageBoxes.shown[0].title, "Quillbarrow");
    EXPECT_EQ(t.messageBoxes.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(ListView1.rowCount(), 0);

    FailingDialogs broken(5);
    click(broken);
    ASSERT_EQ(t.reports().size(), 1u);
    EXPECT_NE(t.reports()[0].find("in Ferndock2021/08/31.Form2.PushButton1_Click at line 0"),
              std::string::npos);
    EXPECT_EQ(ListView1.rowCount(), 0);
}

TEST(SelectionButtons, MarkEveryRowOfTheirOwnList) {
    struct Case {
        void (*click)(Platform &, ListView &);
        bool checked;
    };
    const Case cases[] = {{PushButton5_Click, true},
                          {PushButton3_Click, false},
                          {PushButton4_Click, true},
                          {PushButton6_Click, false}};
    for (const Case &c : cases) {
        test::TestPlatform t;
        ListView list{"List", {}};
        list.addRow({"a"});
        list.addRow({"b"});
        list.addRow({"c"});
        list.setChecked(2, !c.checked);
        c.click(t.platform, list);
        for (int row = 1; row <= 3; ++row)
            EXPECT_EQ(list.checked(row), c.checked) << row;

        ListView empty{"Empty", {}};
        c.click(t.platform, empty);
        EXPECT_TRUE(t.messageBoxes.shown.empty());
    }
}

} // namespace
} // namespace qb::express
