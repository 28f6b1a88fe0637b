#include "PanelState.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace ui {

void setPanelEditable(QWidget* panel, bool editable) {
    panel->setProperty("editable", editable);
    for (QWidget* w : panel->findChildren<QWidget*>()) {
        if (w->property("alwaysEnabled").toBool())
            continue;
        const bool on = editable && !w->property("neverEditable").toBool();
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            e->setReadOnly(!on);
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
            p->setReadOnly(!on);
        } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
            t->setReadOnly(!on);
        } else if (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w) ||
                   qobject_cast<QAbstractSpinBox*>(w)) {
            // The line edit inside an editable combo follows its combo.
            w->setEnabled(on);
        }
    }
}

} // namespace ui
