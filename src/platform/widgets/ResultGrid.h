#pragma once

class QAbstractItemModel;
class QString;
class QTableView;
class QWidget;
template <typename T> class QList;

namespace ui {

// A read-only grid over a result: whole rows selected one at a time, no
// editing, Tab leaves the grid, compact rows, the last column stretched.
void configureResultGrid(QTableView* grid, QAbstractItemModel* model, const QString& accessibleName);

// The grid's corner button, disabled; a screen reader still meets it, so it gets a name.
void disableCornerButton(QTableView* grid, const QString& accessibleName);

// A window laid out as its button bar, a sunken line, then the panels below in
// order; the last panel takes the spare height.
void stackBelowButtonBar(QWidget* window, QWidget* buttonBar, const QList<QWidget*>& panels);

} // namespace ui
