#pragma once

#include <QString>

class QMessageBox;
class QWidget;

namespace qb {

/// The width a dialog needs for the window manager to show its whole title: the title in a bold
/// face of the dialog's font, and room for the title bar's icon and buttons.
int TitleBarWidth(const QWidget &dialog, const QString &title);

/// Makes the message box at least as wide as its title needs. A message box sizes itself from
/// its layout, so the width goes into the layout as an empty item across its columns.
void WidenForTitle(QMessageBox &box);

} // namespace qb
