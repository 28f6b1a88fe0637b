// Recordsets over SQLite.
//
// A dynaset or table recordset keeps only the rowids of its rows (the keyset)
// and reads a row when it becomes current, so opening 100,000 rows costs one
// pass over an index or a sort of integers, never a copy of the data. Clones
// share the keyset: a row deleted through one cursor is skipped by all, which
// is what the record windows rely on when they reposition after a delete.
// Deleted rows stay in the keyset as tombstones so that positions held by
// other cursors remain valid.

#include "Recordset.h"

#include "SqliteSupport.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <vector>

namespace db {

using detail::Stmt;
using detail::throwError;

namespace {

QString quoteId(const QString& name) {
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

[[noreturn]] void noCurrentRecord() {
    throw DbError(ErrNoCurrentRecord, QStringLiteral("No hay un registro activo."));
}

[[noreturn]] void readOnly() {
    throw DbError(ErrReadOnly,
                  QStringLiteral("No se puede actualizar. La base de datos o el objeto es de sólo "
                                 "lectura."));
}

// ---------------------------------------------------------------------------
// Just enough of a tokenizer to find the clauses of a SELECT at the top level.

struct Token {
    enum Kind { Word, Quoted, String, Number, Param, Punct } kind;
    qsizetype start;
    qsizetype end;
    int depth;    // parentheses around the token
    QString text; // identifiers unquoted, keywords as written
    bool is(const char* keyword) const {
        return kind == Word && depth == 0 && text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
    }
};

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c.unicode() >= 0x80;
}

QList<Token> tokenize(const QString& sql) {
    QList<Token> out;
    const qsizetype n = sql.size();
    int depth = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n')
                ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype e = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = e < 0 ? n : e + 2;
            continue;
        }
        Token t{Token::Punct, i, i + 1, depth, {}};
        if (c == u'\'' || c == u'"' || c == u'[' || c == u'`') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            t.kind = c == u'\'' ? Token::String : Token::Quoted;
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == close) {
                    if (close != u']' && j + 1 < n && sql[j + 1] == close) {
                        t.text += close;
                        j += 2;
                        continue;
                    }
                    break;
                }
                t.text += sql[j++];
            }
            t.end = std::min(n, j + 1);
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql[i + 1].isDigit())) {
            t.kind = Token::Number;
            qsizetype j = i;
            while (j < n &&
                   (isWordChar(sql[j]) || sql[j] == u'.' ||
                    ((sql[j] == u'+' || sql[j] == u'-') && (sql[j - 1] == u'e' || sql[j - 1] == u'E'))))
                ++j;
            t.end = j;
        } else if (isWordChar(c)) {
            t.kind = Token::Word;
            qsizetype j = i;
            while (j < n && isWordChar(sql[j]))
                ++j;
            t.end = j;
            t.text = sql.mid(i, j - i);
        } else if (c == u'?' || c == u':' || c == u'@') {
            t.kind = Token::Param;
            qsizetype j = i + 1;
            while (j < n && isWordChar(sql[j]))
                ++j;
            t.end = j;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            t.depth = --depth;
        }
        if (t.kind == Token::Punct)
            t.text = c;
        out << t;
        i = t.end;
    }
    return out;
}

// What a dynaset needs to know of its source.
struct ParsedSource {
    bool bareName = false; // the source is a table or view name alone
    bool simple = false;   // SELECT over one table, no grouping, no compound, no aggregates
    QString table;         // unquoted
    QString selectList;    // "*" or the columns as written
    QString fromClause;    // the table and its alias, as written
    QString fromOn;        // "FROM …" to the end, as written
    bool numericOrderBy = false;
};

