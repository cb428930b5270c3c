#include "support/test_platform.h"

#include "support/sample_files.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qb::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillbarrow-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, error);
    std::filesystem::remove_all(path_, error);
}

void TempFolder::write(const std::string &name, const std::string &bytes) const {
    std::ofstream out(*this / name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TempFolder::read(const std::string &name) const {
    std::ifstream in(*this / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> FileNamesIn(const std::string &folder) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> TreeOf(const std::string &folder) {
    std::vector<std::string> paths;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(folder))
        paths.push_back(std::filesystem::relative(entry.path(), folder).string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

TestPlatform::TestPlatform()
    : platform{messageBoxes, inputBoxes, fileDialogs,    folderPicker,  events,
               clock,        settings,   specialFolders, files,         processes,
               locale,       windows,    viewer,         outlook,       mime,
               registry,     programs,   reporter,       folder.path(), folder / "work"} {}

Platform TestPlatform::withMailStores(outlook::MailStoreLayer &stores) {
    return Platform{platform.messageBoxes,  platform.inputBoxes,
                    platform.fileDialogs,   platform.folderPicker,
                    platform.events,        platform.clock,
                    platform.settings,      platform.specialFolders,
                    platform.files,         platform.processes,
                    platform.locale,        platform.windows,
                    platform.viewer,        stores,
                    platform.mime,          platform.registry,
                    platform.programs,      platform.reporter,
                    platform.programFolder, platform.workFolder};
}

std::vector<std::string> TestPlatform::reports() const {
    std::vector<std::string> result;
    for (const ShownMessage &message : messageBoxes.shown)
        if (message.title == "Application Error")
            result.push_back(message.text);
    return result;
}

std::vector<std::string> TestPlatform::messageTexts() const {
    std::vector<std::string> result;
    for (const ShownMessage &message : messageBoxes.shown)
        if (message.title != "Application Error")
            result.push_back(message.text);
    return result;
}

std::string SamplesFolder() {
    const std::filesystem::path samples = SamplesFolderPath();
    return std::filesystem::is_directory(samples) ? samples.string() : std::string();
}

std::filesystem::path SamplesFolderPath() {
    // QB_SAMPLES_FOLDER points the lookup elsewhere, or nowhere, without moving the folder.
    const char *chosen = std::getenv("QB_SAMPLES_FOLDER");
    return std::filesystem::path(chosen != nullptr ? chosen : QB_SAMPLES_DIR).lexically_normal();
}

} // namespace qb::test
