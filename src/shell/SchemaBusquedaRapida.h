#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Database;
}

namespace orb::schema {

// The quick search's text index: one SQLite FTS5 table per kind (trigram
// tokenizer: any three characters or more of a text find it, case ignored),
// rowid for rowid with its table, holding the searched columns without their
// accents (sinacentos) and the row's Cod as it is: a rowid is taken only
// while it still holds that code (a dump loaded again, a VACUUM, may number
// the rows anew). Triggers keep it in step with every writer. It is
// derived data of the file only: the server has none (its seats search the
// tables themselves) and the exchange file does not carry it.
struct IndiceTexto {
    QString nombre;     // the FTS5 table
    QString tabla;      // the table it indexes
    QStringList campos; // the columns it searches, in the same names (and Cod beside them)
};
QList<IndiceTexto> indicesTexto();
// The index's table for a table, or empty.
QString indiceTextoDe(const QString& tabla);
// True for those tables and the ones SQLite keeps them in (name_data, _idx…):
// what a comparison of the file with the server or the exchange leaves out.
bool soloEnArchivo(const QString& tabla);

namespace detail {
// Creates what the file lacks (tables, triggers) and fills the tables again
// from the rows stored; returns what it did.
QStringList pasoBusquedaRapida(db::Database& database);
// The statements that create the empty tables and their triggers.
QStringList crearIndicesTexto();
// The server's form of the same search: trigram indexes (pg_trgm) over the
// same columns folded as the file's index holds them, which the quick
// search's "contains" reads.
QStringList crearTrigramasServidor();
} // namespace detail

} // namespace orb::schema
