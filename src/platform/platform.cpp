#include "platform/platform.h"

namespace qb {

MessageAnswer MsgBox(Platform &platform, const std::string &text, MessageButtons buttons,
                     MessageIcon icon) {
    return platform.messages.show(text, buttons, icon);
}

} // namespace qb