ParsedSource parseSource(const QString& source) {
    ParsedSource p;
    QString sql = source.trimmed();
    while (sql.endsWith(u';'))
        sql = sql.chopped(1).trimmed();
    const QList<Token> tk = tokenize(sql);
    if (tk.size() == 1 && (tk[0].kind == Token::Word || tk[0].kind == Token::Quoted)) {
        p.bareName = true;
        p.simple = true;
        p.table = tk[0].text;
        p.selectList = QStringLiteral("*");
        p.fromClause = quoteId(p.table);
        p.fromOn = QStringLiteral("FROM ") + p.fromClause;
        return p;
    }
    if (tk.isEmpty() || !tk[0].is("SELECT"))
        return p;
    qsizetype i = 1;
    if (i < tk.size() && tk[i].is("DISTINCT"))
        return p;
    if (i < tk.size() && tk[i].is("ALL"))
        ++i;
    qsizetype from = -1;
    for (qsizetype j = i; j < tk.size(); ++j) {
        if (tk[j].is("FROM")) {
            from = j;
            break;
        }
    }
    if (from < 0 || from == i)
        return p;
    static const char* const aggregates[] = {"count", "sum", "avg", "min", "max", "total", "group_concat"};
    for (qsizetype j = i; j < from; ++j) {
        if (tk[j].kind == Token::Param)
            return p; // parameters in the select list would not follow the keyset's
        if (tk[j].kind == Token::Word && tk[j].text.compare(u"OVER", Qt::CaseInsensitive) == 0)
            return p; // a window function needs every row of the result
        if (tk[j].kind == Token::Word && j + 1 < from && tk[j + 1].text == u"(")
            for (const char* a : aggregates)
                if (tk[j].text.compare(QLatin1String(a), Qt::CaseInsensitive) == 0)
                    return p;
    }
    qsizetype clauseEnd = tk.size();
    bool inOrderBy = false;
    for (qsizetype j = from + 1; j < tk.size(); ++j) {
        const Token& t = tk[j];
        if (t.is("GROUP") || t.is("HAVING") || t.is("WINDOW") || t.is("UNION") || t.is("INTERSECT") ||
            t.is("EXCEPT"))
            return p;
        if (clauseEnd == tk.size() && (t.is("WHERE") || t.is("ORDER") || t.is("LIMIT")))
            clauseEnd = j;
        if (t.is("ORDER"))
            inOrderBy = true;
        else if (t.is("LIMIT"))
            inOrderBy = false;
        else if (inOrderBy && t.kind == Token::Number && t.depth == 0)
            p.numericOrderBy = true;
    }
    // One table, optionally with an alias: anything else is a join or a subquery.
    const qsizetype nFrom = clauseEnd - from - 1;
    auto isName = [&](qsizetype j) { return tk[j].kind == Token::Word || tk[j].kind == Token::Quoted; };
    bool oneTable = false;
    if (nFrom == 1)
        oneTable = isName(from + 1);
    else if (nFrom == 2)
        oneTable = isName(from + 1) && isName(from + 2) && !tk[from + 2].is("JOIN");
    else if (nFrom == 3)
        oneTable = isName(from + 1) && tk[from + 2].is("AS") && isName(from + 3);
    if (!oneTable)
        return p;
    p.simple = true;
    p.table = tk[from + 1].text;
    p.selectList = sql.mid(tk[i].start, tk[from].start - tk[i].start).trimmed();
    const qsizetype fromEnd = clauseEnd < tk.size() ? tk[clauseEnd].start : sql.size();
    p.fromClause = sql.mid(tk[from + 1].start, fromEnd - tk[from + 1].start).trimmed();
    p.fromOn = sql.mid(tk[from].start);
    return p;
}

// ---------------------------------------------------------------------------

// A bookmark is the row's key (rowid, or position in a snapshot) and the
// position where it was seen, which usually finds it again without a lookup.
struct Bookmark {
    qint64 key;
    qint64 hint;
};

QByteArray encodeBookmark(qint64 key, qint64 hint) {
    QByteArray b(16, Qt::Uninitialized);
    qToBigEndian(key, b.data());
    qToBigEndian(hint, b.data() + 8);
    return b;
}

std::optional<Bookmark> decodeBookmark(const QByteArray& b) {
    if (b.size() != 16)
        return std::nullopt;
    return Bookmark{qFromBigEndian<qint64>(b.constData()), qFromBigEndian<qint64>(b.constData() + 8)};
}

qsizetype codePoints(const QString& s) {
    qsizetype n = s.size();
    for (const QChar c : s)
        if (c.isLowSurrogate())
            --n;
    return n;
}

void readColumns(const Stmt& st, int n, Row& out) {
    out.resize(n);
    for (int c = 0; c < n; ++c)
        out[c] = st.raw(c);
}

void resultValue(sqlite3_context* ctx, const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::LongLong:
        sqlite3_result_int64(ctx, v.toLongLong());
        break;
    case QMetaType::Double:
        sqlite3_result_double(ctx, v.toDouble());
        break;
    case QMetaType::QString: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_result_blob(ctx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default:
        sqlite3_result_null(ctx);
    }
}

// What a recordset and its clones share and what stays fixed once open: the
// source, the fields and, for a snapshot, the rows (plus two caches).
struct Meta {
    Database* database = nullptr;
    sqlite3* db = nullptr;
    RecordsetType type = RecordsetType::Snapshot;
    bool keyed = false; // rows addressed by rowid (dynaset, table)
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
    QList<Row> rows;       // snapshot
    QByteArray vtabSchema; // snapshot, for findFirst

    int indexOf(const QString& name) const {
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }

    bool readRow(qint64 rowid, Row& out) {
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

QString orderTerm(const IndexColumn& ic) {
    QString t = quoteId(ic.name);
    if (!ic.collation.isEmpty())
        t += QStringLiteral(" COLLATE ") + quoteId(ic.collation);
    if (ic.desc)
        t += QStringLiteral(" DESC");
    return t;
}

} // namespace

struct Recordset::Impl {
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
                          QStringLiteral("No se encontró el elemento %1 en esta colección.").arg(i));
        return m->fields[i];
    }
    int fieldByName(const QString& name) const {
        const int i = m->indexOf(name);
        if (i < 0)
            throw DbError(ErrItemNotFound,
                          QStringLiteral("No se encontró el elemento '%1' en esta colección.").arg(name));
        return i;
    }

    qsizetype findKeyed(const QString& criterion, const Params& params, qsizetype start);
    qsizetype findSnapshot(const QString& criterion, const Params& params, qsizetype start);
    bool find(const QString& criterion, const Params& params, qsizetype start);
    const Row& loadDefaults();
    QVariant convert(int index, const Value& v) const;
};

