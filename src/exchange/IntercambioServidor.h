#pragma once

// The office exchange on a seat whose agency database is on the server: the
// exchange file stays an SQLite file with a connection of its own, and the
// rows travel through the data-access layer, in bulk.

#include "platform/db/Database.h"

#include <QStringList>

namespace orb {

// A table or column as the server keeps it ("Propiedades" → "propiedades"), quoted.
QString NombreServidor(const QString& nombre);
QString ListaColumnasServidor(const QStringList& columnas);

// Reads rows of the server's table in rowid order (in the forms the file
// stores) and writes them into the same table of the exchange file with one
// prepared statement. Returns the rows written.
qint64 CopiarAlFichero(db::Database& agencia, db::Database& fichero, const QString& tabla,
                       const QStringList& columnas, const QString& donde = {}, const db::Params& params = {});

// Rows of the exchange file ready for the server, and those left out before
// they are sent: a text where the server keeps a number is named in a line
// (as the file's import names it), a row without its code or with a text
// longer than its field is only counted.
struct FilasServidor {
    QList<db::Row> filas;
    QStringList rechazos;
    qint64 descartadas = 0;
};
// codigo names a row in the lines; donde and params select them in the file.
FilasServidor LeerParaServidor(db::Database& fichero, db::Database& agencia, const QString& tabla,
                               const QStringList& columnas, const QString& codigo, const QString& donde,
                               const db::Params& params);

// Stores the rows in the server's table: COPY into a table of the session,
// then one INSERT … SELECT that leaves out what a unique index refuses (a
// code another office uses), as the file's INSERT OR IGNORE does. condicion
// (on the copied rows, with params) keeps only some. Returns the rows stored.
qint64 InsertarEnServidor(db::Database& agencia, const QString& tabla, const QStringList& columnas,
                          const QList<db::Row>& filas, const QString& condicion = {},
                          const db::Params& params = {});

} // namespace orb
