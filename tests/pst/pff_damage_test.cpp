// Damaged and foreign files: every problem is a Failure that names the file, never a crash.
#include "failure/failure.h"
#include "mail/message_reading.h"
#include "pst/pff_compressed_rtf.h"
#include "pst/pff_mail_store.h"
#include "support/made_store.h"
#include "support/sample_files.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <limits>
#include <random>

namespace qb {
namespace {

using outlook::Folder;

/// Reads every folder and every property of every item, as a listing and a download would,
/// collecting the failures instead of stopping at them.
class EverythingReader {
  public:
    explicit EverythingReader(std::string outputPath) : output_(std::move(outputPath)) {}

    void readStore(outlook::Namespace &mapi, int index) {
        attempt([&] { readFolder(*mapi.folders()->item(index), 0); });
    }
    const std::vector<std::string> &failures() const { return failures_; }
    int itemsRead() const { return itemsRead_; }

  private:
    template <typename Body> void attempt(Body &&body) {
        try {
            body();
        } catch (const Failure &failure) {
            failures_.push_back(failure.description());
        }
    }

    void readFolder(Folder &folder, int depth) {
        ASSERT_LT(depth, 64) << "the folder tree does not end";
        attempt([&] { folder.name(); });
        attempt([&] {
            auto items = folder.items();
            const int count = items->count();
            for (int i = 1; i <= count; ++i)
                attempt([&] { readItem(*items->item(i)); });
        });
        attempt([&] {
            auto folders = folder.folders();
            const int count = folders->count();
            for (int i = 1; i <= count; ++i)
                attempt([&] { readFolder(*folders->item(i), depth + 1); });
        });
    }

    void readItem(outlook::Item &item) {
        ++itemsRead_;
        attempt([&] { item.Class(); });
        attempt([&] { item.attachmentCount(); });
        attempt([&] { item.SenderName() + item.SenderEmailType() + item.SenderEmailAddress(); });
        attempt([&] { item.ReceivedTime(); });
        attempt([&] { item.Subject() + item.EntryID(); });
        attempt([&] { item.Body(); });
        attempt([&] { item.SaveAs(output_, outlook::olTXT); });
    }

    std::string output_;
    std::vector<std::string> failures_;
    int itemsRead_ = 0;
};

/// Files made by the test in a scratch folder, attached one by one.
class DamagedFile : public ::testing::Test {
  protected:
    /// Attaches the bytes as a store named fileName; reads all of it when that works. Every
    /// failure on the way must name the file.
    void attachAndReadEverything(const std::string &fileName, const std::string &bytes) {
        folder.write(fileName, bytes);
        PffMailStoreLayer layer(folder / "no profile");
        auto mapi = layer.createApplication()->GetNamespace("MAPI");
        try {
            mapi->AddStore(folder / fileName);
        } catch (const Failure &failure) {
            EXPECT_NE(failure.description().find(fileName), std::string::npos)
                << failure.description();
            EXPECT_EQ(mapi->folders()->count(), 0);
            return;
        }
        EverythingReader reader(folder / "out.txt");
        reader.readStore(*mapi, 1);
        for (const std::string &description : reader.failures())
            EXPECT_NE(description.find(fileName), std::string::npos) << description;
    }

    test::TempFolder folder;
};

TEST_F(DamagedFile, EmptyGarbageAndMissingFilesCannotBeAttached) {
    std::mt19937 random(7);
    std::string garbage(200000, '\0');
    for (char &c : garbage)
        c = static_cast<char>(random());
    for (const auto &[name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"empty.pst", ""}, {"garbage.pst", garbage}, {"tiny.pst", "!BDN"}}) {
        folder.write(name, bytes);
        PffMailStoreLayer layer(folder / "no profile");
        auto mapi = layer.createApplication()->GetNamespace("MAPI");
        EXPECT_THROW(mapi->AddStore(folder / name), Failure) << name;
        attachAndReadEverything(name, bytes);
    }
    PffMailStoreLayer layer(folder / "no profile");
    EXPECT_THROW(layer.createApplication()->GetNamespace("MAPI")->AddStore(folder / "absent.pst"),
                 Failure);
}

TEST(CompressedRtf, ADeclaredSizeIsCappedByWhatTheCompressedBodyCanHold) {
    // Four changed bytes declared a body of 4 GiB behind a few hundred compressed bytes.
    EXPECT_EQ(LargestRtfBody(300), 300u * 8 + 2);
    EXPECT_LT(LargestRtfBody(300), 0xFFFFFFFFu);
    EXPECT_EQ(LargestRtfBody(0), 2u);
    const std::size_t largest = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(LargestRtfBody(largest / 4), largest); // no overflow into a small size
}

TEST(CompressedRtf, TrailingNulsAreCutAndInnerOnesKept) {
    EXPECT_EQ(mail::WithoutTrailingNuls(std::string("{\\rtf1}\0\0", 9)), "{\\rtf1}");
    EXPECT_EQ(mail::WithoutTrailingNuls(std::string("a\0b\0", 4)), std::string("a\0b", 3));
    EXPECT_EQ(mail::WithoutTrailingNuls(std::string(1 << 20, '\0')), "");
    EXPECT_EQ(mail::WithoutTrailingNuls(""), "");
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Damaged copies of the made store.
class DamagedStore : public DamagedFile {
  protected:
    void SetUp() override {
        test::WriteMadeStore(folder / "made.pst");
        original = ReadFile(folder / "made.pst");
        ASSERT_GT(original.size(), 100000u);
    }

    /// The sample with one byte in every `stride` inverted from `start` on.
    std::string flipped(std::size_t start, std::size_t stride) const {
        std::string bytes = original;
        for (std::size_t i = start; i < bytes.size(); i += stride)
            bytes[i] = static_cast<char>(~bytes[i]);
        return bytes;
    }

    std::string original;
};

TEST_F(DamagedStore, TruncatedCopiesFailWithTheFileName) {
    for (std::size_t size :
         {std::size_t{512}, std::size_t{20000}, original.size() / 2, original.size() - 4096})
        attachAndReadEverything("truncated-" + std::to_string(size) + ".pst",
                                original.substr(0, size));
}

TEST_F(DamagedStore, FlippedBytesNeverCrash) {
    attachAndReadEverything("header.pst", flipped(8, 37).substr(0, 600) + original.substr(600));
    attachAndReadEverything("sparse.pst", flipped(4096, 4099));
    attachAndReadEverything("dense.pst", flipped(1024, 61));
}

TEST_F(DamagedStore, AnIntactCopyReadsWithoutFailures) {
    folder.write("copy.pst", original);
    PffMailStoreLayer layer(folder / "no profile");
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    mapi->AddStore(folder / "copy.pst");
    EverythingReader reader(folder / "out.txt");
    reader.readStore(*mapi, 1);
    EXPECT_TRUE(reader.failures().empty()) << reader.failures().front();
    EXPECT_EQ(reader.itemsRead(), 44); // 40 messages, two appointments and two contacts
}

// The offline store's bodies are RTF only, one holding a picture; all fit within what their
// compressed size allows.
TEST(SampleOfflineStoreReading, ReadsWithoutFailures) {
    const std::string samples = test::RequireSamples();
    if (samples.empty())
        return;
    test::TempFolder folder;
    PffMailStoreLayer layer(folder / "no profile");
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    mapi->AddStore(samples + "/offline-store.ost");
    EverythingReader offline(folder / "out.txt");
    offline.readStore(*mapi, 1);
    EXPECT_TRUE(offline.failures().empty()) << offline.failures().front();
    EXPECT_GT(offline.itemsRead(), 64);
}

} // namespace
} // namespace qb
