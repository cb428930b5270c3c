#include "export/express_download.h"

#include "express/eml_messages.h"
#include "mime/gmime_mime_reader.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace qb::exporting {
namespace {

namespace fs = std::filesystem;

constexpr const char *listedDate = "Mon, 4 Mar 2024 10:00:00 +0000";

/// The record the download must write for a row of addRow, byte for byte.
std::string Record(const std::string &subject, const std::string &body) {
    return "From: Ann <ann@example.com>\r\nTo: Bob\r\nSubject: " + subject +
           "\r\nDate Received: " + listedDate + "\r\n\r\n" + body;
}

class ExpressDownload : public ::testing::Test {
  protected:
    ExpressDownload() {
        fs::create_directory(workFolder);
        fs::create_directory(outputFolder);
        OptionButton::group({&Option1, &Option2});
        Option1.setValue(true);
        Text3.setText(outputFolder + "/");
    }

    /// Lists a message whose .eml file holds only the body, so that a record can show only the
    /// listed header values. Without a body the row's file is missing.
    void addRow(const std::string &subject, const std::string *body, bool checked) {
        const std::string name =
            std::string("m") + std::to_string(ListView2.rowCount() + 1) + ".eml";
        if (body)
            t.folder.write("work/" + name, "Content-Type: text/plain\r\n\r\n" + *body);
        const int row = ListView2.addRow({"Ann <ann@example.com>", "Bob", subject, listedDate});
        ListView2.setChecked(row, checked);
        EmlFileNames.push_back(name);
    }
    void addRow(const std::string &subject, const std::string &body, bool checked = true) {
        addRow(subject, &body, checked);
    }
    void addRowWithoutFile(const std::string &subject) { addRow(subject, nullptr, true); }

    void chooseOneFile(const std::string &answer) {
        Option2.setValue(true);
        t.fileDialogs.answers = {answer};
    }

    void click() {
        saveCheckedMessages(
            {reader, t.files, t.fileDialogs, t.events, t.clock, t.platform.messages, t.reporter},
            {window, Text3, Option1, Option2, ListView2}, EmlFileNames, workFolder);
    }

    std::vector<std::string> outputFiles() const { return test::FileNamesIn(outputFolder); }
    std::string output(const std::string &name) const { return t.folder.read("out/" + name); }

    /// Texts of the message boxes other than failure reports.
    std::vector<std::string> messages() const { return t.messageTexts(); }

