// Dynaset and table recordsets: the rowids of the source taken at open, in
// its order; rows are read one at a time when they become current.

#include "RecordsetImpl.h"
#include "ServerEngine.h"

namespace db {
namespace detail {

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

void readKeys(Database& database, const QString& sql, const Params& params, Keys& keys) {
    if (database.onServer()) {
        for (const Row& r : database.server()->query(sql, params))
            keys.ids.push_back(r.last().toLongLong());
        keys.deleted.assign(keys.ids.size(), 0);
        keys.live = keys.size();
        return;
    }
    Stmt st(database.handle(), sql);
    st.bind(params);
    // The rowid is the last column: a numeric ORDER BY counts the select list from 1.
    const int rowid = sqlite3_column_count(st.get()) - 1;
    while (st.step())
        keys.ids.push_back(sqlite3_column_int64(st.get(), rowid));
    keys.deleted.assign(keys.ids.size(), 0);
    keys.live = keys.size();
}

bool Meta::readServerRow(qint64 rowid, Row& out) {
    const QList<Row> rows = database->query(rowSql, {rowid});
    if (rows.isEmpty())
        return false;
    const Row& r = rows.first();
    out.resize(fields.size());
    for (int c = 0; c < fields.size() && c < r.size(); ++c)
        out[c] = toStorage(r[c], fields[c].type);
    return true;
}

namespace {

// The server's version of openKeyed: the same keyset, rows read by rowid.
std::unique_ptr<Recordset::Impl> openServerKeyed(Database& database, const ParsedSource& p,
                                                 const Params& params, RecordsetType type) {
    ServerEngine& server = *database.server();
    auto m = std::make_shared<Meta>();
    m->database = &database;
    m->server = &server;
    m->db = server.scratch();
    m->type = type;
    m->updatable = true;
    m->table = p.table;
    // "*" on the server would show the rowid the file keeps hidden.
    const QString selectList = p.selectList.trimmed() == u"*" ? server.selectListOf(p.table) : p.selectList;
    m->selectList = selectList;
    m->fromClause = p.fromClause;
    m->rowSql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(selectList, p.fromClause);
    m->fields = server.read(m->rowSql, {QVariant()}).fields;
    m->plainColumns = true;
    for (const FieldInfo& f : m->fields) {
        m->writable << (!f.column.isEmpty() && f.table.compare(p.table, Qt::CaseInsensitive) == 0);
        if (f.column.isEmpty() || f.name.compare(f.column, Qt::CaseInsensitive) != 0)
            m->plainColumns = false;
    }
    // Where the file's key is the rowid itself, the server's rowid is a copy of that key.
    const Value alias = database.scalar(
        QStringLiteral(
            "SELECT a.attname FROM pg_catalog.pg_attribute a WHERE a.attrelid = to_regclass(?) AND "
            "a.attgenerated = 's' AND a.attname = 'rowid'"),
        {p.table.toLower()});
    if (!isNull(alias)) {
        const Value key = database.scalar(
            QStringLiteral("SELECT a.attname FROM pg_catalog.pg_index i JOIN pg_catalog.pg_attribute a ON "
                           "a.attrelid = i.indrelid AND a.attnum = ANY(i.indkey) WHERE i.indrelid = "
                           "to_regclass(?) AND i.indisprimary"),
            {p.table.toLower()});
        if (!isNull(key))
            m->rowidAlias = server.spelling(key.toString());
    }
    QString keysetSql;
    if (p.bareName)
        keysetSql = QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(p.fromClause);
    else if (m->plainColumns && !p.numericOrderBy)
        keysetSql = QStringLiteral("SELECT rowid ") + p.fromOn;
    else
        keysetSql = QStringLiteral("SELECT %1, rowid %2").arg(selectList, p.fromOn);
    auto keys = std::make_shared<Keys>();
    readKeys(database, keysetSql, params, *keys);

    auto d = std::make_unique<Recordset::Impl>();
    d->m = std::move(m);
    d->k = std::move(keys);
    d->openAtFirst();
    return d;
}

} // namespace

std::unique_ptr<Recordset::Impl> openKeyed(Database& database, const ParsedSource& p, const Params& params,
                                           RecordsetType type) {
    if (database.onServer())
        return openServerKeyed(database, p, params, type);
    auto m = std::make_shared<Meta>();
    m->database = &database;
    m->db = database.handle();
    m->type = type;
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
        keysetSql = QStringLiteral("SELECT %1, rowid %2").arg(p.selectList, p.fromOn);
    auto keys = std::make_shared<Keys>();
    readKeys(database, keysetSql, params, *keys);

    auto d = std::make_unique<Recordset::Impl>();
    d->m = std::move(m);
    d->k = std::move(keys);
    d->openAtFirst();
    return d;
}

} // namespace detail

using namespace detail;

qsizetype Recordset::Impl::findKeyed(const QString& criterion, const Params& params, qsizetype start) {
    // SQLite finds the matching rows (with the table's indexes); the keyset
    // says which of them comes first in this recordset's order.
    const QString sql =
        m->plainColumns
            ? QStringLiteral("SELECT rowid FROM %1 WHERE (%2)").arg(m->fromClause, criterion)
            : QStringLiteral(
                  "SELECT orb_rowid_ FROM (SELECT rowid AS orb_rowid_, %1 FROM %2) AS orb_filas WHERE (%3)")
                  .arg(m->selectList, m->fromClause, criterion);
    qsizetype best = -1;
    auto consider = [&](qint64 rowid) {
        const qsizetype i = k->find(rowid);
        if (i >= start && (best < 0 || i < best))
            best = i;
        return best == start;
    };
    if (m->server) {
        for (const Row& r : m->database->query(sql, params))
            if (consider(r[0].toLongLong()))
                break;
        return best;
    }
    Stmt st(m->db, sql);
    st.bind(params);
    while (st.step())
        if (consider(sqlite3_column_int64(st.get(), 0)))
            break;
    return best;
}

} // namespace db