namespace {

// ----- the rows of a snapshot as an eponymous virtual table, for findFirst

struct SnapTab {
    sqlite3_vtab base;
    const Meta* meta;
};
struct SnapCursor {
    sqlite3_vtab_cursor base;
    qsizetype i;
};

int snapConnect(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** out, char**) {
    const auto* meta = static_cast<const Meta*>(aux);
    const int rc = sqlite3_declare_vtab(db, meta->vtabSchema.constData());
    if (rc != SQLITE_OK)
        return rc;
    auto* t = new SnapTab{};
    t->meta = meta;
    *out = &t->base;
    return SQLITE_OK;
}
int snapDisconnect(sqlite3_vtab* t) {
    delete reinterpret_cast<SnapTab*>(t);
    return SQLITE_OK;
}
// A constraint "rowid >= ?" lets a search start at a position.
int snapBestIndex(sqlite3_vtab* t, sqlite3_index_info* info) {
    info->estimatedCost = double(reinterpret_cast<SnapTab*>(t)->meta->rows.size()) + 1;
    for (int c = 0; c < info->nConstraint; ++c) {
        const auto& con = info->aConstraint[c];
        if (con.usable && con.iColumn == -1 && con.op == SQLITE_INDEX_CONSTRAINT_GE) {
            info->aConstraintUsage[c].argvIndex = 1;
            info->aConstraintUsage[c].omit = 1;
            info->idxNum = 1;
            break;
        }
    }
    return SQLITE_OK;
}
int snapOpen(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
    *out = &(new SnapCursor{})->base;
    return SQLITE_OK;
}
int snapClose(sqlite3_vtab_cursor* c) {
    delete reinterpret_cast<SnapCursor*>(c);
    return SQLITE_OK;
}
int snapFilter(sqlite3_vtab_cursor* c, int idxNum, const char*, int argc, sqlite3_value** argv) {
    auto* cur = reinterpret_cast<SnapCursor*>(c);
    cur->i = idxNum == 1 && argc == 1 ? std::max<qint64>(0, sqlite3_value_int64(argv[0])) : 0;
    return SQLITE_OK;
}
int snapNext(sqlite3_vtab_cursor* c) {
    ++reinterpret_cast<SnapCursor*>(c)->i;
    return SQLITE_OK;
}
int snapEof(sqlite3_vtab_cursor* c) {
    auto* cur = reinterpret_cast<SnapCursor*>(c);
    return cur->i >= reinterpret_cast<SnapTab*>(c->pVtab)->meta->rows.size();
}
int snapColumn(sqlite3_vtab_cursor* c, sqlite3_context* ctx, int col) {
    auto* cur = reinterpret_cast<SnapCursor*>(c);
    resultValue(ctx, reinterpret_cast<SnapTab*>(c->pVtab)->meta->rows[cur->i].value(col));
    return SQLITE_OK;
}
int snapRowid(sqlite3_vtab_cursor* c, sqlite3_int64* out) {
    *out = reinterpret_cast<SnapCursor*>(c)->i;
    return SQLITE_OK;
}

const sqlite3_module snapshotModule = {
    0,          nullptr,  snapConnect, snapBestIndex, snapDisconnect, snapDisconnect, snapOpen, snapClose,
    snapFilter, snapNext, snapEof,     snapColumn,    snapRowid,      nullptr,        nullptr,  nullptr,
    nullptr,    nullptr,  nullptr,     nullptr,       nullptr,        nullptr,        nullptr,  nullptr,
};

QString collationOf(sqlite3* db, const FieldInfo& f) {
    if (f.table.isEmpty() || f.column.isEmpty())
        return {};
    const char* coll = nullptr;
    if (sqlite3_table_column_metadata(db, nullptr, f.table.toUtf8().constData(),
                                      f.column.toUtf8().constData(), nullptr, &coll, nullptr, nullptr,
                                      nullptr) != SQLITE_OK ||
        !coll)
        return {};
    const QString c = QString::fromUtf8(coll);
    return c.compare(u"BINARY", Qt::CaseInsensitive) == 0 ? QString() : c;
}

QList<FieldInfo> fieldsOf(const Stmt& st) {
    QList<FieldInfo> fields;
    for (int c = 0; c < st.columnCount(); ++c) {
        FieldInfo f = fieldInfoFromDeclType(st.columnDeclType(c));
        f.name = st.columnName(c);
        f.table = st.columnTable(c);
        f.column = st.columnOrigin(c);
        fields << f;
    }
    return fields;
}

// The declared columns and collations of the snapshot's rows, for its virtual table.
QByteArray snapshotSchema(sqlite3* db, const QList<FieldInfo>& fields, const Stmt& st) {
    QStringList cols;
    QSet<QString> seen;
    for (int c = 0; c < fields.size(); ++c) {
        QString name = fields[c].name.isEmpty() ? QStringLiteral("column%1").arg(c + 1) : fields[c].name;
        for (int n = 2; seen.contains(name.toLower()); ++n)
            name = fields[c].name + QStringLiteral("_%1").arg(n);
        seen.insert(name.toLower());
        QString col = quoteId(name);
        const QString decl = st.columnDeclType(c);
        if (!decl.isEmpty() && !decl.contains(u'"'))
            col += u' ' + decl;
        const QString coll = collationOf(db, fields[c]);
        if (!coll.isEmpty())
            col += QStringLiteral(" COLLATE ") + quoteId(coll);
        cols << col;
    }
    return QStringLiteral("CREATE TABLE x(%1)").arg(cols.join(u", ")).toUtf8();
}

bool isTable(Database& database, const QString& name, QString* canonical = nullptr) {
    const Value v = database.scalar(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                                   "name = ? COLLATE NOCASE"),
                                    {name});
    if (canonical && !isNull(v))
        *canonical = v.toString();
    return !isNull(v);
}

