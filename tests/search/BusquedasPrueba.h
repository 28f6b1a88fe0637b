#pragma once

// The search windows' tests on a demo-like installation: its rows, and the
// navigator that records the windows the searches ask for.

#include "TestInstallation.h"
#include "TestNavigator.h"
#include "reports/Informes.h"
#include "search/frmBusPropiedades.h"

#include <QComboBox>
#include <QTableView>
#include <QTest>
#include <memory>

namespace busquedasprueba {

using namespace orb;

inline void datos(db::Database& d) {
    d.execute("INSERT INTO Tipos (Cod, Nombre) VALUES (1, 'Piso'), (2, 'Chalet')");
    d.execute("INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Marbella'), (2, 'Ronda')");
    d.execute("INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (10, 'Puerto Banús', 1), "
              "(11, 'Nueva Andalucía', 1), (20, 'Centro', 2)");
    d.execute(
        "INSERT INTO Propietarios (Cod, Alquiler, Nombre, Telefono, Movil) VALUES ('P01', FALSE, 'Hélène "
        "Lefèvre', '952000111', NULL), ('R01', TRUE, 'Jürgen Weiß', '952999888', '600123456'), "
        "('R02', TRUE, 'Ana Ruiz', NULL, NULL)");
    d.execute(
        "INSERT INTO Propiedades (Cod, Alquiler, Estado, Dormitorios, Direccion, Precio, CodPropietario, "
        "CodLocalidad) VALUES ('V001', FALSE, 'En Venta', 2, 'Calle Larios, 5', 250000, 'P01', 1), "
        "('V002', FALSE, 'En Venta', 3, 'Calle Real, 1', 1500000, 'P01', 2), "
        "('V003', FALSE, 'En Venta', 1, 'Paseo Marítimo, 9', 90000, NULL, 1), "
        "('V004', FALSE, 'Vendida', 4, 'Calle Málaga, 2', 120000, NULL, 1)");
    d.execute("INSERT INTO Propiedades (Cod, Alquiler, Estado, Dormitorios, PrecioAlquiler) VALUES "
              "('A001', TRUE, 'Libre', 2, 900), ('A002', TRUE, 'Alquilada', 2, 700)");
    d.execute("INSERT INTO Clientes (Cod, Alquiler, Nombre, Presupuesto, CodTipo) VALUES "
              "('C001', FALSE, 'Marta Núñez', 150000, 1), ('C002', FALSE, 'Bob Smith', 1500000, 0)");
}

// Text of the pages of the last report the window asked the navigator to show.
inline QString textoInforme(const TestNavigator& nav) {
    if (nav.reports.isEmpty())
        return {};
    auto* w = qobject_cast<reports::frmInforme*>(nav.reports.last().data());
    if (!w)
        return "<no es un informe>";
    QString t;
    for (int i = 0; i < w->document().pageCount(); ++i)
        t += w->document().pageText(i) + u'\n';
    return t;
}

inline int filaActual(const VentanaBusqueda& f) {
    return f.grd->currentIndex().isValid() ? f.grd->currentIndex().row() : -1;
}

inline QString celda(const VentanaBusqueda& f, int row, int col) {
    return f.grd->model()->index(row, col).data().toString();
}

// A user's pick in a list: the item, then the signal a click gives.
inline void elegir(QComboBox* c, const QString& texto) {
    const int i = c->findText(texto);
    QVERIFY2(i >= 0, qPrintable(texto));
    c->setCurrentIndex(i);
    Q_EMIT c->activated(i);
}

class BusquedasPrueba {
protected:
    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<TestNavigator> nav;

    AppContext& ctx() { return inst->context(); }

    void preparar() {
        inst = std::make_unique<TestInstallation>();
        datos(ctx().db());
        nav = std::make_unique<TestNavigator>(ctx());
    }
    void limpiar() {
        nav.reset();
        inst.reset();
    }
};

} // namespace busquedasprueba
