#pragma once

// Inside of a recordset, shared by the files that implement it: what a
// recordset and its clones share (Meta, Keys) and one cursor's state (Impl).
//
// A dynaset or table recordset keeps only the rowids of its rows (the keyset)
// and reads a row when it becomes current, so opening 100,000 rows costs one
// pass over an index or a sort of integers, never a copy of the data. Clones
// share the keyset: a row deleted through one cursor is skipped by all, which
// is what the record windows rely on when they reposition after a delete.
// Deleted rows stay in the keyset as tombstones so that positions held by
// other cursors remain valid.

#include "Recordset.h"
#include "SqlSource.h"
#include "SqliteSupport.h"

#include <QCoreApplication>
#include <QHash>
#include <QtEndian>
#include <optional>
#include <vector>

namespace db {
namespace detail {

class ServerEngine;

[[noreturn]] inline void noCurrentRecord() {
    throw DbError(ErrNoCurrentRecord,
                  QCoreApplication::translate("db::RecordsetImpl", "No hay un registro activo."));
}

[[noreturn]] inline void readOnly() {
    throw DbError(ErrReadOnly,
                  QCoreApplication::translate(
                      "db::RecordsetImpl", "No se puede actualizar. La base de datos o el objeto es de sólo "
                                           "lectura."));
}

// ---------------------------------------------------------------------------

// A bookmark is the row's key (rowid, or position in a snapshot) and the
// position where it was seen, which usually finds it again without a lookup.
struct Bookmark {
    qint64 key;
    qint64 hint;
};

inline QByteArray encodeBookmark(qint64 key, qint64 hint) {
    QByteArray b(16, Qt::Uninitialized);
    qToBigEndian(key, b.data());
    qToBigEndian(hint, b.data() + 8);
    return b;
}

inline std::optional<Bookmark> decodeBookmark(const QByteArray& b) {
    if (b.size() != 16)
        return std::nullopt;
    return Bookmark{qFromBigEndian<qint64>(b.constData()), qFromBigEndian<qint64>(b.constData() + 8)};
}

inline void readColumns(const Stmt& st, int n, Row& out) {
    out.resize(n);
    for (int c = 0; c < n; ++c)
        out[c] = st.raw(c);
}

// What a recordset and its clones share and what stays fixed once open: the
// source, the fields and, for a snapshot, the rows (plus two caches).
struct Meta {
    Database* database = nullptr;
    sqlite3* db = nullptr;          // the file; on a server, a private in-memory one for snapshot searches
    ServerEngine* server = nullptr; // a recordset over a server's database
    QString rowSql;                 // server: reads one row by its rowid
    RecordsetType type = RecordsetType::Snapshot;
    bool updatable = false;
    QString table; // base table
    QString selectList;
    QString fromClause;
    bool plainColumns = false; // every field is a column under its own name
    QList<FieldInfo> fields;
    QList<bool> writable; // field maps to a column of the base table
    QString rowidAlias;   // INTEGER PRIMARY KEY column, which is the rowid
    std::unique_ptr<Stmt> rowStmt;
    std::optional<Row> defaults;
    std::optional<QString> versionColumn; // the base table's Version column, empty when it has none
    QList<Row> rows;                      // snapshot
    QByteArray vtabSchema;                // snapshot, for findFirst

    int indexOf(const QString& name) const {
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }

    // A name in a statement: the server keeps every name in lower case.
    QString id(const QString& name) const { return quoteId(server ? name.toLower() : name); }

    bool readServerRow(qint64 rowid, Row& out);
    bool readRow(qint64 rowid, Row& out) {
        if (server)
            return readServerRow(rowid, out);
        Stmt& st = *rowStmt;
        st.bind(1, rowid);
        bool found = false;
        try {
            found = st.step();
            if (found)
                readColumns(st, int(fields.size()), out);
        } catch (...) {
            st.reset();
            throw;
        }
        st.reset();
        return found;
    }
};

// The rowids of a dynaset or table recordset, in its order.
struct Keys {
    std::vector<qint64> ids;
    std::vector<char> deleted;
    qsizetype live = 0;
    QHash<qint64, qsizetype> where; // rowid → position, built on first need
    bool indexed = false;

