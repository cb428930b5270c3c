#pragma once

#include <string_view>

namespace qb::mail {

/// Outlook's item class number for a message class ("IPM.Note" 43, "IPM.Appointment" 26,
/// "REPORT.IPM.Note.NDR" 46, ...), compared without regard to case; 0 when unknown or empty.
int ItemClassOf(std::string_view messageClass);

} // namespace qb::mail
