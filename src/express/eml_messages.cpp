#include "express/eml_messages.h"

#include "express/eml_headers.h"
#include "mime/header_text.h"

namespace qb::express {

void LoadEmlMessages(FileSystem &files, const std::string &folder, ListView &ListView2,
                     std::vector<std::string> &EmlFileNames) {
    for (const std::string &name : files.listFiles(folder + "/*.eml")) {
        const std::string text = ReadWholeFile(files, folder + "/" + name);
        const std::string date = GetHeaderValue(text, "Date");
        // A file without a date is not taken for a message at all.
        if (date.empty())
            continue;
        ListView2.addRow({DecodedHeaderText(GetHeaderValue(text, "From")),
                          DecodedHeaderText(GetHeaderValue(text, "To")),
                          DecodedHeaderText(GetHeaderValue(text, "Subject")), date});
        EmlFileNames.push_back(name);
    }
}

} // namespace qb::express
