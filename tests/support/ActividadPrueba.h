#pragma once

// The property's activity log as the tests compare it: one "date|client
// code|client|activity" text per line, stored or in the window's grid.

#include "records/ActividadModel.h"
#include "records/frmPropiedades.h"
#include "shell/AppContext.h"

#include <QStringList>

namespace prueba {

inline QStringList actividadesGuardadas(orb::AppContext& ctx, const QString& cod) {
    QStringList l;
    for (const db::Row& r : ctx.db().query("SELECT Fecha, CodCliente, Cliente, Actividad FROM Actividades "
                                           "WHERE Propiedad = ? ORDER BY Cod",
                                           {cod}))
        l << r[0].toDate().toString("dd/MM/yyyy") + "|" + r[1].toString() + "|" + r[2].toString() + "|" +
                 r[3].toString();
    return l;
}

inline QStringList actividadesEnPantalla(const orb::frmPropiedades& w) {
    QStringList l;
    for (int i = 0; i < w.actividades->lineas(); ++i)
        l << QStringList(w.actividades->linea(i).begin(),
                         w.actividades->linea(i).begin() + orb::ActividadModel::ColAgente)
                 .join('|');
    return l;
}

} // namespace prueba
