#pragma once

#include "platform/controls/list_view.h"
#include "platform/qt/list_view_model.h"

#include <QFontMetrics>
#include <QString>
#include <QTreeView>

namespace qb {

/// True when the text is a full path: it begins with "/", with "\\" or with a drive letter, a
/// colon and a separator.
bool IsFullPath(const QString &text);

/// The path as it fits in width pixels of the font: unchanged when it fits; else cut in the
/// middle of its folders, so that its start and its file name stay whole; when the file name
/// alone is too wide, the whole path cut in its middle.
QString ElidedPath(const QString &path, const QFontMetrics &metrics, int width);

/// A report-style list with a check box per row, showing a list view control through its item
/// model. Column widths follow the control's widths in twips, a column of one twip is hidden and
/// the last visible column takes the room the others leave. A cell holding a full path that its
/// column cuts short keeps the file name visible (ElidedPath); other cells are cut at their end.
/// A cell cut short shows its whole text as a tool tip. Double-click or Enter on a row opens it
/// (ListView::open).
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
