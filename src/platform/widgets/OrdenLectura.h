#pragma once

#include <QList>

class QWidget;

namespace ui {

// The controls of a window that Tab reaches, in reading order: container by
// container, top to bottom and left to right as their layouts place them (a
// grid row by row, a box in its order, a tab control's tab bar then its pages
// in tab order); what no layout places follows by its position.
QList<QWidget*> ordenDeLectura(QWidget* ventana);

// Makes Tab and Shift+Tab follow that order.
void tabularEnOrdenDeLectura(QWidget* ventana);

// Makes Tab and Shift+Tab follow this order (widgets of one window).
void tabularEn(const QList<QWidget*>& orden);

} // namespace ui
