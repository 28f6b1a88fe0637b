#pragma once

#include <QHash>
#include <QKeyCombination>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QWidget;

namespace ui {

// Keyboard shortcuts of one window that may share the main window with others
// of its kind (MDI children): a key acts only while the focus is inside this
// window, so two open windows never make a key ambiguous. A key is left to
// the focused control when the control uses it itself: a memo or a grid keeps
// its paging keys, a grid and its cell editors also Esc and Ctrl+Enter. A key
// whose action is not available now also goes on to the control as usual.
class AtajosTeclado : public QObject {
    Q_OBJECT
public:
    explicit AtajosTeclado(QWidget* ventana);
    ~AtajosTeclado() override;

    // The key runs accion when disponible() says so.
    void agregar(QKeyCombination tecla, std::function<bool()> disponible, std::function<void()> accion);
    // The key clicks the button while it is enabled, exactly as a click does.
    void agregar(QKeyCombination tecla, QAbstractButton* boton);
    // The tooltip the user sees names the keys ("Aceptar (Ctrl+S)"); the
    // button's own toolTip and accessible name stay as they are.
    void mostrarEnAyuda(QAbstractButton* boton, const QString& teclas);
    QString ayudaDe(QAbstractButton* boton) const;

    // True when the focused control keeps this key for itself.
    static bool esTeclaDelControl(QWidget* foco, QKeyCombination tecla);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct Atajo {
        QKeyCombination tecla;
        std::function<bool()> disponible;
        std::function<void()> accion;
    };
    const Atajo* atajoPara(QObject* objeto, QEvent* evento) const;

    QWidget* ventana_;
    QList<Atajo> atajos_;
    QHash<QAbstractButton*, QString> ayudas_;
};

} // namespace ui
