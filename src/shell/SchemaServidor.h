#pragma once

// The agency database on a PostgreSQL server: the same tables, indexes and
// stored queries as the file, in the server's types.

#include "platform/db/ServerDialect.h"

#include <QList>
#include <QString>
#include <functional>

namespace pg {
class Connection;
}

namespace orb::schema {

// How a column's values are compared between the file and the server.
enum class TipoCampo { Texto, Entero, Moneda, Doble, Fecha, SiNo };

struct CampoServidor {
    QString nombre;
    TipoCampo tipo;
};

struct TablaServidor {
    QString nombre; // as the file spells it ("Propiedades"); the server folds it to lower case
    // The column that holds the file's rowid on the server: "rowid", or the
    // table's INTEGER PRIMARY KEY ("Cod"), which on the file is the rowid itself.
    QString numeroFila;
    QList<CampoServidor> campos; // every other column, in the definitions' order
};

// The agency's tables, in the order they are created.
QList<TablaServidor> tablasServidor();

// The accent-folding function contains-searches use with ILIKE (the Spanish
// collation refuses LIKE): lower case, accents removed, ñ kept.
inline constexpr const char* FuncionPlegado = db::ServerFoldFunction;

// Creates in an empty server database the Spanish collation, the folding
// function, every table, index and view of the agency database, the
// version table orbalia_version at CurrentVersion and the empty agency
// record orbalia_agencia. Inside the connection's open transaction, or in
// one of its own: a failure leaves nothing behind. Throws pg::PgError.
void createServerSchema(pg::Connection& connection);

// The first version a server database was ever created at: older ones cannot exist.
inline constexpr int FirstServerVersion = 16;

// Brings a server database from its version up to CurrentVersion: each step
// in one transaction of its own (the server undoes DDL with it), the stored
// queries made again after it, the version moved with it. A step that only
// the file needs (the quick search's SQLite index) moves the version alone.
// A failed step leaves the database at the version before it. progreso gets
// one line per step. Throws pg::PgError, or std::runtime_error (worded for the user)
// for a database that is not the program's or is newer than it.
void upgradeServerSchema(pg::Connection& connection,
                         const std::function<void(const QString&)>& progreso = {});

// True when the database has no table, view or sequence of its own.
bool isEmptyServerDatabase(pg::Connection& connection);
// The version in orbalia_version; -1 when the database has no such table.
int serverSchemaVersion(pg::Connection& connection);

} // namespace orb::schema