std::unique_ptr<Recordset::Impl> openSnapshot(Database& database, const QString& sql, const Params& params,
                                              RecordsetType type) {
    auto m = std::make_shared<Meta>();
    m->database = &database;
    m->db = database.handle();
    m->type = type;
    Stmt st(m->db, sql);
    st.bind(params);
    m->fields = fieldsOf(st);
    m->writable = QList<bool>(m->fields.size(), false);
    const int n = int(m->fields.size());
    while (st.step()) {
        Row r;
        readColumns(st, n, r);
        m->rows << r;
    }
    m->vtabSchema = snapshotSchema(m->db, m->fields, st);
    auto d = std::make_unique<Recordset::Impl>();
    d->m = std::move(m);
    d->openAtFirst();
    return d;
}

void readKeys(sqlite3* db, const QString& sql, const Params& params, Keys& keys) {
    Stmt st(db, sql);
    st.bind(params);
    while (st.step())
        keys.ids.push_back(sqlite3_column_int64(st.get(), 0));
    keys.deleted.assign(keys.ids.size(), 0);
    keys.live = keys.size();
}

std::unique_ptr<Recordset::Impl> openKeyed(Database& database, const ParsedSource& p, const Params& params,
                                           RecordsetType type) {
    auto m = std::make_shared<Meta>();
    m->database = &database;
    m->db = database.handle();
    m->type = type;
    m->keyed = true;
    m->updatable = !sqlite3_db_readonly(m->db, "main");
    m->table = p.table;
    m->selectList = p.selectList;
    m->fromClause = p.fromClause;
    m->rowStmt = std::make_unique<Stmt>(
        m->db, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(p.selectList, p.fromClause));
    m->fields = fieldsOf(*m->rowStmt);
    m->plainColumns = true;
    for (const FieldInfo& f : m->fields) {
        m->writable << (!f.column.isEmpty() && f.table.compare(p.table, Qt::CaseInsensitive) == 0);
        if (f.column.isEmpty() || f.name.compare(f.column, Qt::CaseInsensitive) != 0)
            m->plainColumns = false;
    }
    const QList<Row> pk = database.query(
        QStringLiteral("SELECT name, upper(type) FROM pragma_table_info(?) WHERE pk > 0"), {p.table});
    if (pk.size() == 1 && pk[0][1].toString() == u"INTEGER")
        m->rowidAlias = pk[0][0].toString();

    // Only the rowids are taken now. The statement keeps the source's FROM,
    // WHERE and ORDER BY; when these could name a column alias or position of
    // the select list, the list is kept too.
    QString keysetSql;
    if (p.bareName)
        keysetSql = QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(p.fromClause);
    else if (m->plainColumns && !p.numericOrderBy)
        keysetSql = QStringLiteral("SELECT rowid ") + p.fromOn;
    else
        keysetSql = QStringLiteral("SELECT rowid, %1 %2").arg(p.selectList, p.fromOn);
    auto keys = std::make_shared<Keys>();
    readKeys(m->db, keysetSql, params, *keys);

    auto d = std::make_unique<Recordset::Impl>();
    d->m = std::move(m);
    d->k = std::move(keys);
    d->openAtFirst();
    return d;
}

} // namespace

std::unique_ptr<Recordset> Database::openRecordset(const QString& source, RecordsetType type,
                                                   const Params& params) {
    const ParsedSource p = parseSource(source);
    std::unique_ptr<Recordset::Impl> impl;
    if (type == RecordsetType::Table) {
        QString table;
        if (!p.bareName)
            throw DbError(
                ErrNotSupported,
                QStringLiteral("Un recordset de tabla se abre con el nombre de una tabla: %1").arg(source));
        if (!isTable(*this, p.table, &table))
            throw DbError(ErrItemNotFound, QStringLiteral("No se encuentra la tabla '%1'.").arg(p.table));
        ParsedSource t = p;
        t.table = table;
        t.fromClause = quoteId(table);
        impl = openKeyed(*this, t, params, type);
    } else if (type == RecordsetType::Dynaset && p.simple && isTable(*this, p.table)) {
        try {
            impl = openKeyed(*this, p, params, type);
        } catch (const DbError& e) {
            // A table without rowids cannot have a keyset; anything really
            // wrong with the source fails again below with its own message.
            if (e.number() != ErrSyntax)
                throw;
        }
    }
    if (!impl) {
        // Snapshots, and dynasets over views, joins or groupings, which cannot be updated.
        impl = openSnapshot(*this, p.bareName ? QStringLiteral("SELECT * FROM ") + p.fromClause : source,
                            params, type);
    }
    return std::unique_ptr<Recordset>(new Recordset(std::move(impl)));
}

