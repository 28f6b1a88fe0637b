#include "Atajos.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolTip>

namespace ui {

namespace {

QKeyCombination combinacion(const QKeyEvent* e) {
    return QKeyCombination(e->modifiers() & ~Qt::KeypadModifier, Qt::Key(e->key()));
}

bool esPaginacion(QKeyCombination t) {
    const Qt::Key k = t.key();
    if (t.keyboardModifiers() == Qt::NoModifier)
        return k == Qt::Key_PageUp || k == Qt::Key_PageDown;
    return t.keyboardModifiers() == Qt::ControlModifier && (k == Qt::Key_Home || k == Qt::Key_End);
}

bool esIntro(QKeyCombination t) {
    return t.key() == Qt::Key_Return || t.key() == Qt::Key_Enter;
}

} // namespace

AtajosTeclado::AtajosTeclado(QWidget* ventana) : QObject(ventana), ventana_(ventana) {
    // Key events reach the focused control first; only an application filter
    // sees them before it, and before any shortcut of the main window.
    qApp->installEventFilter(this);
}

AtajosTeclado::~AtajosTeclado() {
    if (qApp)
        qApp->removeEventFilter(this);
}

void AtajosTeclado::agregar(QKeyCombination tecla, std::function<bool()> disponible,
                            std::function<void()> accion) {
    atajos_ << Atajo{tecla, std::move(disponible), std::move(accion)};
}

void AtajosTeclado::agregar(QKeyCombination tecla, QAbstractButton* boton) {
    const QPointer<QAbstractButton> b(boton);
    agregar(
        tecla, [b] { return b && b->isEnabled() && b->isVisibleTo(b->window()); },
        [b] {
            if (b)
                b->click();
        });
}

void AtajosTeclado::mostrarEnAyuda(QAbstractButton* boton, const QString& teclas) {
    ayudas_.insert(boton, teclas);
    connect(boton, &QObject::destroyed, this, [this, boton] { ayudas_.remove(boton); });
}

QString AtajosTeclado::ayudaDe(QAbstractButton* boton) const {
    const QString teclas = ayudas_.value(boton);
    if (teclas.isEmpty())
        return boton->toolTip();
    return QStringLiteral("%1 (%2)").arg(boton->toolTip(), teclas);
}

bool AtajosTeclado::esTeclaDelControl(QWidget* foco, QKeyCombination tecla) {
    for (QWidget* w = foco; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (qobject_cast<QAbstractItemView*>(w)) {
            // A grid pages and jumps itself; it and its cell editors close
            // an edit with Esc and have their own Ctrl+Enter; an editor's
            // Enter ends the cell's edit.
            const bool intro = esIntro(tecla);
            const bool ctrl = tecla.keyboardModifiers() == Qt::ControlModifier;
            return esPaginacion(tecla) || tecla.key() == Qt::Key_Escape || (intro && ctrl) ||
                   (intro && w != foco);
        }
    }
    if (qobject_cast<QPlainTextEdit*>(foco) || qobject_cast<QTextEdit*>(foco))
        return esPaginacion(tecla);
    return false;
}

const AtajosTeclado::Atajo* AtajosTeclado::atajoPara(QObject* objeto, QEvent* evento) const {
    QWidget* foco = QApplication::focusWidget();
    QWidget* destino = foco ? foco : qobject_cast<QWidget*>(objeto);
    if (!destino || objeto != destino || (destino != ventana_ && !ventana_->isAncestorOf(destino)))
        return nullptr;
    const QKeyCombination tecla = combinacion(static_cast<QKeyEvent*>(evento));
    if (esTeclaDelControl(destino, tecla))
        return nullptr;
    for (const Atajo& a : atajos_)
        if (a.tecla == tecla && a.disponible())
            return &a;
    return nullptr;
}

bool AtajosTeclado::eventFilter(QObject* objeto, QEvent* evento) {
    switch (evento->type()) {
    case QEvent::ShortcutOverride:
        // Claimed for this window: no shortcut of another window takes it,
        // and it arrives as a key press.
        if (atajoPara(objeto, evento)) {
            evento->accept();
            return true;
        }
        return false;
    case QEvent::KeyPress:
        if (const Atajo* a = atajoPara(objeto, evento)) {
            const auto accion = a->accion; // the action may add or remove keys
            evento->accept();
            accion();
            return true;
        }
        return false;
    case QEvent::ToolTip:
        if (auto* b = qobject_cast<QAbstractButton*>(objeto); b && ayudas_.contains(b)) {
            QToolTip::showText(static_cast<QHelpEvent*>(evento)->globalPos(), ayudaDe(b), b);
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace ui
