#pragma once

#include "cli/output_folder.h"

#include <cstdio>
#include <memory>
#include <string>

// Where the texts of the messages go: one file each, or all into one combined file.
namespace qb::cli {

/// Takes the text of each message of a run, in the run's order.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    /// A staged file (OutputFolder::stagingPath) that holds the message's whole text; the sink
    /// takes it over. Throws Failure when the text cannot be kept.
    virtual void addFile(const std::string &staged, const std::string &stem) = 0;
    /// The message's text itself.
    virtual void addText(const std::string &text, const std::string &stem) = 0;
    /// Ends the run: the combined file gets its name. Throws Failure when it cannot.
    virtual void finish() = 0;
};

/// One file per message, named after its stem.
class SeparateFiles : public MessageSink {
  public:
    explicit SeparateFiles(OutputFolder &folder) : folder_(folder) {}
    void addFile(const std::string &staged, const std::string &stem) override;
    void addText(const std::string &text, const std::string &stem) override;
    void finish() override {}

  private:
    OutputFolder &folder_;
};

/// Every text, one after the other with nothing between, into one staged file that is named
/// AllEmails.txt (or the next free number) only when the run is over, so that a run that stops
/// half-way leaves no partial file under that name.
class CombinedFile : public MessageSink {
  public:
    explicit CombinedFile(OutputFolder &folder);
    ~CombinedFile() override;
    void addFile(const std::string &staged, const std::string &stem) override;
    void addText(const std::string &text, const std::string &stem) override;
    void finish() override;

  private:
    void append(const char *bytes, std::size_t size);

    OutputFolder &folder_;
    std::string staged_;
    std::FILE *file_ = nullptr;
};

/// The sink for the run's choice.
std::unique_ptr<MessageSink> MakeSink(OutputFolder &folder, bool oneFile);

} // namespace qb::cli
