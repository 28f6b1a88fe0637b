#include "Controles.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace orb {

void SeleccionarTexto(QWidget* control) {
    if (auto* line = qobject_cast<QLineEdit*>(control))
        line->selectAll();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        plain->selectAll();
    else if (auto* rich = qobject_cast<QTextEdit*>(control))
        rich->selectAll();
}

} // namespace orb
