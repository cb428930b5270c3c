#include "platform/platform.h"

namespace qb {

MessageAnswer MsgBox(Platform &platform, const std::string &text, MessageButtons buttons,
                     MessageIcon icon) {
    return platform.messageBoxes.show(text, platform.applicationTitle, icon, buttons);
}

} // namespace qb
