#include "SchemaTablas.h"

namespace orb::schema::detail {

QList<Column> columnasPreferencias() {
    // Presupuesto stays the maximum; the minimum sits beside it. The four
    // features are musts: a property without one of them never matches.
    return {money("PresupuestoMinimo"), small("DormitoriosMinimo"), yesNo("QuierePiscina"),
            yesNo("QuiereGaraje"),      yesNo("QuiereAscensor"),    yesNo("QuiereTerraza")};
}

Table clientesZonas() {
    // One wanted place per row: a locality (CodArea null: anywhere in it) or
    // an area with its locality. CodCliente is the client's text code.
    return {QStringLiteral("ClientesZonas"),
            {text("CodCliente", 20, true), whole("CodLocalidad"), whole("CodArea")},
            QStringLiteral("Cod INTEGER PRIMARY KEY AUTOINCREMENT")};
}

namespace {

// A client × property pair with the day it was recorded; one row per pair
// (unique index below).
Table parCliente(const char* name) {
    return {QString::fromLatin1(name),
            {text("CodCliente", 20, true), text("CodPropiedad", 20, true), date("Fecha")},
            {}};
}

} // namespace

QList<Table> tablasCoincidencias() {
    return {clientesZonas(),
            // Sent by e-mail: not offered again as new. The agent who sent it rides along.
            [] {
                Table t = parCliente("PropiedadesEnviadas");
                t.columns << columnasAgente().value(1).second;
                return t;
            }(),
            // "No le interesa": never offered to that client again until taken back.
            parCliente("PropiedadesDescartadas"),
            // Matches the agent has already seen, so only new ones are announced.
            parCliente("PropiedadesVistas")};
}

QList<Index> indicesVersion11() {
    return {
        {QStringLiteral("PropiedadesEnviadas_Par"), QStringLiteral("PropiedadesEnviadas"),
         QStringLiteral("CodCliente, CodPropiedad"), true},
        {QStringLiteral("PropiedadesDescartadas_Par"), QStringLiteral("PropiedadesDescartadas"),
         QStringLiteral("CodCliente, CodPropiedad"), true},
        {QStringLiteral("PropiedadesVistas_Par"), QStringLiteral("PropiedadesVistas"),
         QStringLiteral("CodCliente, CodPropiedad"), true},
        // A client's wanted places, read without touching the table.
        {QStringLiteral("ClientesZonas_Cliente"), QStringLiteral("ClientesZonas"),
         QStringLiteral("CodCliente, CodArea, CodLocalidad")},
        // Waiting clients of one side, for the matches of a property: every wish the
        // statement filters on rides along, so only the clients that suit are read.
        {QStringLiteral("Clientes_Coincidencias"), QStringLiteral("Clientes"),
         QStringLiteral("Estado, Alquiler, Presupuesto, PresupuestoMinimo, CodTipo, DormitoriosMinimo, "
                        "QuierePiscina, QuiereGaraje, QuiereAscensor, QuiereTerraza, Cod")},
        // Available properties of one side in a price range: sales by Precio, rentals by
        // PrecioAlquiler; the place, bedrooms and type ride along, so rows that do not
        // suit are left in the index, never read.
        {QStringLiteral("Propiedades_Precio"), QStringLiteral("Propiedades"),
         QStringLiteral("Estado, Alquiler, Precio, CodLocalidad, CodArea, Dormitorios, CodTipo")},
        {QStringLiteral("Propiedades_PrecioAlquiler"), QStringLiteral("Propiedades"),
         QStringLiteral("Estado, Alquiler, PrecioAlquiler, CodLocalidad, CodArea, Dormitorios, CodTipo")},
        // The wanted places of a client, when there are some: a few rows of one locality or area.
        {QStringLiteral("Propiedades_Localidad"), QStringLiteral("Propiedades"),
         QStringLiteral("Estado, Alquiler, CodLocalidad, Precio")},
        {QStringLiteral("Propiedades_Area"), QStringLiteral("Propiedades"),
         QStringLiteral("Estado, Alquiler, CodArea, Precio")},
    };
}

} // namespace orb::schema::detail
