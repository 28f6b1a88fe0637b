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

// The agency database: its tables, indexes and stored queries.
QList<Table> agencyTables();
QList<Index> agencyIndexes();
QList<View> agencyViews();
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
// The index of the web export's read; the step from 11 to 12 creates it.
QList<Index> indicesExportacionWeb();
// The wanted places travel between offices with their clients.
Table clientesZonas();

} // namespace orb::schema::detail
