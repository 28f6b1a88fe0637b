#pragma once

#include "platform/db/Database.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

namespace orb {

struct AppContext;

// The visits: a client shown a property by an agent at a day and hour. Plain
// functions on the agency database, for the visit window, the agenda, the
// printed sheets and the calendar file.
namespace visitas {

inline const QString Prevista = QStringLiteral("Prevista");
inline const QString Realizada = QStringLiteral("Realizada");
inline const QString Anulada = QStringLiteral("Anulada");
inline const QString NoPresentado = QStringLiteral("No presentado");
// In the order the lists show them.
QStringList Estados();
// A stored state as the interface shows it; the stored value stays Spanish.
QString TextoEstado(const QString& estado);

// The client's opinion, 1 to 5, as the interface shows it; "" for 0 (not given).
QStringList Valoraciones();
QString TextoValoracion(int valoracion);

inline constexpr int DuracionPorDefecto = 30; // minutes

struct Visita {
    qint64 cod = 0; // 0: not stored yet
    QString agencia;
    QString codPropiedad;
    bool alquiler = false;
    QString codCliente;
    QDate fecha;
    QTime hora;
    int duracion = DuracionPorDefecto;
    QString agente;
    QString estado = Prevista;
    int valoracion = 0;
    QString opinion;
    std::optional<double> oferta;
    bool anotada = false; // its line is in the activity log
    // Read with it, not stored: for lists and sheets.
    QString cliente;
    QString direccion;

    QDateTime inicio() const { return QDateTime(fecha, hora); }
    QDateTime fin() const { return inicio().addSecs(qint64(duracion) * 60); }
};

// "hh:mm" → time; invalid for anything else ("9:5", "24:00", "").
QTime LeerHora(const QString& texto);

// Reading: each with the client's name and the property's address.
std::optional<Visita> LeerVisita(db::Database& database, qint64 cod);
// The visits of the days desde..hasta (both included), in time order; an
// empty agent or office means any.
QList<Visita> VisitasEntre(db::Database& database, const QDate& desde, const QDate& hasta,
                           const QString& agente = {}, const QString& oficina = {});
QList<Visita> VisitasDePropiedad(db::Database& database, const QString& codPropiedad);
QList<Visita> VisitasDeCliente(db::Database& database, const QString& codCliente);
// The agents and offices that have visits, for the agenda's filters.
QStringList AgentesConVisitas(db::Database& database);
QStringList OficinasConVisitas(db::Database& database);

// What is wrong with a visit before it is stored: the column and one Spanish
// sentence naming the field; both empty when it can be stored.
struct Problema {
    QString campo;
    QString mensaje;
    bool ninguno() const { return mensaje.isEmpty(); }
};
Problema ComprobarVisita(db::Database& database, const Visita& v);
// What the user is warned about but may go on with: another visit of the same
// agent at an overlapping time, a property sold or let. One line each.
QStringList AvisosVisita(db::Database& database, const Visita& v);

// The line a realised visit leaves in the property's activity log.
QString TextoActividad(const Visita& v);
// Writes that line when the visit is realised and has not written it yet,
// and marks it so (v.anotada). Runs on the caller's transaction.
bool AnotarVisita(db::Database& database, Visita& v);

// Stores the visit (a new one gets its cod) with its activity line, in one
// transaction. Throws db::DbError; checks nothing (ComprobarVisita first).
void GuardarVisita(db::Database& database, Visita& v);

// The visits as an iCalendar file (RFC 5545) with the times in Europe/Madrid.
QByteArray CalendarioVisitas(const QList<Visita>& lista, const QString& nombreAgencia);

} // namespace visitas
} // namespace orb
