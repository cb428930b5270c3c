#include "express/dbx_file_list.h"

#include <algorithm>
#include <string_view>

namespace qb::express {
namespace {

/// Two separators: collapsed to one inside a path, kept in front of a network path.
constexpr std::string_view doubledSeparator = "//";

/// The path with each pair of consecutive "/" made one, pairs taken left to right without
/// overlapping, so that three in a row become two.
std::string CollapseDoubledSeparators(std::string_view path) {
    std::string result;
    result.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        result += path[i];
        if (path.substr(i, 2) == doubledSeparator)
            ++i;
    }
    return result;
}

/// Shows the hint for a choice too big for the dialog, and stops the handler without a report.
Guard::AfterFailure HintWhenTooManyFiles(TitledMessageBoxes &messages, const Failure &failure) {
    if (failure.number() != nameBufferTooSmall)
        return Guard::AfterFailure::Resume;
    messages.show("You've selected too many files to add.\r\rPlease try adding via the "
                  "\"Add All\" button.");
    return Guard::AfterFailure::Stop;
}

} // namespace

FileDialogRequest AddFileRequest(const std::string &startFolder) {
    FileDialogRequest request;
    request.initialFolder = startFolder;
    request.title = "Add File(s) - Hold Ctrl or Shift to select multiple files";
    request.filter = "DBX Files (*.dbx)|*.dbx|";
    request.multiSelect = true;
    return request;
}

std::vector<std::string> ChosenPaths(const std::string &answer) {
    if (answer.empty())
        return {};
    // A plain scan rather than views::split, which clang 14 (the fuzzing build's compiler) cannot
    // compile against libstdc++ 12.
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = answer.find('\0', start);
        parts.push_back(answer.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (parts.size() <= 1)
        return parts;
    std::vector<std::string> paths;
    for (std::size_t i = 1; i < parts.size(); ++i)
        // The list of names may end in a NUL of its own; that is no file.
        if (!parts[i].empty())
            paths.push_back(JoinChosenPath(parts.front(), parts[i]));
    return paths;
}

std::string JoinChosenPath(const std::string &folder, const std::string &name) {
    const std::string joined = folder + "/" + name;
    if (!folder.starts_with(doubledSeparator))
        return CollapseDoubledSeparators(joined);
    const std::size_t firstAfterPrefix = joined.find_first_not_of('/');
    const std::string_view rest =
        std::string_view(joined).substr(std::min(firstAfterPrefix, joined.size()));
    return std::string(doubledSeparator) + CollapseDoubledSeparators(rest);
}

void addMailboxFiles(FileDialogs &fileDialogs, TitledMessageBoxes &messages,
                     FailureReporter &reporter, ListView &ListView1,
                     const std::string &startFolder) {
    Guard guard(reporter, "Form2", "PushButton1_Click");
    guard.setFailureFilter(
        [&](const Failure &failure) { return HintWhenTooManyFiles(messages, failure); });
    std::string answer;
    guard.run([&] { answer = fileDialogs.open(AddFileRequest(startFolder)); });
    if (guard.stopped() || answer.empty())
        return;
    std::vector<std::string> paths;
    guard.run([&] { paths = ChosenPaths(answer); });
    for (const std::string &path : paths)
        guard.run([&] { ListView1.addRow({path}); });
}

} // namespace qb::express
