// The agents: a catalogue of the people who work at the offices, and the
// agent each new activity line and sent match records.

#include "Schema.h"
#include "SchemaTablas.h"

#include "platform/db/Database.h"

namespace orb::schema::detail {

Table agentes() {
    // Usuario is the agent's own server role (empty on the file, where the
    // agent is chosen from the list at start-up): the server knows the
    // agent's office by it.
    Column activo = yesNo("Activo");
    activo.activada = true;
    // Version: the catalogue window's confirm tells another seat's store.
    return {QStringLiteral("Agentes"),
            {text("Nombre", 50, true), text("Oficina", LongitudAgencia, true), text("Email", 100), activo,
             text("Usuario", 63), columnaVersion()},
            QStringLiteral("Cod INTEGER NOT NULL PRIMARY KEY DESC")};
}

QList<Index> indicesAgentes() {
    return {{QStringLiteral("Agentes_Nombre"), QStringLiteral("Agentes"), QStringLiteral("Nombre")},
            {QStringLiteral("Agentes_Usuario"), QStringLiteral("Agentes"), QStringLiteral("Usuario")}};
}

QList<std::pair<QString, Column>> columnasAgente() {
    return {{QStringLiteral("Actividades"), text("Agente", 50)},
            {QStringLiteral("PropiedadesEnviadas"), text("Agente", 50)}};
}

} // namespace orb::schema::detail
