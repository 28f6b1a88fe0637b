#include "ListaAgentes.h"

#include <QAction>
#include <QCompleter>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>
#include <QStyle>

namespace orb {

namespace {

void mostrarTodos(QLineEdit* caja) {
    if (caja->isReadOnly() || !caja->isEnabled())
        return;
    QCompleter* c = caja->completer();
    c->setCompletionPrefix(QString());
    c->complete();
}

// Alt+Down opens the list from the keyboard, as on any list box.
class TeclaLista : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Down && (k->modifiers() & Qt::AltModifier)) {
                mostrarTodos(static_cast<QLineEdit*>(o));
                return true;
            }
        }
        return false;
    }
};

} // namespace

void PonerListaAgentes(QLineEdit* caja, const QStringList& nombres) {
    auto* completer = new QCompleter(new QStringListModel(nombres, caja), caja);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    caja->setCompleter(completer);
    if (nombres.isEmpty())
        return;
    QAction* lista =
        caja->addAction(caja->style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    lista->setObjectName(QStringLiteral("lista") + caja->objectName());
    lista->setToolTip(QCoreApplication::translate("ListaAgentes", "Lista de agentes (Alt+Abajo)"));
    QObject::connect(lista, &QAction::triggered, caja, [caja] { mostrarTodos(caja); });
    caja->installEventFilter(new TeclaLista(caja));
}

} // namespace orb
