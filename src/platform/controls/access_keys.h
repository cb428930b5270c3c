#pragma once

#include "platform/controls/window_model.h"

#include <cstddef>
#include <map>

namespace qb {

/// The access keys (Alt and a letter) of a window's controls: for each control that has one, the
/// position in its caption of the letter that is its key. Captions keep their words; the drawing
/// layer only underlines the letter.
///
/// Push buttons and option buttons choose first, in tab order; then the frames that label the
/// control they begin with (a text box or a drop-down list, which has no caption of its own). Each
/// takes the first letter of a word of its caption that no control has taken yet (letter case
/// aside), else any such letter of its caption, else goes without a key.
std::map<const Control *, std::size_t> AccessKeys(const WindowModel &window);

} // namespace qb
