#pragma once

// The definitions the agency database is made from, shared by the files that
// describe its parts. Not for use outside src/shell.

#include <QList>
#include <QString>

namespace db {
class Database;
}

namespace orb::schema::detail {

// Field kinds and the declared types the data-access layer reads them by.
enum class Kind { Text, Memo, Small, Long, Currency, Double, Date, Bool };

struct Column {
    QString name;
    Kind kind;
    int size = 0; // Text only
    bool notNull = false;
    bool activada = false; // Bool only: DEFAULT 1
};

struct Table {
    QString name;
    QList<Column> columns;
    QString tail; // extra column definitions or table constraints, written first
};

struct Index {
    QString name;
    QString table;
    QString columns;
    bool unique = false;
};

struct View {
    QString name;
    QString select;
};

inline Column text(const char* name, int size, bool notNull = false) {
    return {QString::fromLatin1(name), Kind::Text, size, notNull};
}
inline Column memo(const char* name) {
    return {QString::fromLatin1(name), Kind::Memo};
}
inline Column small(const char* name) {
    return {QString::fromLatin1(name), Kind::Small};
}
inline Column whole(const char* name) {
    return {QString::fromLatin1(name), Kind::Long};
}
inline Column money(const char* name) {
    return {QString::fromLatin1(name), Kind::Currency};
}
inline Column date(const char* name) {
    return {QString::fromLatin1(name), Kind::Date};
}
inline Column yesNo(const char* name) {
    return {QString::fromLatin1(name), Kind::Bool};
}

// The engines the definitions are written for: the SQLite file and the server.
enum class Dialect { Sqlite, Postgres };

// The statements that create them, in either dialect.
QString columnSql(const Column& c, bool forAlter, Dialect dialect = Dialect::Sqlite);
QString quoted(const QString& name, Dialect dialect = Dialect::Sqlite);
QString createTableSql(const Table& t, const QString& prefijo = {}, Dialect dialect = Dialect::Sqlite);
QString createIndexSql(const Index& i, Dialect dialect = Dialect::Sqlite);
// An index's columns or expression as that dialect's index holds it; a
// statement that compares the same expression writes it so to be answered
// by the index (and, on the server, to be accepted at all).
QString indexExpression(const QString& columns, Dialect dialect);
// The server's type of a column, and its form of a table's key (its rowid
// and the tail's INTEGER PRIMARY KEY), in SchemaServidor.cpp.
QString serverType(const Column& c);
QString serverKey(const Table& t);

// The agency database: its tables, indexes and stored queries.
QList<Table> agencyTables();
QList<Index> agencyIndexes();
QList<View> agencyViews();
// The tables a record window edits carry Version, the number of times the row
// was stored, so a confirm can tell that another seat stored it meanwhile. It
// is the seat's, not the record's: the exchange file does not carry it.
QStringList tablasConVersion();
Column columnaVersion();
// The exchange file: the tables that travel between offices, their indexes,
// and Intercambio, the file's record of who exported it.
QList<Table> exchangeTables();
QList<Index> exchangeIndexes();
Table intercambio();

// What version 11 added for matching clients and properties: the client's
// wishes as columns of Clientes, the tables of wanted places and of what each
// client was shown, sent or did not want, and their indexes. The step from 10
// to 11 creates exactly these; a fresh database has them in its definitions.
QList<Column> columnasPreferencias();
QList<Table> tablasCoincidencias();
QList<Index> indicesVersion11();
// Identity numbers, phones and e-mails as compared (SchemaDuplicados.cpp), and
// the step that adds them.
QList<Index> indicesDuplicados();
QStringList pasoDuplicados(db::Database& database);
// The index of the web export's read; the step from 15 to 16 creates it.
QList<Index> indicesExportacionWeb();
// The wanted places travel between offices with their clients.
Table clientesZonas();

// The visits (a step of their own) and their indexes; they travel with the
// office that booked them.
Table visitas();
QList<Index> indicesVisitas();
// What the portal feed needs (SchemaPortales.cpp): the property's mark and the
// time of its last change, the portal type of each type and the province of
// each locality; the triggers that keep the time right for every writer.
QList<Column> columnasPortalesPropiedad();
Column tipoPortales();
Column provinciaLocalidad();
// The agents' catalogue and the Agente column that activity lines and sent
// matches gained with it (SchemaAgentes.cpp; the step to version 18).
Table agentes();
Table agentesIntercambio(); // without the row version
QList<Index> indicesAgentes();
QList<std::pair<QString, Column>> columnasAgente();
QStringList disparadoresPortales();
// Their server form (PL/pgSQL), in SchemaServidor's schema and its step 17.
QStringList disparadoresPortalesServidor();

} // namespace orb::schema::detail
