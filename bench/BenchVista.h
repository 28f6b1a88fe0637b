#pragma once

// A window's shown state, taken and put back: the floor of showing a record is
// its texts put into the same boxes and painted, without the window's own
// reactions to a change.

#include "BenchSupport.h"
#include "records/frmPropiedades.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace bench {

// The window moved from its first record to its last.
inline Timed moverAlFinal(orb::frmPropiedades& w) {
    return [&w] {
        w.cmdFirst->click();
        QApplication::processEvents();
        return timeMs([&] {
            w.cmdLast->click();
            QApplication::processEvents();
        });
    };
}

// What a window shows: the texts of its boxes and labels, its ticks and choices.
struct Vista {
    QList<std::pair<QLineEdit*, QString>> lineas;
    QList<std::pair<QPlainTextEdit*, QString>> textos;
    QList<std::pair<QLabel*, QString>> etiquetas;
    QList<std::pair<QAbstractButton*, bool>> marcas;
    QList<std::pair<QComboBox*, int>> listas;
};

inline Vista vista(QWidget& w) {
    Vista v;
    for (auto* e : w.findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(e->parentWidget()))
            v.lineas.append({e, e->text()});
    for (auto* e : w.findChildren<QPlainTextEdit*>())
        v.textos.append({e, e->toPlainText()});
    for (auto* e : w.findChildren<QLabel*>())
        v.etiquetas.append({e, e->text()});
    for (auto* e : w.findChildren<QAbstractButton*>())
        if (e->isCheckable())
            v.marcas.append({e, e->isChecked()});
    for (auto* e : w.findChildren<QComboBox*>())
        v.listas.append({e, e->currentIndex()});
    return v;
}

// Puts it back without the window's own reactions to a change.
inline void poner(const Vista& v) {
    for (const auto& [e, t] : v.lineas) {
        const QSignalBlocker b(e);
        e->setText(t);
    }
    for (const auto& [e, t] : v.textos) {
        const QSignalBlocker b(e);
        e->setPlainText(t);
    }
    for (const auto& [e, t] : v.etiquetas)
        e->setText(t);
    for (const auto& [e, m] : v.marcas) {
        const QSignalBlocker b(e);
        e->setChecked(m);
    }
    for (const auto& [e, i] : v.listas) {
        const QSignalBlocker b(e);
        e->setCurrentIndex(i);
    }
}

// The window's jump from its first record to its last against its floor:
// leer (what the window reads to show the last record, on a bare
// connection), then the texts the window shows for it put into the same
// boxes and painted. The window is open and shown.
inline Pair saltoAlFinal(orb::frmPropiedades& w, int runs, const std::function<void()>& leer) {
    w.cmdFirst->click();
    QApplication::processEvents();
    const Vista enPrimera = vista(w);
    w.cmdLast->click();
    QApplication::processEvents();
    const Vista enUltima = vista(w);
    return compareTimed(
        runs,
        [&] {
            poner(enPrimera);
            QApplication::processEvents();
            return timeMs([&] {
                leer();
                poner(enUltima);
                QApplication::processEvents();
            });
        },
        moverAlFinal(w));
}

} // namespace bench
