#pragma once

// The server's notices of changed rows: what the triggers send and where, so
// that another seat's open windows hear of a change as soon as it is committed.

#include <QString>
#include <QStringList>

namespace pg {
class Connection;
}

namespace orb::schema {

// The channel every notice goes to (NOTIFY is per database).
inline constexpr const char* CanalAvisos = "orbalia_cambios";
// Rows one notice names at most; a statement that changes more sends the table alone.
inline constexpr int FilasPorAviso = 50;
// Notices naming rows that one transaction sends per table; the statements
// after them send the table alone, which the server folds into one.
inline constexpr int AvisosConFilasPorTransaccion = 20;

// The tables whose changes are told: the ones the record windows edit, and the visits.
QStringList tablasConAvisos();

// Creates or replaces the function and, on each of those tables, its
// statement triggers (after insert, update, delete and truncate): one
// pg_notify per statement with a JSON payload {"tabla": "propiedades",
// "filas": [[rowid, "Cod"], …]} (an update's rows as they are after it),
// without "filas" when the rows are many or unknown. Idempotent: run again
// on a server that has them, it replaces them. Throws pg::PgError.
void crearAvisosServidor(pg::Connection& connection);

} // namespace orb::schema
