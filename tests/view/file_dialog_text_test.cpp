#include "failure/failure.h"
#include "platform/qt/file_dialog_text.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(QtNameFilter, EachDescriptionAndPatternPairBecomesOneEntry) {
    EXPECT_EQ(QtNameFilter("DBX Files (*.dbx)|*.dbx|"), QString("DBX Files (*.dbx)"));
    EXPECT_EQ(QtNameFilter("All PST Files (*.pst)|*.pst|"), QString("All PST Files (*.pst)"));
    EXPECT_EQ(QtNameFilter("Mail (*.pst;*.ost)|*.pst;*.ost|"), QString("Mail (*.pst *.ost)"));
    EXPECT_EQ(QtNameFilter("Old (2003) mail|*.pst|"), QString("Old (2003) mail (*.pst)"));
    EXPECT_EQ(QtNameFilter("Text|*.txt|All Files|*.*"), QString("Text (*.txt);;All Files (*.*)"));
    EXPECT_EQ(QtNameFilter("Mail|*.pst;*.ost|"), QString("Mail (*.pst *.ost)"));
    EXPECT_EQ(QtNameFilter(""), QString());
}

TEST(JoinChosenFiles, OneFileIsItsFullPath) {
    EXPECT_EQ(JoinChosenFiles({"/home/u/mail/Inbox.dbx"}), "/home/u/mail/Inbox.dbx");
    EXPECT_EQ(JoinChosenFiles({}), "");
}

TEST(JoinChosenFiles, SeveralFilesAreTheFolderThenTheNamesBetweenNuls) {
    using namespace std::string_literals;
    EXPECT_EQ(JoinChosenFiles({"/home/u/mail/Inbox.dbx", "/home/u/mail/Sent Items.dbx"}),
              "/home/u/mail\0Inbox.dbx\0Sent Items.dbx"s);
    EXPECT_EQ(JoinChosenFiles({"/a.dbx", "/b.dbx"}), "/\0a.dbx\0b.dbx"s);
}

TEST(JoinChosenFiles, MoreNamesThanTheBufferHoldsFail) {
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many << QString("/mail/folder number %1 with a long name.dbx").arg(i);
    try {
        JoinChosenFiles(many);
        FAIL() << "the names should not fit";
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.number(), 20476);
        EXPECT_EQ(failure.source(), "CommonDialog");
    }
    // Exactly filling the buffer, final NUL included, still fits.
    const QString longest = "/" + QString(static_cast<qsizetype>(fileNameBufferSize - 2), 'x');
    EXPECT_EQ(JoinChosenFiles({longest}).size(), fileNameBufferSize - 1);
    EXPECT_THROW(JoinChosenFiles({longest + "y"}), Failure);
}

TEST(FolderAnswer, DropsTheFinalSlashExceptForTheRoot) {
    EXPECT_EQ(FolderAnswer("/home/u/out/"), "/home/u/out");
    EXPECT_EQ(FolderAnswer("/home/u/out"), "/home/u/out");
    EXPECT_EQ(FolderAnswer("/"), "/");
}

} // namespace
} // namespace qb
