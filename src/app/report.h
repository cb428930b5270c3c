#pragma once

#include "failure/failure.h"
#include "failure/guard.h"
#include "platform/message_boxes.h"

#include <string>

namespace qb {

/// Address that ends every failure report.
inline constexpr const char *supportAddress = "support@quillbarrow.example";

/// The text of the failure report: description, the procedure and line, an empty line, the
/// request for a screenshot, and the extra line when one is given.
std::string ComposeErrorReport(const Failure &failure, const std::string &procedurePath, int line,
                               const std::string &extraLine = std::string());

/// Shows the failure report in an "Application Error" box with the exclamation icon and OK.
void ReportError(MessageBoxes &messageBoxes, const Failure &failure,
                 const std::string &procedurePath, int line,
                 const std::string &extraLine = std::string());

/// The reporter every guard of the program uses.
class ErrorReport : public FailureReporter {
  public:
    explicit ErrorReport(MessageBoxes &messageBoxes) : messageBoxes_(messageBoxes) {}
    void report(const Failure &failure, const std::string &procedurePath, int line,
                const std::string &extraLine) override {
        ReportError(messageBoxes_, failure, procedurePath, line, extraLine);
    }

  private:
    MessageBoxes &messageBoxes_;
};

} // namespace qb
