#pragma once

#include <QStringList>

class QWidget;

// Inputs and buttons of a window that a screen reader could not name: each
// must have a non-empty accessible name, unique within the window. Returns
// one line per problem (empty when all is well).
QStringList accessibilityProblems(QWidget* window);
