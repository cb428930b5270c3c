#include "cli/message_names.h"

#include "export/output_names.h"
#include "mime/gmime_objects.h"
#include "mime/gmime_setup.h"
#include "platform/text_locale.h"

#include <gmime/gmime.h>

#include <memory>

namespace qb::cli {
namespace {

/// The designators every run uses; the other texts are never asked for by the time stamp.
class FixedDesignators : public TextLocale {
  public:
    std::string shortDate(const LocalDateTime &) override { return {}; }
    std::string longTime(const LocalDateTime &) override { return {}; }
    std::string upper(const std::string &text) override { return text; }
    std::string amDesignator() override { return "AM"; }
    std::string pmDesignator() override { return "PM"; }
};

} // namespace

std::string MessageStem(const LocalDateTime &time, const std::string &subject) {
    FixedDesignators designators;
    std::string name = exporting::OutlookTimeStamp(time, designators) + " " + subject;
    for (const exporting::NameReplacement &replacement : exporting::outlookReplacements)
        name = exporting::ApplyReplacement(name, replacement);
    // The system reads a name only up to a NUL, which would cut off the rest and the ending.
    std::erase(name, '\0');
    return name;
}

LocalDateTime MailDateTime(const std::string &dateText) {
    InitialiseGmimeOnce();
    const std::unique_ptr<GDateTime, GDateTimeRelease> parsed(
        g_mime_utils_header_decode_date(dateText.c_str()));
    if (!parsed)
        return missingTime;
    const std::unique_ptr<GDateTime, GDateTimeRelease> local(g_date_time_to_local(parsed.get()));
    if (!local)
        return missingTime;
    GDateTime *time = local.get();
    return {g_date_time_get_year(time),         g_date_time_get_month(time),
            g_date_time_get_day_of_month(time), g_date_time_get_hour(time),
            g_date_time_get_minute(time),       g_date_time_get_second(time)};
}

} // namespace qb::cli
