#pragma once

#include <QAccessible>
#include <QStringList>

class QWidget;

// Inputs and buttons of a window that a screen reader could not name: each
// must have a non-empty accessible name, unique within the window. Returns
// one line per problem (empty when all is well).
QStringList accessibilityProblems(QWidget* window);

// What a screen reader is told is on screen: walking the window's accessibility
// tree, skipping every object marked invisible (and what is inside it), the
// names of the objects of that role, in tree order.
QStringList shownAccessibleNames(QWidget* window, QAccessible::Role role);
