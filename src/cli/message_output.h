#pragma once

#include "cli/export_options.h"
#include "cli/exported_message.h"
#include "cli/output_tree.h"
#include "cli/placer.h"
#include "cli/run_report.h"

#include <memory>
#include <string>
#include <vector>

namespace qb::cli {

/// The path of a message's folder as the output mirrors it: the store's file name first, then
/// the folders from the top of personal folders down (empty for mail lying in the top folder).
using FolderPath = std::vector<std::string>;

/// Writes the messages of a run in one format. The stores hand it their messages in their order,
/// from the reading thread; each file goes to the placer once it is whole. Failures of a message
/// are reported, named by the message, and the run goes on.
class MessageOutput {
  public:
    virtual ~MessageOutput() = default;
    virtual void write(const FolderPath &folder, ExportedMessage &message) = 0;
    /// A store's reading ended: files that gather a folder's messages are finished.
    virtual void storeDone() {}
    /// The run ended, also one that was stopped: every file is whole and handed to the placer.
    virtual void finish() {}
};

/// Everything an output writes with.
struct OutputSetting {
    OutputTree &tree;
    Placer &placer;
    RunReport &report;
};

/// The output for the run's options. Throws Failure when it cannot start (the combined file).
std::unique_ptr<MessageOutput> MakeOutput(const ExportOptions &options, OutputSetting setting);

/// Reports each part of a message that could not be written, named by the message.
void ReportProblems(RunReport &report, const std::string &where,
                    const std::vector<PartProblem> &problems);

} // namespace qb::cli
