#include "express/eml_messages.h"

#include "express/eml_headers.h"
#include "mime/header_text.h"

#include <algorithm>
#include <string_view>

namespace qb::express {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

/// The run of digits that begins at `at`, without its leading zeros; `at` moves past the run.
std::string_view NumberAt(std::string_view text, std::size_t &at) {
    const std::size_t begin = at;
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    std::string_view number = text.substr(begin, at - begin);
    number.remove_prefix(std::min(number.find_first_not_of('0'), number.size()));
    return number;
}

/// True when a comes before b with runs of digits compared by value, other bytes as bytes.
bool BeforeInMailboxOrder(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view x = NumberAt(a, i);
            const std::string_view y = NumberAt(b, j);
            if (x.size() != y.size())
                return x.size() < y.size();
            if (x != y)
                return x < y;
        } else if (a[i] != b[j]) {
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        } else {
            ++i;
            ++j;
        }
    }
    if (i < a.size() || j < b.size())
        return j < b.size();
    // Equal but for leading zeros: the plain order decides, so that the order is total.
    return a < b;
}

} // namespace

std::vector<std::string> InMailboxOrder(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), BeforeInMailboxOrder);
    return names;
}

void ListEmlMessage(FileSystem &files, const std::string &folder, const std::string &name,
                    ListView &ListView2, std::vector<std::string> &EmlFileNames) {
    const std::string text = ReadWholeFile(files, folder + "/" + name);
    const std::string date = GetHeaderValue(text, "Date");
    // A file without a date is not taken for a message at all.
    if (date.empty())
        return;
    ListView2.addRow({DecodedHeaderText(GetHeaderValue(text, "From")),
                      DecodedHeaderText(GetHeaderValue(text, "To")),
                      DecodedHeaderText(GetHeaderValue(text, "Subject")), date});
    EmlFileNames.push_back(name);
}

void LoadEmlMessages(FileSystem &files, const std::string &folder, ListView &ListView2,
                     std::vector<std::string> &EmlFileNames) {
    for (const std::string &name : InMailboxOrder(files.listFiles(folder + "/*.eml")))
        ListEmlMessage(files, folder, name, ListView2, EmlFileNames);
}

std::vector<std::string> NewEmlFiles(FileSystem &files, const std::string &folder,
                                     std::set<std::string> &taken) {
    std::vector<std::string> added;
    for (std::string &name : files.listFiles(folder + "/*.eml"))
        if (taken.insert(name).second)
            added.push_back(std::move(name));
    return InMailboxOrder(std::move(added));
}

} // namespace qb::express
