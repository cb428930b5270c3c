#include "express/search_identities.h"

#include "failure/guard.h"
#include "text/plain_text.h"

#include <algorithm>

namespace qb::express {

bool IsBlankName(std::string_view text) {
    std::string name(text);
    std::erase(name, '\0');
    return Trimmed(name).empty();
}

void findIdentityMailboxes(const SearchFacilities &facilities, SearchState &state) {
    Guard guard(facilities.reporter, "Express1", "SearchIdentities");
    DBXFiles dbx(facilities.messages, facilities.sources);
    guard.step(100, [&] { state.StoreFolders = dbx.GetStoreFolder(); });
    if (!guard.test(102, [&] { return !state.StoreFolders.empty(); }))
        return;
    for (const std::string &folder : state.StoreFolders) {
        std::vector<std::string> arrFiles;
        // A listing that fails part way still hands on the paths found before the failure.
        guard.step(104, [&] { dbx.GetDBXFilesInPath(folder, arrFiles); });
        if (guard.test(106, [&] { return !arrFiles.empty(); }))
            guard.step(108, [&] {
                state.FoundDBXFiles.insert(state.FoundDBXFiles.end(), arrFiles.begin(),
                                           arrFiles.end());
            });
    }
}

void listIdentityMailboxes(const SearchFacilities &facilities, SearchState &state,
                           WindowModel &window, ListView &ListView1, PushButton &PushButton1) {
    Guard guard(facilities.reporter, "Form2", "PushButton14_Click");
    guard.step(100, [&] { state.FoundDBXFiles.clear(); });
    guard.step(102, [&] { findIdentityMailboxes(facilities, state); });
    for (const std::string &path : state.FoundDBXFiles)
        if (guard.test(104, [&] { return !Trimmed(path).empty(); }))
            guard.step(106, [&] { ListView1.addRow({path}); });
    if (guard.test(108, [&] { return ListView1.rowCount() == 0; })) {
        guard.step(110, [&] {
            facilities.messages.show(
                "You may be have no Outlook Express installed. \r\nPlease try to use " +
                PushButton1.caption() + " button.");
        });
        guard.step(112, [&] { window.setFocus(PushButton1); });
    }
}

} // namespace qb::express
