#include "support/fakes.h"

#include "failure/failure.h"
#include "failure/system_failure.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace qb::test {

MessageAnswer ScriptedMessageBoxes::show(const std::string &text, const std::string &title,
                                         MessageIcon icon, MessageButtons buttons) {
    shown.push_back({text, title, icon, buttons});
    if (whileShown)
        whileShown(shown.back());
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
               ? MessageAnswer::Yes
               : MessageAnswer::Ok;
}

std::vector<std::string> ScriptedMessageBoxes::texts() const {
    std::vector<std::string> result;
    for (const ShownMessage &message : shown)
        result.push_back(message.text);
    return result;
}

std::string ScriptedInputBoxes::ask(const std::string &prompt, const std::string &title,
                                    const std::string &preset) {
    asked.push_back({prompt, title, preset});
    if (answers.empty())
        return preset;
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
}

namespace {
std::string takeAnswer(std::deque<std::string> &answers) {
    if (answers.empty())
        return std::string();
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
}
} // namespace

std::string ScriptedFileDialogs::open(const FileDialogRequest &request) {
    opened.push_back(request);
    return takeAnswer(answers);
}

std::string ScriptedFileDialogs::save(const FileDialogRequest &request) {
    saved.push_back(request);
    return takeAnswer(answers);
}

std::string ScriptedFolderPicker::browse(WindowModel &owner, const std::string &prompt,
                                         const std::string &startFolder) {
    calls.push_back({owner.name(), prompt, startFolder});
    return takeAnswer(answers);
}

void ScriptedEventPump::processEvents() {
    ++processed;
    if (onEvents)
        onEvents();
}

void ScriptedEventPump::waitForEvents(double maxSeconds) {
    ++waits;
    if (clock_)
        clock_->advance(maxSeconds);
    processEvents();
}

double FakeClock::secondsSinceMidnight() {
    return current.hour * 3600.0 + current.minute * 60.0 + current.second + fraction;
}

void FakeClock::sleep(int milliseconds) {
    sleeps.push_back(milliseconds);
    advance(milliseconds / 1000.0);
}

namespace {
int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}
} // namespace

void FakeClock::advance(double seconds) {
    double total = secondsSinceMidnight() + seconds;
    while (total >= 86400.0) {
        total -= 86400.0;
        if (++current.day > daysInMonth(current.year, current.month)) {
            current.day = 1;
            if (++current.month > 12) {
                current.month = 1;
                ++current.year;
            }
        }
    }
    const auto whole = static_cast<int>(std::floor(total));
    fraction = total - whole;
    current.hour = whole / 3600;
    current.minute = whole / 60 % 60;
    current.second = whole % 60;
}

std::string MemorySettingsStore::read(const std::string &key, const std::string &fallback) {
    if (failReads)
        throw Failure(error_number::permissionDenied, "Settings", "Permission denied");
    const auto found = values.find(key);
    return found == values.end() ? fallback : found->second;
}

void MemorySettingsStore::write(const std::string &key, const std::string &value) {
    if (failWrites)
        throw Failure(error_number::permissionDenied, "Settings", "Permission denied");
    values[key] = value;
    writes.emplace_back(key, value);
}

std::string FakeSpecialFolders::path(int folderNumber) {
    return folderNumber == desktopFolderNumber ? desktop : std::string();
}

void ScriptedMessageViewer::show(const std::string &title, const std::string &text) {
    shown.push_back({title, text});
    if (whileShown)
        whileShown(shown.back());
}

void FakeProcesses::terminate(int processId) {
    if (std::find(refused.begin(), refused.end(), processId) != refused.end())
        throw Failure(error_number::permissionDenied, "Processes", "Operation not permitted");
    terminated.push_back(processId);
}

/// Holds the process's file size limit at a value while it lives; going past it then fails the
/// write (EFBIG) instead of ending the program with SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(std::uint64_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &before_);
        rlimit limited = before_;
        limited.rlim_cur = static_cast<rlim_t>(bytes);
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

  private:
    rlimit before_{};
    void (*previousHandler_)(int);
};

std::int64_t FaultyFileSystem::modificationTime(const std::string &path) {
    return disk_.modificationTime(path);
}

std::vector<std::string> FaultyFileSystem::listFiles(const std::string &pattern) {
    return disk_.listFiles(pattern);
}

void FaultyFileSystem::write(const std::string &path, const std::string &bytes) {
    const auto limit = startWrite(path, 0);
    disk_.write(path, bytes);
}

void FaultyFileSystem::append(const std::string &path, const std::string &bytes) {
    const auto limit = startWrite(path, disk_.listFiles(path).empty() ? 0 : disk_.fileSize(path));
    disk_.append(path, bytes);
}

std::unique_ptr<FileSizeLimit> FaultyFileSystem::startWrite(const std::string &path,
                                                            std::uint64_t sizeBefore) {
    writes.push_back(path);
    if (diskFull)
        throw SystemFailure(ENOSPC, path);
    return failAfterBytes ? std::make_unique<FileSizeLimit>(sizeBefore + *failAfterBytes) : nullptr;
}

std::string FakeLocale::shortDate(const LocalDateTime &value) {
    return std::to_string(value.month) + "/" + std::to_string(value.day) + "/" +
           std::to_string(value.year);
}

std::string FakeLocale::longTime(const LocalDateTime &value) {
    const int hour12 = value.hour % 12 == 0 ? 12 : value.hour % 12;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour12, value.minute, value.second,
                  value.hour < 12 ? am.c_str() : pm.c_str());
    return buffer;
}

std::string FakeLocale::upper(const std::string &text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // Latin small letters with a two-byte UTF-8 form: U+00E0 .. U+00FE except U+00F7.
        if (c == 0xC3 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            result += static_cast<char>(c);
            result += static_cast<char>(next >= 0xA0 && next <= 0xBE && next != 0xB7 ? next - 0x20
                                                                                     : next);
            ++i;
            continue;
        }
        result += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
    return result;
}

void FakeWindowHost::showModal(WindowModel &window) {
    shownModal.push_back(window.name());
    if (whileShown)
        whileShown(window);
    if (closeAfterShow) {
        if (window.onQueryUnload)
            window.onQueryUnload();
        if (window.onUnload)
            window.onUnload();
    }
}

namespace {
class FakePointer : public PointerImage {};
} // namespace

std::shared_ptr<PointerImage> FakeWindowHost::loadPointer(const std::string &path) {
    loadedPointers.push_back(path);
    if (std::find(damagedPointers.begin(), damagedPointers.end(), path) != damagedPointers.end())
        throw Failure(481, "Cursor", "Invalid picture");
    return std::make_shared<FakePointer>();
}

std::shared_ptr<outlook::Application> NoMailStoreLayer::createApplication() {
    throw Failure(429, "Outlook", "ActiveX component can't create object");
}

} // namespace qb::test
