#include "Accessibility.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QWidget>

QStringList accessibilityProblems(QWidget* window) {
    QStringList problems;
    QSet<QString> seen;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractButton*>(w) || qobject_cast<QPlainTextEdit*>(w);
        // The line edit inside an editable combo or a date box is spoken through it.
        if (!input || qobject_cast<QComboBox*>(w->parentWidget()) ||
            qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
            continue;
        const QString name = w->accessibleName();
        if (name.isEmpty())
            problems << QStringLiteral("%1 has no accessible name").arg(w->objectName());
        else if (seen.contains(name))
            problems << QStringLiteral("accessible name '%1' is used twice").arg(name);
        seen.insert(name);
    }
    return problems;
}

namespace {

void collectShown(QAccessibleInterface* node, QAccessible::Role role, QStringList& out, int depth) {
    if (!node || !node->isValid() || node->state().invisible || depth > 64)
        return;
    if (node->role() == role)
        out << node->text(QAccessible::Name);
    for (int i = 0; i < node->childCount(); ++i)
        collectShown(node->child(i), role, out, depth + 1);
}

} // namespace

QStringList shownAccessibleNames(QWidget* window, QAccessible::Role role) {
    QStringList out;
    collectShown(QAccessible::queryAccessibleInterface(window), role, out, 0);
    return out;
}