// ---------------------------------------------------------------------------

namespace {
Recordset::Impl& checked(const std::unique_ptr<Recordset::Impl>& d) {
    if (!d)
        throw DbError(ErrGeneric, QStringLiteral("El recordset está cerrado."));
    return *d;
}
} // namespace

Recordset::Recordset(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Recordset::~Recordset() = default;

RecordsetType Recordset::type() const {
    auto& I = checked(d);
    return I.m->type;
}

bool Recordset::updatable() const {
    auto& I = checked(d);
    return I.m->updatable;
}

Database& Recordset::database() const {
    auto& I = checked(d);
    return *I.m->database;
}

bool Recordset::isEOF() const {
    auto& I = checked(d);
    return I.eof;
}

bool Recordset::isBOF() const {
    auto& I = checked(d);
    return I.bof;
}

void Recordset::moveFirst() {
    auto& I = checked(d);
    I.dropEdit();
    if (I.live() == 0 || !I.settle(0, 1)) {
        I.hasRow = false;
        I.pos = -1;
        I.bof = I.eof = true;
        noCurrentRecord();
    }
    I.bof = I.eof = false;
}

void Recordset::moveLast() {
    auto& I = checked(d);
    I.dropEdit();
    if (I.live() == 0 || !I.settle(I.size() - 1, -1)) {
        I.hasRow = false;
        I.pos = -1;
        I.bof = I.eof = true;
        noCurrentRecord();
    }
    I.bof = I.eof = false;
}

void Recordset::moveNext() {
    auto& I = checked(d);
    if (I.eof)
        noCurrentRecord();
    I.dropEdit();
    if (I.settle(I.bof ? 0 : I.pos + 1, 1)) {
        I.bof = false;
        return;
    }
    I.hasRow = false;
    I.pos = I.size();
    I.eof = true;
    I.bof = I.live() == 0;
}

void Recordset::movePrevious() {
    auto& I = checked(d);
    if (I.bof)
        noCurrentRecord();
    I.dropEdit();
    if (I.settle(I.eof ? I.size() - 1 : I.pos - 1, -1)) {
        I.eof = false;
        return;
    }
    I.hasRow = false;
    I.pos = -1;
    I.bof = true;
    I.eof = I.live() == 0;
}

qint64 Recordset::recordCount() const {
    auto& I = checked(d);
    return I.live();
}

qint64 Recordset::absolutePosition() const {
    auto& I = checked(d);
    if (!I.current())
        return -1;
    if (!I.k || I.k->live == I.k->size())
        return I.pos;
    return I.pos - std::count(I.k->deleted.begin(), I.k->deleted.begin() + I.pos, char(1));
}

QByteArray Recordset::bookmark() const {
    auto& I = checked(d);
    I.requireCurrent();
    return encodeBookmark(I.k ? I.k->ids[I.pos] : I.pos, I.pos);
}

void Recordset::setBookmark(const QByteArray& bookmark) {
    auto& I = checked(d);
    const auto b = decodeBookmark(bookmark);
    if (!b)
        noCurrentRecord();
    qsizetype i = b->key;
    if (I.k) {
        const bool atHint = b->hint >= 0 && b->hint < I.size() && I.k->ids[b->hint] == b->key;
        i = atHint && !I.k->deleted[b->hint] ? b->hint : I.k->find(b->key);
    }
    if (i < 0 || i >= I.size())
        noCurrentRecord();
    I.dropEdit();
    I.goTo(i);
}

QByteArray Recordset::lastModified() const {
    auto& I = checked(d);
    return I.lastModified;
}

std::unique_ptr<Recordset> Recordset::clone() const {
    auto& I = checked(d);
    auto c = std::make_unique<Impl>();
    c->m = I.m;
    c->k = I.k;
    c->indexName = I.indexName;
    c->indexColumns = I.indexColumns;
    c->openAtFirst();
    return std::unique_ptr<Recordset>(new Recordset(std::move(c)));
}

// ----- finding

qsizetype Recordset::Impl::findKeyed(const QString& criterion, const Params& params, qsizetype start) {
    // SQLite finds the matching rows (with the table's indexes); the keyset
    // says which of them comes first in this recordset's order.
    const QString sql =
        m->plainColumns
            ? QStringLiteral("SELECT rowid FROM %1 WHERE (%2)").arg(m->fromClause, criterion)
            : QStringLiteral("SELECT orb_rowid_ FROM (SELECT rowid AS orb_rowid_, %1 FROM %2) WHERE (%3)")
                  .arg(m->selectList, m->fromClause, criterion);
    Stmt st(m->db, sql);
    st.bind(params);
    qsizetype best = -1;
    while (st.step()) {
        const qsizetype i = k->find(sqlite3_column_int64(st.get(), 0));
        if (i >= start && (best < 0 || i < best)) {
            best = i;
            if (best == start)
                break;
        }
    }
    return best;
}

qsizetype Recordset::Impl::findSnapshot(const QString& criterion, const Params& params, qsizetype start) {
    // The rows already read are searched by SQLite itself, through a virtual
    // table that lives only for this search, so the criterion means exactly
    // what it means in a query, collations included.
    static std::atomic<int> serial{0};
    const QByteArray name = "orb_snapshot_" + QByteArray::number(++serial);
    int rc = sqlite3_create_module_v2(m->db, name.constData(), &snapshotModule, m.get(), nullptr);
    if (rc != SQLITE_OK)
        throwError(m->db, rc);
    struct Unregister {
        sqlite3* db;
        const QByteArray& name;
        ~Unregister() { sqlite3_create_module_v2(db, name.constData(), nullptr, nullptr, nullptr); }
    } unregister{m->db, name};
    Stmt st(m->db, QStringLiteral("SELECT rowid FROM %1 WHERE (%2) AND rowid >= ? LIMIT 1")
                       .arg(QString::fromLatin1(name), criterion));
    if (sqlite3_bind_parameter_count(st.get()) != params.size() + 1)
        throw DbError(ErrSyntax, QStringLiteral("El criterio espera %1 parámetros y recibió %2")
                                     .arg(sqlite3_bind_parameter_count(st.get()) - 1)
                                     .arg(params.size()));
    for (int i = 0; i < params.size(); ++i)
        st.bind(i + 1, toStorage(params[i], FieldType::Unknown));
    st.bind(int(params.size()) + 1, qint64(start));
    return st.step() ? qsizetype(sqlite3_column_int64(st.get(), 0)) : -1;
}

bool Recordset::Impl::find(const QString& criterion, const Params& params, qsizetype start) {
    const qsizetype i = k ? findKeyed(criterion, params, start) : findSnapshot(criterion, params, start);
    noMatch = i < 0;
    if (noMatch)
        return false;
    dropEdit();
    goTo(i);
    return true;
}

bool Recordset::findFirst(const QString& criterion, const Params& params) {
    auto& I = checked(d);
    return I.find(criterion, params, 0);
}

bool Recordset::findNext(const QString& criterion, const Params& params) {
    auto& I = checked(d);
    if (I.eof)
        return I.noMatch = true, false;
    return I.find(criterion, params, I.bof ? 0 : I.pos + 1);
}

bool Recordset::noMatch() const {
    auto& I = checked(d);
    return I.noMatch;
}

// ----- table recordsets

void Recordset::setIndex(const QString& indexName) {
    auto& I = checked(d);
    if (I.m->type != RecordsetType::Table)
        throw DbError(ErrNotSupported,
                      QStringLiteral("La operación no es válida para este tipo de recordset (Index)."));
    Database& database = *I.m->database;
    QList<Row> cols;
    const Value found =
        database.scalar(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                                       "tbl_name = ? COLLATE NOCASE AND name = ? COLLATE NOCASE"),
                        {I.m->table, indexName});
    if (!isNull(found)) {
        cols = database.query(QStringLiteral("SELECT x.name, x.coll, x.desc, upper(t.type) FROM "
                                             "pragma_index_xinfo(?) x LEFT JOIN pragma_table_info(?) t "
                                             "ON t.name = x.name WHERE x.key ORDER BY x.seqno"),
                              {found, I.m->table});
    } else if (indexName.compare(u"PrimaryKey", Qt::CaseInsensitive) == 0) {
        cols = database.query(QStringLiteral("SELECT name, '', 0, upper(type) FROM pragma_table_info(?) "
                                             "WHERE pk > 0 ORDER BY pk"),
                              {I.m->table});
    }
    if (cols.isEmpty())
        throw DbError(ErrItemNotFound,
                      QStringLiteral("'%1' no es un índice de la tabla '%2'.").arg(indexName, I.m->table));
    QList<IndexColumn> columns;
    QStringList order;
    for (const Row& c : cols) {
        IndexColumn ic;
        ic.name = isNull(c[0]) ? QStringLiteral("rowid") : c[0].toString(); // an expression index has no name
        ic.collation = c[1].toString();
        ic.desc = c[2].toLongLong() != 0;
        const FieldType t = fieldInfoFromDeclType(c[3].toString()).type;
        ic.text = t == FieldType::Text || t == FieldType::Memo || c[3].toString().contains(u"CHAR") ||
                  c[3].toString().contains(u"TEXT");
        order << orderTerm(ic);
        columns << ic;
    }
    auto keys = std::make_shared<Keys>();
    readKeys(
        I.m->db,
        QStringLiteral("SELECT rowid FROM %1 ORDER BY %2, rowid").arg(I.m->fromClause, order.join(u", ")), {},
        *keys);
    I.k = std::move(keys);
    I.indexName = indexName;
    I.indexColumns = columns;
    I.dropEdit();
    I.openAtFirst();
}

