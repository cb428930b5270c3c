#pragma once

#include "platform/controls/list_view.h"
#include "platform/qt/list_view_model.h"

#include <QTreeView>

namespace qb {

/// A report-style list with a check box per row, showing a list view control through its item
/// model. Column widths follow the control's widths in twips.
class ListViewWidget : public QTreeView {
    Q_OBJECT
  public:
    ListViewWidget(ListView &list, QWidget *parent = nullptr);

    ListViewModel &listModel() { return model_; }

  private:
    void applyColumnWidths();

    ListViewModel model_;
};

} // namespace qb
