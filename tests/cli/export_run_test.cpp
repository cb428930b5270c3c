#include "cli/export_run.h"
#include "cli/message_names.h"
#include "cli/output_tree.h"
#include "pst/pff_mail_store.h"

#include "support/dbx_writer.h"
#include "support/made_store.h"
#include "support/sample_files.h"
#include "support/test_platform.h"

#include "cli_programs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace qb::cli {
namespace {

namespace fs = std::filesystem;

using test::Eml;
using test::StemAt;

class ExportRun : public ::testing::Test {
  protected:
    void SetUp() override {
        test::DbxWriter inbox(folder / "Inbox.dbx");
        inbox.add(Eml("Same", "Tue, 1 Jul 2003 10:52:37 +0000", "first\r\n"));
        inbox.add(Eml("Same", "Tue, 1 Jul 2003 10:52:37 +0000", "second\r\n"));
        inbox.add(Eml("Re: a/b?", "no date at all", "third"));
        inbox.finish();
        test::DbxWriter sent(folder / "Sent.dbx");
        sent.add(Eml("Out", "Tue, 1 Jul 2003 12:52:38 +0200", "fourth\r\n"));
        sent.finish();
    }

    /// Runs the program with the arguments; the output folder is "out" unless --to is given,
    /// and everything goes into it (--flat) unless the folder tree is asked for.
    int run(std::vector<std::string> arguments, FolderLayout layout = FolderLayout::Flat) {
        if (std::find(arguments.begin(), arguments.end(), "--to") == arguments.end())
            arguments.insert(arguments.begin(), {"--to", folder / "out"});
        if (layout == FolderLayout::Flat)
            arguments.insert(arguments.begin(), "--flat");
        errors.str("");
        std::ostringstream output;
        return RunProgram(arguments, {errors, false}, output);
    }

