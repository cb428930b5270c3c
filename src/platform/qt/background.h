#pragma once

#include "platform/controls/control.h"

class QWidget;

namespace qb {

/// Fills the widget's background with the colour the model names: white, or the palette's
/// button colour for the button face.
void ShowBackColour(QWidget &widget, BackColour colour);

} // namespace qb
