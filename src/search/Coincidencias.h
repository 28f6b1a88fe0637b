#pragma once

#include "platform/db/Database.h"

#include <QString>
#include <QStringList>

// Matching clients and properties, both ways, as plain functions over the
// agency database. Every value is bound; nothing here shows a window.
namespace orb::coincidencias {

// What a client wants, read from Clientes and ClientesZonas.
struct Deseos {
    QString cod;
    QString nombre;
    QString email;
    bool alquiler = false;
    double maximo = 0;   // Presupuesto; 0: no maximum
    double minimo = 0;   // PresupuestoMinimo; 0: no minimum
    int dormitorios = 0; // DormitoriosMinimo; 0: any
    qint64 codTipo = 0;  // 0: any type
    bool piscina = false, garaje = false, ascensor = false, terraza = false;
    QList<qint64> areas;       // wanted areas
    QList<qint64> localidades; // wanted whole localities
};

// What a property offers, as far as matching looks at it.
struct Oferta {
    QString cod;
    bool alquiler = false;
    QString estado;
    bool tienePrecio = false;
    double precio = 0; // Precio for sale, PrecioAlquiler for rent
    qint64 codTipo = 0, codLocalidad = 0, codArea = 0;
    int dormitorios = 0;
    bool piscina = false, garaje = false, ascensor = false, terraza = false;
    // Names for the grid and the reasons.
    QString tipo, localidad, area, direccion;
};

// One match: the pair, its score and why it matched, best reasons first.
struct Coincidencia {
    QString codCliente;
    QString codPropiedad;
    int puntos = 0;
    QStringList motivos;
    bool enviada = false;    // already sent to the client
    bool descartada = false; // "No le interesa"
    bool vista = false;      // the agent has seen it
    // Shown in the grids: the other side of the pair.
    QString nombreCliente, emailCliente, telefonoCliente;
    Oferta propiedad;
};

// The available state of a side: "Libre" for rentals, "En Venta" for sales.
QString EstadoDisponible(bool alquiler);

// Percentage above the client's maximum that still matches (setting
// COINCIDENCIAS/TOLERANCIA, 10 by default; a value that is not a number or is
// negative counts as 0).
double LeerTolerancia(db::Database& database);

// Price within [minimo, maximo + tolerancia %], counted in cents so that
// exactly at the limit is in and a cent above is out.
bool DentroDelPresupuesto(double precio, const Deseos& d, double tolerancia);

// The score and reasons of a client and a property, or false when they do
// not match (side, availability, price, type, place, bedrooms, features).
bool Puntuar(const Deseos& d, const Oferta& o, double tolerancia, int* puntos, QStringList* motivos);

// The client's wishes; false when there is no client with that code.
bool LeerDeseos(db::Database& database, const QString& codCliente, Deseos* deseos);

// The statements the two directions run, with their bound values: a
// prefilter by state, side, price range and the like; Puntuar decides.
struct Consulta {
    QString sql;
    db::Params params;
};
Consulta SqlPropiedadesParaCliente(const Deseos& d, double tolerancia, bool conDescartadas);
Consulta SqlClientesParaPropiedad(const Oferta& o, double tolerancia);

// Available properties of the client's side that suit the client, best first.
// Those marked "No le interesa" are left out unless conDescartadas.
QList<Coincidencia> PropiedadesParaCliente(db::Database& database, const QString& codCliente,
                                           bool conDescartadas = false);

// Clients in state "Buscando" on the property's side whom it suits, best
// first; none when the property is not available. Clients who said "No le
// interesa" to it are left out.
QList<Coincidencia> ClientesParaPropiedad(db::Database& database, const QString& codPropiedad);

// "No le interesa" set or taken back for one pair.
void MarcarNoInteresa(db::Database& database, const QString& codCliente, const QString& codPropiedad,
                      bool noInteresa);

// The agent has seen these matches of the client: they are no longer new.
void MarcarVistas(db::Database& database, const QString& codCliente, const QStringList& codPropiedades);
// The same for each pair of the list (those already seen stay as they were), in one transaction.
void MarcarVistas(db::Database& database, const QList<Coincidencia>& coincidencias);

// The properties were sent to the client: one line "Enviada a <cliente>" in
// each property's activity log with the client's code, and each marked sent; both
// carry the agent who sent them.
// Runs in one transaction unless the caller holds one.
void RegistrarEnvio(db::Database& database, const QString& codCliente, const QString& nombreCliente,
                    const QStringList& codPropiedades, const QString& agente = {});

// Waiting clients ("Buscando") with at least one match neither seen, sent
// nor refused, in code order. Only reads (a read-only connection will do).
QStringList ClientesConNovedades(db::Database& database);
QStringList ClientesConNovedades(db::Database& database, double tolerancia);

} // namespace orb::coincidencias
