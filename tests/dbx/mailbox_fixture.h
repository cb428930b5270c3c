#pragma once

// What the converter's tests share: mailboxes written by the DBX writer, with texts that tell
// every message apart, and a visitor that keeps what a reading hands out.

#include "dbx/mailbox_reader.h"
#include "support/dbx_writer.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

namespace qb::test {

/// A message whose text tells it apart from every other and holds every byte value.
inline std::string DistinctMessage(std::size_t number, std::size_t size) {
    std::string text = "From: sender" + std::to_string(number) +
                       "@example.org\r\nSubject: ../../escape/" + std::to_string(number) +
                       "\r\nDate: Mon, 3 Mar 2024 14:05:09 +0000\r\n\r\n";
    for (std::size_t i = 0; text.size() < size; ++i)
        text += static_cast<char>((i * 7 + number) % 256);
    text.resize(size);
    return text;
}

/// Keeps every message and every piece of damage a reading hands out, and can stop it.
class KeepingVisitor : public dbx::MessageVisitor {
  public:
    struct Message {
        std::uint64_t number = 0;
        std::string text;
    };

    dbx::AfterMessage message(std::uint64_t number, dbx::MessageText &text) override {
        struct Gather : dbx::TextSink {
            std::string text;
            void append(std::string_view bytes) override { text.append(bytes); }
        } gather;
        text.copyTo(gather);
        EXPECT_EQ(gather.text.size(), text.size());
        messages.push_back({number, std::move(gather.text)});
        return messages.size() >= stopAfter ? dbx::AfterMessage::stop : dbx::AfterMessage::readOn;
    }
    void damage(const dbx::Damage &damage) override { lines += damage.line + "\n"; }

    std::vector<std::uint64_t> numbers() const {
        std::vector<std::uint64_t> numbers;
        for (const Message &message : messages)
            numbers.push_back(message.number);
        return numbers;
    }

    std::size_t stopAfter = std::numeric_limits<std::size_t>::max();
    std::vector<Message> messages;
    std::string lines;
};

class MailboxTest : public ::testing::Test {
  protected:
    /// Writes Inbox.dbx with messages of the given sizes and returns its layout.
    DbxLayout writeInbox(const std::vector<std::size_t> &sizes,
                         const std::function<void(DbxWriter &)> &configure = {}) {
        DbxWriter writer(dbx, DbxWriter::Kind::Messages);
        if (configure)
            configure(writer);
        texts.clear();
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            texts.push_back(DistinctMessage(i + 1, sizes[i]));
            writer.add(texts.back());
        }
        return writer.finish();
    }

    /// Reads Inbox.dbx in process into visitor.
    dbx::MailboxSummary read() {
        visitor = KeepingVisitor{};
        return dbx::ReadMailbox(dbx, visitor);
    }

    /// Expects the reading to have handed out the texts of the messages written in these places
    /// (from 1), in this order.
    void expectTexts(const std::vector<std::uint64_t> &places) {
        ASSERT_EQ(visitor.messages.size(), places.size()) << visitor.lines;
        for (std::size_t i = 0; i < places.size(); ++i) {
            EXPECT_TRUE(visitor.messages[i].text == texts.at(places[i] - 1)) << places[i];
        }
    }

    static std::vector<std::uint64_t> Numbers(std::uint64_t first, std::uint64_t last) {
        std::vector<std::uint64_t> numbers(last - first + 1);
        std::iota(numbers.begin(), numbers.end(), first);
        return numbers;
    }

    TempFolder input;
    std::string dbx = input / "Inbox.dbx";
    std::vector<std::string> texts;
    KeepingVisitor visitor;
};

} // namespace qb::test