bool Recordset::seek(const QString& comparison, const Params& keys) {
    auto& I = checked(d);
    if (I.m->type != RecordsetType::Table || I.indexColumns.isEmpty())
        throw DbError(
            ErrNotSupported,
            QStringLiteral("La operación no es válida sin un índice activo en un recordset de tabla."));
    if (comparison.trimmed() != u"=")
        throw DbError(ErrNotSupported,
                      QStringLiteral("Comparación de búsqueda no admitida: %1").arg(comparison));
    if (keys.isEmpty() || keys.size() > I.indexColumns.size())
        throw DbError(ErrSyntax, QStringLiteral("El índice '%1' tiene %2 campos y se dieron %3 valores.")
                                     .arg(I.indexName)
                                     .arg(I.indexColumns.size())
                                     .arg(keys.size()));
    // Text keys compare as the engine compares text: without regard to case.
    QStringList where;
    QStringList order;
    for (qsizetype c = 0; c < keys.size(); ++c) {
        const IndexColumn& ic = I.indexColumns[c];
        where << quoteId(ic.name) + QStringLiteral(" = ?") +
                     (ic.text ? QStringLiteral(" COLLATE es") : QString());
    }
    for (const IndexColumn& ic : I.indexColumns)
        order << orderTerm(ic);
    Stmt st(I.m->db, QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY %3, rowid LIMIT 1")
                         .arg(I.m->fromClause, where.join(QStringLiteral(" AND ")), order.join(u", ")));
    st.bind(keys);
    I.noMatch = !st.step();
    if (I.noMatch)
        return false;
    const qint64 rowid = sqlite3_column_int64(st.get(), 0);
    qsizetype i = I.k->find(rowid);
    if (i < 0) { // added to the table since the index was chosen
        I.k->append(rowid);
        i = I.k->size() - 1;
    }
    I.dropEdit();
    I.goTo(i);
    return true;
}

