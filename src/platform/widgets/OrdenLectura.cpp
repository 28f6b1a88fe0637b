#include "OrdenLectura.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QSet>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <tuple>

namespace ui {

namespace {

// Widgets placed by a layout, in its reading order; nested layouts in place.
void deLayout(QLayout* layout, QList<QWidget*>& out) {
    struct Pieza {
        int fila, columna, indice;
        QLayoutItem* item;
    };
    QList<Pieza> piezas;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        int fila = 0, columna = i;
        if (auto* g = qobject_cast<QGridLayout*>(layout)) {
            int rs = 0, cs = 0;
            g->getItemPosition(i, &fila, &columna, &rs, &cs);
        } else if (auto* f = qobject_cast<QFormLayout*>(layout)) {
            QFormLayout::ItemRole papel{};
            f->getItemPosition(i, &fila, &papel);
            columna = papel == QFormLayout::FieldRole ? 1 : 0;
        } else if (auto* b = qobject_cast<QBoxLayout*>(layout);
                   b &&
                   (b->direction() == QBoxLayout::RightToLeft || b->direction() == QBoxLayout::BottomToTop)) {
            columna = layout->count() - i;
        }
        piezas << Pieza{fila, columna, i, item};
    }
    std::stable_sort(piezas.begin(), piezas.end(), [](const Pieza& a, const Pieza& b) {
        return std::tie(a.fila, a.columna, a.indice) < std::tie(b.fila, b.columna, b.indice);
    });
    for (const Pieza& p : piezas) {
        if (QWidget* w = p.item->widget())
            out << w;
        else if (QLayout* l = p.item->layout())
            deLayout(l, out);
    }
}

// The child widgets of w in reading order.
QList<QWidget*> hijos(QWidget* w) {
    QList<QWidget*> orden;
    if (auto* t = qobject_cast<QTabWidget*>(w)) {
        orden << t->tabBar();
        for (int i = 0; i < t->count(); ++i)
            orden << t->widget(i);
    } else if (auto* s = qobject_cast<QScrollArea*>(w)) {
        if (s->widget())
            orden << s->widget();
    } else if (w->layout()) {
        deLayout(w->layout(), orden);
    }
    // A tab control's pages sit in its stack; the rest by position.
    QList<QWidget*> resto;
    for (QObject* o : w->children())
        if (auto* c = qobject_cast<QWidget*>(o); c && !c->isWindow() && !orden.contains(c))
            resto << c;
    std::stable_sort(resto.begin(), resto.end(), [](QWidget* a, QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    return orden + resto;
}

// A control that Tab stops at as a whole: its inner widgets are its own.
bool esControl(QWidget* w) {
    if (qobject_cast<QScrollArea*>(w))
        return false;
    return qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
           qobject_cast<QAbstractButton*>(w) || qobject_cast<QTabBar*>(w);
}

void recorrer(QWidget* w, QList<QWidget*>& out, QSet<QWidget*>& vistos) {
    for (QWidget* c : hijos(w)) {
        if (vistos.contains(c))
            continue;
        vistos.insert(c);
        if ((c->focusPolicy() & Qt::TabFocus) && !c->focusProxy())
            out << c;
        if (!esControl(c))
            recorrer(c, out, vistos);
    }
}

} // namespace

QList<QWidget*> ordenDeLectura(QWidget* ventana) {
    QList<QWidget*> out;
    QSet<QWidget*> vistos;
    recorrer(ventana, out, vistos);
    return out;
}

void tabularEn(const QList<QWidget*>& orden) {
    for (qsizetype i = 1; i < orden.size(); ++i)
        QWidget::setTabOrder(orden[i - 1], orden[i]);
}

void tabularEnOrdenDeLectura(QWidget* ventana) {
    tabularEn(ordenDeLectura(ventana));
}

} // namespace ui
