#pragma once

#include "platform/controls/list_view.h"
#include "platform/qt/list_view_model.h"

#include <QTreeView>

namespace qb {

/// A report-style list with a check box per row, showing a list view control through its item
/// model. Column widths follow the control's widths in twips, a column of one twip is hidden and
/// the last visible column takes the room the others leave; a cell cut short by its column shows
/// its whole text as a tool tip. Double-click or Enter on a row opens it (ListView::open).
class ListViewWidget : public QTreeView {
    Q_OBJECT
  public:
    ListViewWidget(ListView &list, QWidget *parent = nullptr);

    ListViewModel &listModel() { return model_; }

  protected:
    bool viewportEvent(QEvent *event) override;

  private:
    void applyColumnWidths();

    ListViewModel model_;
};

} // namespace qb
