#pragma once

class QAbstractItemModel;
class QString;
class QTableView;

namespace ui {

// A read-only grid over a result: whole rows selected one at a time, no
// editing, Tab leaves the grid, compact rows, the last column stretched.
void configureResultGrid(QTableView* grid, QAbstractItemModel* model, const QString& accessibleName);

} // namespace ui
