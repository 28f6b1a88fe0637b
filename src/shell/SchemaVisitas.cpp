// The visits: one row per viewing of a property by a client, booked at an office.

#include "Schema.h"
#include "SchemaTablas.h"

#include "platform/db/Database.h"

namespace orb::schema::detail {

Table visitas() {
    // Cod is the row number of this database (it does not travel). Agencia is
    // the office that booked the visit: only that office changes it, and it
    // travels with that office's records. Hora is "hh:mm", local time of the
    // agency. Anotada says the visit has written its line in the property's
    // activity log (a flag, not a link: saving the property window writes its
    // log again with new row numbers), so a realised visit writes it once.
    return {QStringLiteral("Visitas"),
            {text("Agencia", LongitudAgencia), text("CodPropiedad", LongitudCodigo, true), yesNo("Alquiler"),
             text("CodCliente", LongitudCodigo), date("Fecha"), text("Hora", 5), small("Duracion"),
             text("Agente", 50), text("Estado", 20), small("Valoracion"), text("Opinion", 255),
             money("Oferta"), yesNo("Anotada")},
            QStringLiteral("Cod INTEGER PRIMARY KEY AUTOINCREMENT")};
}

QList<Index> indicesVisitas() {
    return {
        // The agenda: one day or week, in time order.
        {QStringLiteral("Visitas_Fecha"), QStringLiteral("Visitas"), QStringLiteral("Fecha, Hora")},
        {QStringLiteral("Visitas_Propiedad"), QStringLiteral("Visitas"),
         QStringLiteral("CodPropiedad, Fecha, Hora")},
        {QStringLiteral("Visitas_Cliente"), QStringLiteral("Visitas"),
         QStringLiteral("CodCliente, Fecha, Hora")},
    };
}

} // namespace orb::schema::detail