    /// The names in the output folder, the hidden ones included.
    std::vector<std::string> outputNames() const {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(folder / "out"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempFolder folder;
    std::ostringstream errors;
};

TEST_F(ExportRun, ArgumentsAndOutputFoldersGiveTheExitCodes) {
    folder.write("plain-file", "x");
    const struct {
        std::vector<std::string> arguments;
        int code;
        const char *error; // a part of the error output
    } cases[] = {
        {{"--help"}, allWritten, ""},
        {{}, unusable, "no FILE given"},
        {{"--bogus", folder / "Inbox.dbx"}, unusable, "unknown option --bogus"},
        {{folder / "Inbox.dbx", "--folder"}, unusable, "--folder needs a value"},
        {{"--to", folder / "plain-file/out", folder / "Inbox.dbx"}, unusable, "cannot write into"},
        {{"--to=" + folder / "out", folder / "Inbox.dbx"}, allWritten, "1 store, 3 messages"},
        {{folder / "plain-file", folder / "Sent.dbx"}, someFailed, "not a .pst, .ost or .dbx"},
        {{folder / "missing.pst"}, someFailed, "missing.pst: No such file"},
        {{"--quiet", "--", folder / "Sent.dbx"}, allWritten, ""},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.arguments.empty() ? "(none)" : each.arguments.front());
        EXPECT_EQ(run(each.arguments), each.code);
        if (std::string(each.error).empty()) {
            EXPECT_EQ(errors.str(), "");
        } else {
            EXPECT_NE(errors.str().find(each.error), std::string::npos) << errors.str();
        }
    }
}

TEST_F(ExportRun, ReadOnlyOutputFolderIsRefusedBeforeAnyStoreIsRead) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    fs::create_directory(folder / "out");
    ::chmod((folder / "out").c_str(), 0555);
    EXPECT_EQ(run({folder / "Inbox.dbx"}), unusable);
    ::chmod((folder / "out").c_str(), 0755);
    EXPECT_EQ(outputNames(), std::vector<std::string>{});
}

TEST_F(ExportRun, NamesStayTheSameFromRunToRunAndTakenOnesGetNumbers) {
    const std::string same = StemAt(37, "Same");
    const std::string undated = MessageStem(missingTime, "Re: a/b?");
    const std::vector<std::string> firstRun = [&] {
        std::vector<std::string> names{same + ".txt", same + " (2).txt", undated + ".txt",
                                       StemAt(38, "Out") + ".txt"};
        std::sort(names.begin(), names.end());
        return names;
    }();
    EXPECT_EQ(undated, "12-30-1899 12 00 00 AM Re  a-b");

    ASSERT_EQ(run({folder / "Inbox.dbx", folder / "Sent.dbx"}), allWritten) << errors.str();
    EXPECT_EQ(outputNames(), firstRun);
    EXPECT_EQ(errors.str(), "2 stores, 4 messages written, 0 failed\n");
    EXPECT_EQ(folder.read("out/" + undated + ".txt"),
              "From: Ann <ann@example.org>\r\nTo: bob@example.org\r\nSubject: Re: a/b?\r\n"
              "Date Received: no date at all\r\n\r\nthird");

    // A second run keeps the first run's files and numbers its own after them.
    ASSERT_EQ(run({folder / "Inbox.dbx"}), allWritten);
    EXPECT_EQ(outputNames().size(), 7u);
    for (const char *copy : {" (3).txt", " (4).txt"})
        EXPECT_TRUE(fs::exists(folder / "out/" + same + copy)) << copy;
    EXPECT_TRUE(fs::exists(folder / "out/" + undated + " (2).txt"));

    // With --overwrite the run writes the first run's names again.
    fs::remove_all(folder / "out");
    ASSERT_EQ(run({folder / "Inbox.dbx", folder / "Sent.dbx"}), allWritten);
    folder.write("out/" + same + ".txt", "earlier");
    ASSERT_EQ(run({"--overwrite", folder / "Inbox.dbx", folder / "Sent.dbx"}), allWritten);
    EXPECT_EQ(outputNames(), firstRun);
    EXPECT_NE(folder.read("out/" + same + ".txt"), "earlier");
}

TEST_F(ExportRun, OneFileAndFolderChoiceGatherTheChosenRecordsInOrder) {
    ASSERT_EQ(run({"--folder", "Inbox", folder / "Sent.dbx", folder / "Inbox.dbx"}), allWritten);
    const std::vector<std::string> separate = outputNames();
    EXPECT_EQ(separate.size(), 3u);
    std::string records;
    for (const std::string &name : {StemAt(37, "Same") + ".txt", StemAt(37, "Same") + " (2).txt",
                                    MessageStem(missingTime, "Re: a/b?") + ".txt"})
        records += folder.read("out/" + name);

    fs::remove_all(folder / "out");
    ASSERT_EQ(run({"--one-file", "--folder=Inbox", folder / "Sent.dbx", folder / "Inbox.dbx"}),
              allWritten);
    EXPECT_EQ(outputNames(), std::vector<std::string>{"AllEmails.txt"});
    EXPECT_EQ(folder.read("out/AllEmails.txt"), records);
    // Letter case counts in folder names, as in the window's choice of folder.
    ASSERT_EQ(run({"--one-file", "--folder", "inbox", folder / "Inbox.dbx"}), allWritten);
    EXPECT_EQ(folder.read("out/AllEmails (2).txt"), "");
}

TEST_F(ExportRun, DamagedStoresAreReportedAndTheOthersWritten) {
    folder.write("damaged.pst", std::string(4096, 'x'));
    folder.write("damaged.dbx", std::string(4096, 'x'));
    EXPECT_EQ(run({folder / "damaged.pst", folder / "damaged.dbx", folder / "Sent.dbx"}),
              someFailed);
    EXPECT_EQ(outputNames(), std::vector<std::string>{StemAt(38, "Out") + ".txt"});
    const std::string text = errors.str();
    EXPECT_NE(text.find(folder / "damaged.pst: "), std::string::npos) << text;
    EXPECT_NE(text.find(folder / "damaged.dbx: "), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("3 stores, 1 message written, 2 failed\n")) << text;
}

/// The SaveAs texts of the mail messages of the folder and all folders below it.
void SavedTexts(outlook::Folder &folder, test::TempFolder &scratch,
                std::vector<std::string> &texts) {
    const auto items = folder.items();
    for (int item = 1; item <= items->count(); ++item)
        if (items->item(item)->Class() == outlook::olMail) {
            items->item(item)->SaveAs(scratch / "saved.txt", outlook::olTXT);
            texts.push_back(scratch.read("saved.txt"));
        }
    const auto children = folder.folders();
    for (int index = 1; index <= children->count(); ++index)
        SavedTexts(*children->item(index), scratch, texts);
}

/// Runs the program over one store at a time and compares its texts with the window's.
class StoreExportRun : public ExportRun {
  protected:
    /// Expects of every mail message of the store, those of its top folder too, the text the
    /// window's SaveAs gives it.
    void expectTheWindowsTexts(const std::string &store) {
        SCOPED_TRACE(store);
        fs::remove_all(folder / "out");
        ASSERT_EQ(run({store}), allWritten) << errors.str();
        std::vector<std::string> written;
        for (const std::string &name : outputNames())
            written.push_back(folder.read("out/" + name));
        PffMailStoreLayer layer("");
        const auto mapi = layer.createApplication()->GetNamespace("MAPI");
        mapi->AddStore(store);
        std::vector<std::string> saved;
        SavedTexts(*mapi->folders()->GetLast(), folder, saved);
        std::sort(written.begin(), written.end());
        std::sort(saved.begin(), saved.end());
        EXPECT_EQ(written, saved);
    }
};

TEST_F(StoreExportRun, StoresOfEveryKindGiveTheWindowsTexts) {
    fs::create_directory(folder / "stores");
    test::WriteMadeStore(folder / "stores/made.pst");
    fs::copy_file(folder / "Inbox.dbx", folder / "stores/Inbox.dbx");
    ASSERT_EQ(run({folder / "stores"}), allWritten) << errors.str();
    EXPECT_EQ(errors.str(), "2 stores, 43 messages written, 0 failed\n");

    expectTheWindowsTexts(folder / "stores/made.pst");
}

/// The offline store from outside, whose bodies are RTF alone.
class SampleStoreExportRun : public StoreExportRun {};

TEST_F(SampleStoreExportRun, OfflineStoreGivesTheWindowsTexts) {
    const std::string samples = test::RequireSamples();
    if (!samples.empty())
        expectTheWindowsTexts(samples + "/offline-store.ost");
}

} // namespace
} // namespace qb::cli
