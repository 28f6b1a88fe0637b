#pragma once

#include "platform/db/Value.h"

#include <QString>
#include <QStringList>

namespace orb {

// The statements of the three search windows, built from what the user typed
// without a window. User text only ever travels as bound values: a "contains"
// criterion is `LIKE ? ESCAPE '\'` with % _ and \ escaped, so they match
// themselves, and the wildcard the user may type (Comodin, "*") stands for any
// run of characters.
struct ConsultaBusqueda {
    QString sql;
    db::Params params;
    // Not empty when a criterion cannot be used (a price or a number of bedrooms
    // that is not a number):
    // a Spanish message naming the field; sql is then empty.
    QString error;
    // The same rows in the same order with the columns the printed listing
    // shows (params as for sql); empty when they are the grid's own.
    QString listado;

    const QString& sqlListado() const { return listado.isEmpty() ? sql : listado; }
};

// Property search. Every member is the text of its box as typed; the catalogue
// codes are the texts of the hidden code boxes ("" = no choice).
struct CriteriosPropiedades {
    bool alquiler = false;
    QString codigo;
    QString codTipo, codLocalidad, codArea;
    QString estado; // "" = every state
    QString direccion;
    QString precioDesde, precioHasta;
    QString dormitoriosDesde, dormitoriosHasta;
    QString agente;
    QString fechaDesde, fechaHasta;
    QString propietario;
    QString telefono;
    QString orden = QStringLiteral("Código"); // text of the sort list
    QString comodin = QStringLiteral("*");
};

struct CriteriosPropietarios {
    bool alquiler = false;
    QString codigo;
    QString nombre;
    QString fechaDesde, fechaHasta;
    QString orden = QStringLiteral("Código");
    QString comodin = QStringLiteral("*");
};

struct CriteriosClientes {
    bool alquiler = false;
    QString codigo;
    QString codTipo;
    QString presupuestoDesde, presupuestoHasta;
    QString fechaDesde, fechaHasta;
    QString nombre;
    QString orden = QStringLiteral("Código");
    QString comodin = QStringLiteral("*");
};

ConsultaBusqueda SqlBusquedaPropiedades(const CriteriosPropiedades& c);
ConsultaBusqueda SqlBusquedaPropietarios(const CriteriosPropietarios& c);
ConsultaBusqueda SqlBusquedaClientes(const CriteriosClientes& c);

// The empty result each window shows after New search (the same columns, no row).
ConsultaBusqueda SqlBusquedaPropiedadesVacia(bool alquiler);
ConsultaBusqueda SqlBusquedaPropietariosVacia();
ConsultaBusqueda SqlBusquedaClientesVacia();

// Price column of a side: PrecioAlquiler for rentals, Precio for sales.
QString ColumnaPrecio(bool alquiler);

// Items of the sort lists, in order.
const QStringList& OrdenesPropiedades();
const QStringList& OrdenesPropietarios();
const QStringList& OrdenesClientes();

} // namespace orb