    qsizetype size() const { return qsizetype(ids.size()); }
    void append(qint64 rowid) {
        ids.push_back(rowid);
        deleted.push_back(0);
        ++live;
        if (indexed)
            where.insert(rowid, size() - 1);
    }
    void markDeleted(qsizetype i) {
        if (!deleted[i]) {
            deleted[i] = 1;
            --live;
        }
    }
    // Position of a live row, -1 when it is not in the keyset.
    qsizetype find(qint64 rowid) {
        if (!indexed) {
            where.reserve(size());
            for (qsizetype i = 0; i < size(); ++i)
                where.insert(ids[i], i); // a reused rowid maps to its latest position
            indexed = true;
        }
        const auto it = where.constFind(rowid);
        return it == where.cend() || deleted[*it] ? -1 : *it;
    }
    void changeRowid(qsizetype i, qint64 rowid) {
        if (indexed) {
            where.remove(ids[i]);
            where.insert(rowid, i);
        }
        ids[i] = rowid;
    }
};

struct IndexColumn {
    QString name;
    QString collation;
    bool desc = false;
    bool text = false;
};

inline QString orderTerm(const IndexColumn& ic) {
    QString t = quoteId(ic.name);
    if (!ic.collation.isEmpty())
        t += QStringLiteral(" COLLATE ") + quoteId(ic.collation);
    if (ic.desc)
        t += QStringLiteral(" DESC");
    return t;
}

// Fields of a prepared statement, with their base table and column when known.
QList<FieldInfo> fieldsOf(const Stmt& st);
// Appends the last column of every row of sql to keys.
void readKeys(Database& database, const QString& sql, const Params& params, Keys& keys);

} // namespace detail

using detail::noCurrentRecord;

struct Recordset::Impl {
    using Meta = detail::Meta;
    using Keys = detail::Keys;
    using IndexColumn = detail::IndexColumn;

    std::shared_ptr<Meta> m;
    std::shared_ptr<Keys> k; // null for a snapshot

    qsizetype pos = -1;
    bool bof = true;
    bool eof = true;
    bool hasRow = false;
    Row row; // current row as stored

    EditMode mode = EditMode::None;
    Row buffer; // as it will be stored
    QList<bool> dirty;
    qint64 editRowid = 0;
    Value editVersion; // the row's Version when the edit began

    QByteArray lastModified;
    bool noMatch = false;

    QString indexName;
    QList<IndexColumn> indexColumns;

    qsizetype size() const { return k ? k->size() : m->rows.size(); }
    qsizetype live() const { return k ? k->live : m->rows.size(); }

    // Makes the first row found from i going in direction dir current.
    bool settle(qsizetype i, int dir) {
        for (; i >= 0 && i < size(); i += dir) {
            if (!k) {
                pos = i;
                row = m->rows[i];
                hasRow = true;
                return true;
            }
            if (k->deleted[i])
                continue;
            if (m->readRow(k->ids[i], row)) {
                pos = i;
                hasRow = true;
                return true;
            }
            k->markDeleted(i); // deleted by someone else since the keyset was taken
        }
        return false;
    }

    // Makes row i current; ErrNoCurrentRecord when it has been deleted.
    void goTo(qsizetype i) {
        if (k) {
            if (k->deleted[i])
                noCurrentRecord();
            Row r;
            if (!m->readRow(k->ids[i], r)) {
                k->markDeleted(i);
                noCurrentRecord();
            }
            row = std::move(r);
        } else {
            row = m->rows[i];
        }
        pos = i;
        hasRow = true;
        bof = eof = false;
    }

    void openAtFirst() {
        hasRow = false;
        pos = -1;
        if (settle(0, 1)) {
            bof = eof = false;
        } else {
            bof = eof = true;
        }
    }

    bool current() const { return hasRow && !(k && k->deleted[pos]); }
    void requireCurrent() const {
        if (!current())
            noCurrentRecord();
    }
    void dropEdit() {
        mode = EditMode::None;
        buffer.clear();
        dirty.clear();
    }

    const FieldInfo& fieldAt(int i) const {
        if (i < 0 || i >= m->fields.size())
            throw DbError(ErrItemNotFound,
                          QCoreApplication::translate("db::RecordsetImpl",
                                                      "No se encontró el elemento %1 en esta colección.")
                              .arg(i));
        return m->fields[i];
    }
    int fieldByName(const QString& name) const {
        const int i = m->indexOf(name);
        if (i < 0)
            throw DbError(ErrItemNotFound,
                          QCoreApplication::translate("db::RecordsetImpl",
                                                      "No se encontró el elemento '%1' en esta colección.")
                              .arg(name));
        return i;
    }

    qsizetype findKeyed(const QString& criterion, const Params& params, qsizetype start);
    qsizetype findSnapshot(const QString& criterion, const Params& params, qsizetype start);
    bool find(const QString& criterion, const Params& params, qsizetype start);
    const Row& loadDefaults();
    const QString& versionColumn();
    Value versionOf(qint64 rowid);
    QVariant convert(int index, const Value& v) const;
};

namespace detail {

inline Recordset::Impl& checked(const std::unique_ptr<Recordset::Impl>& d) {
    if (!d)
        throw DbError(ErrGeneric,
                      QCoreApplication::translate("db::RecordsetImpl", "El recordset está cerrado."));
    return *d;
}

// Every row of sql read now; read-only.
std::unique_ptr<Recordset::Impl> openSnapshot(Database& database, const QString& sql, const Params& params,
                                              RecordsetType type);
// The rowids of a simple source (or the whole table) now, rows on demand; updatable.
std::unique_ptr<Recordset::Impl> openKeyed(Database& database, const ParsedSource& p, const Params& params,
                                           RecordsetType type);

} // namespace detail
} // namespace db
