#pragma once

#include "Visitas.h"
#include "platform/report/Document.h"

class QWidget;

namespace orb {

struct AppContext;

namespace visitas {

// The wording above the client's signature: setting VISITAS/TEXTOHOJA, or
// this text while the agency has written none.
QString TextoHojaPorDefecto();
QString TextoHoja(db::Database& database);

// The visits of one client on one day that were not cancelled, in time order.
QList<Visita> VisitasDelDia(db::Database& database, const QString& codCliente, const QDate& fecha);

// The visit sheet of one client's visits (one day), signed by the client.
// Throws report::ReportError or db::DbError.
report::Document GenerarHojaVisita(AppContext& ctx, const QList<Visita>& lista);
// HojaVisita_<client>_<yyyymmdd>.pdf in the installation folder.
QString RutaHojaVisita(const AppContext& ctx, const Visita& v);

// What the owner is told about one property over a period.
struct ResumenPropietario {
    QDate desde, hasta;
    QList<Visita> visitas; // of the period, in time order
    int realizadas = 0, anuladas = 0, noPresentado = 0, previstas = 0;
    int ofertas = 0;
    std::optional<double> mejorOferta;
    int coincidencias = 0;  // clients the property matches now
    int dossierEnviado = 0; // of them, sent the dossier
    int diasEnMercado = -1; // from the day it was entered to hasta; -1 unknown
    QString propietario, emailPropietario;
    QString referencia, direccion;
};
// coincidencias: the clients the property matches, counted by the caller.
ResumenPropietario LeerResumenPropietario(db::Database& database, const QString& codPropiedad,
                                          const QDate& desde, const QDate& hasta, int coincidencias);
report::Document GenerarInformePropietario(AppContext& ctx, const ResumenPropietario& resumen);
QString RutaInformePropietario(const AppContext& ctx, const QString& codPropiedad);
// The last 30 days up to today.
QDate DesdePorDefecto(const QDate& hoy);

// Writes the PDF and hands a message to the owner's own address with it
// attached; once handed over, the property's log says it was sent. False
// (the user told why) when the owner has no address, the PDF cannot be
// written or no mail client took it.
bool EnviarInformePropietario(AppContext& ctx, QWidget* parent, const ResumenPropietario& resumen);
// Writes the sheet's PDF and hands a message to the client's address with it.
bool EnviarHojaVisita(AppContext& ctx, QWidget* parent, const QList<Visita>& lista);

} // namespace visitas
} // namespace orb
