#include "ResultGrid.h"

#include <QHeaderView>
#include <QString>
#include <QTableView>

namespace ui {

void configureResultGrid(QTableView* grid, QAbstractItemModel* model, const QString& accessibleName) {
    grid->setObjectName(QStringLiteral("grd"));
    grid->setAccessibleName(accessibleName);
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setTabKeyNavigation(false);
    grid->setAlternatingRowColors(true);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setHighlightSections(false);
}

} // namespace ui