// ----- editing

const Row& Recordset::Impl::loadDefaults() {
    if (!m->defaults) {
        Row defaults(m->fields.size());
        const QList<Row> info =
            m->database->query(QStringLiteral("SELECT name, dflt_value FROM pragma_table_info(?) WHERE "
                                              "dflt_value IS NOT NULL"),
                               {m->table});
        for (const Row& col : info) {
            for (int f = 0; f < m->fields.size(); ++f) {
                if (!m->writable[f] || m->fields[f].column.compare(col[0].toString(), Qt::CaseInsensitive))
                    continue;
                try {
                    Stmt st(m->db, QStringLiteral("SELECT ") + col[1].toString());
                    if (st.step())
                        defaults[f] = st.raw(0);
                } catch (const DbError&) {
                    // A default the engine evaluates only when inserting: shown as null.
                }
            }
        }
        m->defaults = defaults;
    }
    return *m->defaults;
}

void Recordset::addNew() {
    auto& I = checked(d);
    if (!I.m->updatable)
        readOnly();
    I.buffer = I.loadDefaults();
    I.dirty = QList<bool>(I.m->fields.size(), false);
    I.mode = EditMode::Add;
}

void Recordset::edit() {
    auto& I = checked(d);
    if (!I.m->updatable)
        readOnly();
    I.requireCurrent();
    // Start from the row as it is now, not as it was when it became current.
    Row fresh;
    if (!I.m->readRow(I.k->ids[I.pos], fresh)) {
        I.k->markDeleted(I.pos);
        I.hasRow = false;
        noCurrentRecord();
    }
    I.row = fresh;
    I.buffer = fresh;
    I.dirty = QList<bool>(I.m->fields.size(), false);
    I.editRowid = I.k->ids[I.pos];
    I.mode = EditMode::InProgress;
}

void Recordset::update() {
    auto& I = checked(d);
    if (I.mode == EditMode::None)
        throw DbError(ErrUpdateWithoutEdit,
                      QStringLiteral("Actualizar o CancelarActualizar sin AgregarNuevo o "
                                     "Modificar."));
    Meta& m = *I.m;
    QStringList columns;
    Params values;
    qint64 newRowid = I.editRowid;
    for (int f = 0; f < m.fields.size(); ++f) {
        if (!I.dirty[f])
            continue;
        columns << quoteId(m.fields[f].column);
        values << I.buffer[f];
        if (!m.rowidAlias.isEmpty() && m.fields[f].column.compare(m.rowidAlias, Qt::CaseInsensitive) == 0 &&
            !isNull(I.buffer[f]))
            newRowid = I.buffer[f].toLongLong();
    }
    if (I.mode == EditMode::Add) {
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteId(m.table));
        } else {
            QStringList marks(columns.size(), QStringLiteral("?"));
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoteId(m.table), columns.join(u", "), marks.join(u", "));
        }
        Stmt st(m.db, sql);
        for (int i = 0; i < values.size(); ++i)
            st.bind(i + 1, values[i]);
        st.step();
        const qint64 rowid = sqlite3_last_insert_rowid(m.db);
        I.k->append(rowid);
        I.dropEdit();
        I.lastModified = encodeBookmark(rowid, I.k->size() - 1);
        I.goTo(I.k->size() - 1);
        return;
    }
    const qsizetype i = I.pos;
    if (!columns.isEmpty()) {
        QStringList sets;
        for (const QString& c : columns)
            sets << c + QStringLiteral(" = ?");
        Stmt st(m.db,
                QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(quoteId(m.table), sets.join(u", ")));
        for (int v = 0; v < values.size(); ++v)
            st.bind(v + 1, values[v]);
        st.bind(int(values.size()) + 1, I.editRowid);
        st.step();
        if (sqlite3_changes(m.db) == 0) {
            I.k->markDeleted(i);
            I.hasRow = false;
            I.dropEdit();
            noCurrentRecord();
        }
        if (newRowid != I.editRowid)
            I.k->changeRowid(i, newRowid);
    }
    I.dropEdit();
    I.lastModified = encodeBookmark(newRowid, i);
    I.goTo(i);
}

