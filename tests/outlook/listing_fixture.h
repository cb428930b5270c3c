#pragma once

#include "outlook/outlook_listing.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qb::test {

using Strings = std::vector<std::string>;

/// Passes when text contains part.
inline ::testing::AssertionResult HasText(const std::string &text, const std::string &part) {
    if (text.find(part) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << part << "\" is not in \"" << text << "\"";
}

/// The main-window controls of the Outlook road and a listing over the test platform, with the
/// profile source chosen and nothing in the mail-store layer yet.
class ListingTest : public ::testing::Test {
  protected:
    ListingTest() {
        OptionButton::group({&Option3, &Option4});
        Option3.setValue(true);
    }

    /// Every row of the message list, each as its nine cells.
    std::vector<std::vector<std::string>> rows() const {
        std::vector<std::vector<std::string>> result;
        for (int row = 1; row <= ListView1.rowCount(); ++row) {
            std::vector<std::string> cells;
            for (int cell = 1; cell <= 9; ++cell)
                cells.emplace_back(ListView1.cell(row, cell));
            result.push_back(cells);
        }
        return result;
    }

    /// One cell of every row: 1 is Root, 2 Folder, 3 Subfolder, ... 8 Subject, 9 ID.
    std::vector<std::string> column(int cell) const {
        std::vector<std::string> result;
        for (int row = 1; row <= ListView1.rowCount(); ++row)
            result.emplace_back(ListView1.cell(row, cell));
        return result;
    }

    std::vector<std::string> subjects() const { return column(8); }

    /// A mail message with the given subject and otherwise default fields.
    static MemoryItem Mail(const std::string &subject) {
        MemoryItem item;
        item.subject = subject;
        return item;
    }

    TestPlatform test;
    WindowModel window{"Form1", 12000, 9000};
    TextBox Text1{"Text1", {}};
    TextBox Text2{"Text2", {}};
    OptionButton Option3{"Option3", "Outlook", {}};
    OptionButton Option4{"Option4", "PST File:", {}};
    ListView ListView1{"ListView1", {}};
    outlook::OutlookListing listing{outlook::ListingFacilitiesOf(test.platform),
                                    {window, Text1, Text2, Option3, Option4, ListView1}};
};

} // namespace qb::test