    test::TestPlatform t;
    GmimeMimeReader reader;
    std::string workFolder = t.folder / "work";
    std::string outputFolder = t.folder / "out";
    std::string combinedPath = outputFolder + "/all.txt";
    WindowModel window{"Form2", 8040, 10245};
    TextBox Text3{"Text3", {}};
    OptionButton Option1{"Option1", "", {}};
    OptionButton Option2{"Option2", "", {}};
    ListView ListView2{"ListView2", {}};
    std::vector<std::string> EmlFileNames;
};

TEST_F(ExpressDownload, SeparateFilesNumberTheCheckedRowsInListOrder) {
    addRow("First", "one\r\n");
    addRow("Left out", "never\r\n", false);
    addRow("Re: Same", "two");
    addRow("Re: Same", "three\r\n");
    t.folder.write("out/First_1.txt", "an earlier run's longer text");
    click();

    EXPECT_EQ(outputFiles(),
              (std::vector<std::string>{"First_1.txt", "Re  Same_2.txt", "Re  Same_3.txt"}));
    EXPECT_EQ(output("First_1.txt"), Record("First", "one\r\n"));
    EXPECT_EQ(output("Re  Same_2.txt"), Record("Re: Same", "two"));
    EXPECT_EQ(output("Re  Same_3.txt"), Record("Re: Same", "three\r\n"));
    EXPECT_EQ(messages(), (std::vector<std::string>{"Done."}));
    EXPECT_TRUE(t.reports().empty());
    EXPECT_TRUE(t.fileDialogs.saved.empty());
    EXPECT_EQ(window.pointer(), MousePointer::Default);
}

TEST_F(ExpressDownload, OutputFolderWithoutFinalSeparatorStillHoldsTheFiles) {
    Text3.setText(outputFolder);
    addRow("Only", "x");
    click();
    EXPECT_EQ(outputFiles(), (std::vector<std::string>{"Only_1.txt"}));
}

TEST_F(ExpressDownload, OneFileHoldsTheRecordsBackToBack) {
    chooseOneFile(combinedPath);
    addRow("First", "no line end");
    addRow("Left out", "never\r\n", false);
    addRow("Second", "second\r\n");
    click();

    // The second record's "From: " continues the first body's last line.
    EXPECT_EQ(output("all.txt"), Record("First", "no line end") + Record("Second", "second\r\n"));
    EXPECT_EQ(outputFiles(), (std::vector<std::string>{"all.txt"}));
    ASSERT_EQ(t.fileDialogs.saved.size(), 1u);
    EXPECT_EQ(t.fileDialogs.saved[0].title, "Save List");
    EXPECT_EQ(t.fileDialogs.saved[0].filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_EQ(t.fileDialogs.saved[0].fileName, "");
    EXPECT_EQ(t.fileDialogs.saved[0].initialFolder, Text3.text()) << "the output folder";
    EXPECT_EQ(messages(), (std::vector<std::string>{"Done."}));
}

TEST_F(ExpressDownload, AMessageThatCannotBeReadIsReportedAndLeftOut) {
    for (const bool oneFile : {false, true}) {
        SCOPED_TRACE(oneFile ? "one file" : "separate files");
        t.messageBoxes.shown.clear();
        ListView2.clear();
        EmlFileNames.clear();
        fs::remove_all(outputFolder);
        fs::create_directory(outputFolder);
        if (oneFile)
            chooseOneFile(combinedPath);
        addRow("First", "one\r\n");
        addRowWithoutFile("Gone");
        addRow("Third", "three\r\n");
        addRow("No name", "four\r\n");
        EmlFileNames.pop_back();
        click();

        if (oneFile)
            EXPECT_EQ(output("all.txt"), Record("First", "one\r\n") + Record("Third", "three\r\n"));
        else
            EXPECT_EQ(outputFiles(), (std::vector<std::string>{"First_1.txt", "Third_3.txt"}));
        const std::vector<std::string> reports = t.reports();
        ASSERT_EQ(reports.size(), 2u);
        EXPECT_NE(reports[0].find("m2.eml"), std::string::npos);
        EXPECT_NE(reports[0].find("in Ferndock2021/08/31.Form2.PushButton7_Click at line 0"),
                  std::string::npos);
        EXPECT_NE(reports[1].find("Subscript out of range"), std::string::npos);
        EXPECT_EQ(messages(), (std::vector<std::string>{"Done."}));
    }
}

TEST_F(ExpressDownload, SaveListAnswersDecideWhatIsWritten) {
    struct Case {
        const char *what;
        std::string dialogAnswer;
        bool fileExists;
        std::deque<MessageAnswer> answers;
        bool anyChecked;
        std::vector<std::string> messages;
        std::string content; // of the combined file; "-" when it must not exist
    };
    const std::string question = "Are you sure you wish to overwrite " + combinedPath + " ?";
    const std::string record = Record("Hi", "body\r\n");
    const Case cases[] = {
        {"Cancel writes nothing", "", true, {}, true, {"Done."}, "earlier"},
        {"No keeps the file",
         combinedPath,
         true,
         {MessageAnswer::No},
         true,
         {question, "Done."},
         "earlier"},
        {"Yes replaces the file",
         combinedPath,
         true,
         {MessageAnswer::Yes},
         true,
         {question, "Done."},
         record},
        {"a new file needs no question", combinedPath, false, {}, true, {"Done."}, record},
        {"nothing checked: the file is only deleted",
         combinedPath,
         true,
         {MessageAnswer::Yes},
         false,
         {question, "Done."},
         "-"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        t.messageBoxes.shown.clear();
        t.messageBoxes.answers = c.answers;
        ListView2.clear();
        EmlFileNames.clear();
        fs::remove(combinedPath);
        if (c.fileExists)
            t.folder.write("out/all.txt", "earlier");
        chooseOneFile(c.dialogAnswer);
        addRow("Hi", "body\r\n", c.anyChecked);
        click();

        EXPECT_EQ(messages(), c.messages);
        for (const test::ShownMessage &shown : t.messageBoxes.shown)
            EXPECT_EQ(shown.buttons,
                      shown.text == question ? MessageButtons::YesNo : MessageButtons::Ok);
        if (c.content == "-")
            EXPECT_FALSE(fs::exists(combinedPath));
        else
            EXPECT_EQ(output("all.txt"), c.content);
        EXPECT_TRUE(t.reports().empty());
    }
}

TEST_F(ExpressDownload, HostileSubjectsStayInsideTheFolder) {
    const std::string invalidUtf8 = "\xff\xfe\xc3(\x80";
    const struct {
        const char *trace;
        std::string subject;
        std::string fileName;
    } cases[] = {
        {"climbing out", "../../../escape", ".. .. .. escape_1.txt"},
        {"only dots", "..", ".._1.txt"},
        {"an absolute path", "/etc/passwd", " etc passwd_1.txt"},
        {"control characters", "a\x01\x1b[2J\r\nb", "a\x01\x1b[2J\r\nb_1.txt"},
        {"invalid UTF-8", invalidUtf8, invalidUtf8 + "_1.txt"},
        {"too long by a byte", std::string(250, 'x'), std::string(249, 'x') + "_1.txt"},
        {"far too long", std::string(4000, '/'), std::string(249, ' ') + "_1.txt"},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.trace);
        t.messageBoxes.shown.clear();
        ListView2.clear();
        EmlFileNames.clear();
        fs::remove_all(t.folder.path());
        fs::create_directories(workFolder);
        fs::create_directory(outputFolder);
        addRow(test.subject, "body");
        click();

        EXPECT_TRUE(t.reports().empty()) << t.reports().front();
        EXPECT_EQ(outputFiles(), std::vector<std::string>{test.fileName});
        EXPECT_EQ(output(test.fileName), Record(test.subject, "body"));
        EXPECT_EQ(test::TreeOf(t.folder.path()).size(), 4u);
        EXPECT_EQ(messages(), (std::vector<std::string>{"Done."}));
    }
}

TEST_F(ExpressDownload, LongSubjectsCutAlikeStayApartByTheirNumbers) {
    const std::string longSubject(300, 'x');
    for (int row = 1; row <= 10; ++row)
        addRow(longSubject + std::to_string(row), "body");
    click();
    std::vector<std::string> expected;
    for (int number = 1; number <= 10; ++number)
        expected.push_back(std::string(number < 10 ? 249 : 248, 'x') + "_" +
                           std::to_string(number) + ".txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(outputFiles(), expected);
    EXPECT_TRUE(t.reports().empty());
}

TEST_F(ExpressDownload, WithoutAnOutputFolderNothingIsWritten) {
    for (const std::string &folder : {std::string(), outputFolder + "/missing/"}) {
        SCOPED_TRACE("folder \"" + folder + "\"");
        t.messageBoxes.shown.clear();
        Text3.setText(folder);
        addRow("First", "one\r\n");
        click();
        EXPECT_EQ(messages(), (std::vector<std::string>{
                                  "Folder does not exist. Please select another folder."}));
        EXPECT_TRUE(t.reports().empty());
        EXPECT_TRUE(t.files.writes.empty());
        EXPECT_TRUE(outputFiles().empty());
        EXPECT_EQ(window.pointer(), MousePointer::Default);
    }
}

TEST_F(ExpressDownload, RecordsAndNamesShowTheListedHeadersDecoded) {
    t.folder.write("work/encoded.eml",
                   "From: =?iso-8859-1?Q?Jos=E9?= <jose@example.com>\r\n"
                   "To: =?KOI8-R?B?8NLJ18XU?=\r\n"
                   "Subject: =?utf-8?Q?Fw:_Cat=C3=B3lica?= =?utf-8?B?IEVBRA==?=\r\n"
                   "Date: =?utf-8?Q?kept?=\r\n"
                   "Content-Type: text/plain\r\n\r\nbody\r\n");
    express::LoadEmlMessages(t.files, workFolder, ListView2, EmlFileNames);
    ListView2.setChecked(1, true);
    click();
    EXPECT_EQ(outputFiles(), std::vector<std::string>{"Fw  Católica EAD_1.txt"});
    EXPECT_EQ(output("Fw  Católica EAD_1.txt"), "From: José <jose@example.com>\r\n"
                                                "To: Привет\r\n"
                                                "Subject: Fw: Católica EAD\r\n"
                                                "Date Received: =?utf-8?Q?kept?=\r\n"
                                                "\r\nbody\r\n");
    EXPECT_TRUE(t.reports().empty());
}

TEST_F(ExpressDownload, AnEmptyListSaysDoneAtOnce) {
    Option2.setValue(true);
    click();
    EXPECT_TRUE(t.fileDialogs.saved.empty());
    EXPECT_EQ(messages(), (std::vector<std::string>{"Done."}));
}

} // namespace
} // namespace qb::exporting