void Recordset::cancelUpdate() {
    auto& I = checked(d);
    if (I.mode == EditMode::None)
        throw DbError(ErrUpdateWithoutEdit,
                      QStringLiteral("Actualizar o CancelarActualizar sin AgregarNuevo o "
                                     "Modificar."));
    I.dropEdit();
}

EditMode Recordset::editMode() const {
    auto& I = checked(d);
    return I.mode;
}

void Recordset::deleteRecord() {
    auto& I = checked(d);
    if (!I.m->updatable)
        readOnly();
    I.dropEdit();
    I.requireCurrent();
    Stmt st(I.m->db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteId(I.m->table)));
    st.bind(1, I.k->ids[I.pos]);
    st.step();
    const bool gone = sqlite3_changes(I.m->db) == 0;
    I.k->markDeleted(I.pos);
    I.hasRow = false;
    if (gone)
        noCurrentRecord();
}

// ----- fields

int Recordset::fieldCount() const {
    auto& I = checked(d);
    return int(I.m->fields.size());
}

const FieldInfo& Recordset::field(int index) const {
    auto& I = checked(d);
    return I.fieldAt(index);
}

int Recordset::fieldIndex(const QString& name) const {
    auto& I = checked(d);
    return I.m->indexOf(name);
}

const FieldInfo& Recordset::field(const QString& name) const {
    auto& I = checked(d);
    return I.fieldAt(I.fieldByName(name));
}

Value Recordset::value(int index) const {
    auto& I = checked(d);
    const FieldInfo& f = I.fieldAt(index);
    if (I.mode != EditMode::None)
        return fromStorage(I.buffer[index], f.type);
    I.requireCurrent();
    return fromStorage(I.row[index], f.type);
}

Value Recordset::value(const QString& name) const {
    auto& I = checked(d);
    return value(I.fieldByName(name));
}

// The value as it will be stored, checked against the field's type and size.
QVariant Recordset::Impl::convert(int index, const Value& v) const {
    const FieldInfo& f = m->fields[index];
    if (isNull(v))
        return {};
    auto mismatch = [&]() -> QVariant {
        throw DbError(ErrConversion,
                      QStringLiteral("Error de conversión de tipo de datos en el campo '%1': %2")
                          .arg(f.name, v.toString()));
    };
    switch (f.type) {
    case FieldType::Text: {
        const QString s = v.toString();
        if (f.size > 0 && codePoints(s) > f.size)
            throw DbError(
                ErrFieldTooSmall,
                QStringLiteral("El campo '%1' es demasiado pequeño para aceptar la cantidad de datos "
                               "que intentó agregar (%2 caracteres como máximo).")
                    .arg(f.name)
                    .arg(f.size));
        return s;
    }
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::Currency:
    case FieldType::Double: {
        bool ok = true;
        double x = 0;
        if (v.typeId() == QMetaType::QString)
            x = QLocale::c().toDouble(v.toString().trimmed(), &ok);
        else if (v.canConvert<double>())
            x = v.toDouble(&ok);
        else
            ok = false;
        if (!ok || !std::isfinite(x))
            return mismatch();
        if (f.type == FieldType::Integer || f.type == FieldType::Long)
            return qint64(std::llround(x));
        return x;
    }
    case FieldType::Date: {
        if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) {
            const QVariant s = toStorage(v, f.type);
            return isNull(fromStorage(s, f.type)) ? mismatch() : s;
        }
        const Value parsed = fromStorage(v.toString().trimmed(), f.type);
        return isNull(parsed) ? mismatch() : toStorage(parsed, f.type);
    }
    case FieldType::Boolean:
        return v.toBool() ? 1 : 0;
    case FieldType::Memo:
        return v.toString();
    case FieldType::Unknown:
        break;
    }
    return toStorage(v, f.type);
}

void Recordset::setValue(int index, const Value& value) {
    auto& I = checked(d);
    const FieldInfo& f = I.fieldAt(index);
    if (I.mode == EditMode::None)
        throw DbError(
            ErrUpdateWithoutEdit,
            QStringLiteral("No se puede cambiar el campo '%1' sin AgregarNuevo o Modificar.").arg(f.name));
    if (!I.m->writable[index])
        throw DbError(ErrReadOnly, QStringLiteral("El campo '%1' no se puede actualizar.").arg(f.name));
    I.buffer[index] = I.convert(index, value);
    I.dirty[index] = true;
}

void Recordset::setValue(const QString& name, const Value& value) {
    auto& I = checked(d);
    setValue(I.fieldByName(name), value);
}

void Recordset::close() {
    d.reset();
}

} // namespace db
