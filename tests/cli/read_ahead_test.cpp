// Reading on one thread and writing on another must look, to the sink and the report, exactly
// like reading and writing in turn: same order, same counts, no store lost, and no hang when
// the writing fails.
#include "cli/read_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <stdexcept>

namespace qb::cli {
namespace {

/// Writes "wrote <stem>" into the stream the report writes its failures into, so that one text
/// shows the order of both; throws once `failAt` messages were written.
class LoggingSink : public MessageSink {
  public:
    LoggingSink(std::ostream &log, RunReport &report, int failAt = -1)
        : log_(log), report_(report), failAt_(failAt) {}
    void add(const std::string &text, const std::string &stem, const std::string &) override {
        if (written_ == failAt_)
            throw std::runtime_error("disk gone");
        log_ << "wrote " << stem << " (" << text.size() << " bytes)\n";
        ++written_;
        report_.messageWritten();
    }
    void finish() override {}

  private:
    std::ostream &log_;
    RunReport &report_;
    int failAt_;
    int written_ = 0;
};

const StopCheck NeverStop = [] { return false; };

std::vector<StoreInput> Stores(int count) {
    std::vector<StoreInput> stores;
    for (int index = 1; index <= count; ++index)
        stores.push_back({"store" + std::to_string(index) + ".pst", StoreKind::Outlook});
    return stores;
}

TEST(ReadAhead, KeepsTheReadingOrderWithATinyLimitAndMakesAThrowingStoreAFailure) {
    std::ostringstream log;
    RunReport report(log, Verbosity::Quiet);
    LoggingSink sink(log, report);
    const auto read = [](const StoreInput &store, ExportTarget &target) {
        if (store.path == "store2.pst")
            throw std::runtime_error("cannot be opened");
        target.output.message(std::string(20, 'x'), store.path + "-a", "");
        target.output.failed(store.path + ": Inbox: \"b\"", "damaged");
        if (target.takes("Inbox", "Inbox"))
            target.output.message(std::string(5, 'y'), store.path + "-c", "");
    };
    // Each text is larger than the limit, so the reading waits for every single write.
    ReadAhead(Stores(3), read, std::nullopt, NeverStop, sink, report, 8);

    EXPECT_EQ(log.str(), "wrote store1.pst-a (20 bytes)\n"
                         "quillbarrow-export: store1.pst: Inbox: \"b\": damaged\n"
                         "wrote store1.pst-c (5 bytes)\n"
                         "quillbarrow-export: store2.pst: cannot be opened\n"
                         "wrote store3.pst-a (20 bytes)\n"
                         "quillbarrow-export: store3.pst: Inbox: \"b\": damaged\n"
                         "wrote store3.pst-c (5 bytes)\n");
    EXPECT_EQ(report.messages(), 4);
    EXPECT_EQ(report.failures(), 3);
}

TEST(ReadAhead, PassesTheFolderScopeToTheReading) {
    std::ostringstream log;
    RunReport report(log, Verbosity::Quiet);
    LoggingSink sink(log, report);
    const auto read = [](const StoreInput &, ExportTarget &target) {
        for (const char *folder : {"Inbox", "Sent Items"})
            if (target.takes(folder, folder))
                target.output.message("text", folder, "");
    };
    ReadAhead(Stores(1), read, "Sent Items", NeverStop, sink, report);
    EXPECT_EQ(log.str(), "wrote Sent Items (4 bytes)\n");
}

TEST(ReadAhead, AWriteThatThrowsStopsTheReadingInsteadOfWaitingForIt) {
    std::ostringstream log;
    RunReport report(log, Verbosity::Quiet);
    LoggingSink sink(log, report, 3);
    std::atomic<int> read{0};
    const auto readMany = [&](const StoreInput &, ExportTarget &target) {
        for (int message = 0; message < 100'000; ++message, ++read)
            target.output.message(std::string(100, 'x'), "m", "");
    };
    EXPECT_THROW(ReadAhead(Stores(50), readMany, std::nullopt, NeverStop, sink, report, 1000),
                 std::runtime_error);
    // The reading ended at its next message once the limit kept it waiting.
    EXPECT_LT(read.load(), 1000);
    EXPECT_EQ(report.messages(), 3);
}

} // namespace
} // namespace qb::cli
