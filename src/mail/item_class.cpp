#include "mail/item_class.h"

#include "text/plain_text.h"

#include <array>

namespace qb::mail {
namespace {

struct ClassRule {
    std::string_view messageClass;
    int itemClass;
};

// Outlook's own numbers (OlObjectClass). More specific classes come before their families.
constexpr std::array rules{
    ClassRule{"IPM.Note", 43},
    ClassRule{"IPM.Post", 45},
    ClassRule{"IPM.Appointment", 26},
    ClassRule{"IPM.Schedule.Meeting.Request", 53},
    ClassRule{"IPM.Schedule.Meeting.Canceled", 54},
    ClassRule{"IPM.Schedule.Meeting.Resp.Neg", 55},
    ClassRule{"IPM.Schedule.Meeting.Resp.Pos", 56},
    ClassRule{"IPM.Schedule.Meeting.Resp.Tent", 57},
    ClassRule{"IPM.Contact", 40},
    ClassRule{"IPM.DistList", 69},
    ClassRule{"IPM.TaskRequest.Update", 50},
    ClassRule{"IPM.TaskRequest.Accept", 51},
    ClassRule{"IPM.TaskRequest.Decline", 52},
    ClassRule{"IPM.TaskRequest", 49},
    ClassRule{"IPM.Task", 48},
    ClassRule{"IPM.StickyNote", 44},
    ClassRule{"IPM.Activity", 42},
    ClassRule{"REPORT", 46},
};

/// True when the class is the family itself or one of its ".suffix" members.
bool BelongsTo(std::string_view messageClass, std::string_view family) {
    if (messageClass.size() < family.size() ||
        !EqualIgnoringCase(messageClass.substr(0, family.size()), family))
        return false;
    return messageClass.size() == family.size() || messageClass[family.size()] == '.';
}

} // namespace

int ItemClassOf(std::string_view messageClass) {
    for (const ClassRule &rule : rules)
        if (BelongsTo(messageClass, rule.messageClass))
            return rule.itemClass;
    return 0;
}

} // namespace qb::mail
