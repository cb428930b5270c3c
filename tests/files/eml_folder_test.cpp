// The converter's folder writes through the durable writer: a link planted where an earlier
// version put its predictable temporary file must not lead a message out of the folder.
#include "dbx/eml_folder.h"

#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace qb::dbx {
namespace {

namespace fs = std::filesystem;

TEST(EmlFolder, APlantedLinkIsNeverFollowedAndNoFileIsReplaced) {
    test::TempFolder outside;
    test::TempFolder scratch;
    outside.write("victim", "someone else's");
    for (const std::string &name :
         {".splinterbox-" + std::to_string(::getpid()) + ".tmp", std::string("Inbox-00001.eml")})
        fs::create_symlink(outside / "victim", scratch / name);

    EmlFolder folder(scratch.path());
    folder.begin();
    folder.write("Subject: one\r\n\r\nfirst");
    EXPECT_EQ(folder.keep("Inbox-00001"), "Inbox-00001-2.eml");
    folder.begin();
    folder.write("Subject: two\r\n\r\nsecond");
    folder.discard();

    EXPECT_EQ(outside.read("victim"), "someone else's");
    EXPECT_EQ(scratch.read("Inbox-00001-2.eml"), "Subject: one\r\n\r\nfirst");
    int files = 0;
    for (const auto &entry : fs::directory_iterator(scratch.path()))
        files += entry.path().filename().string().starts_with(".quillbarrow-") ? 100 : 1;
    EXPECT_EQ(files, 3) << "the two links and the message, no staged file";
}

} // namespace
} // namespace qb::dbx
