#include "app/report.h"

namespace qb {

std::string ComposeErrorReport(const Failure &failure, const std::string &procedurePath, int line,
                               const std::string &extraLine) {
    // The two bare carriage returns make the message box show one empty line.
    std::string text = failure.description() + "\r\n" + "in " + procedurePath + " " + "at line " +
                       std::to_string(line) + "\r\r" +
                       "Please email screenshot of this message to " + supportAddress;
    if (!extraLine.empty())
        text += "\r\n" + extraLine;
    return text;
}

void ReportError(MessageBoxes &messageBoxes, const Failure &failure,
                 const std::string &procedurePath, int line, const std::string &extraLine) {
    messageBoxes.show(ComposeErrorReport(failure, procedurePath, line, extraLine),
                      "Application Error", MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace qb
