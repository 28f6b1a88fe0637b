// Dynaset and table recordsets: the rowids of the source taken at open, in
// its order; rows are read one at a time when they become current.

#include "RecordsetImpl.h"

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

void readKeys(sqlite3* db, const QString& sql, const Params& params, Keys& keys) {
    Stmt st(db, sql);
    st.bind(params);
    // The rowid is the last column: a numeric ORDER BY counts the select list from 1.
    const int rowid = sqlite3_column_count(st.get()) - 1;
    while (st.step())
        keys.ids.push_back(sqlite3_column_int64(st.get(), rowid));
    keys.deleted.assign(keys.ids.size(), 0);
    keys.live = keys.size();
}

std::unique_ptr<Recordset::Impl> openKeyed(Database& database, const ParsedSource& p, const Params& params,
                                           RecordsetType type) {
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
    readKeys(m->db, keysetSql, params, *keys);

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

} // namespace db
