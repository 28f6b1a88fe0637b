#include "ResultGrid.h"

#include <QAbstractButton>
#include <QFrame>
#include <QHeaderView>
#include <QList>
#include <QString>
#include <QTableView>
#include <QVBoxLayout>

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

void disableCornerButton(QTableView* grid, const QString& accessibleName) {
    grid->setCornerButtonEnabled(false);
    for (QAbstractButton* b : grid->findChildren<QAbstractButton*>())
        b->setAccessibleName(accessibleName);
}

void stackBelowButtonBar(QWidget* window, QWidget* buttonBar, const QList<QWidget*>& panels) {
    auto* main = new QVBoxLayout(window);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    main->addWidget(buttonBar);
    auto* line = new QFrame(window);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    main->addWidget(line);
    for (QWidget* p : panels)
        main->addWidget(p, p == panels.last() ? 1 : 0);
}

} // namespace ui
