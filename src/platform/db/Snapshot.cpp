// Snapshot recordsets: every row of the result read at open, read-only.
// findFirst runs its criterion through SQLite itself over those rows.

#include "RecordsetImpl.h"
#include "ServerEngine.h"

#include <QCoreApplication>
#include <QSet>
#include <algorithm>
#include <atomic>

namespace db {
namespace detail {

namespace {

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

// The declared columns and collations of the snapshot's rows, for its virtual
// table; the server compares every text column in the Spanish order.
QByteArray snapshotSchema(sqlite3* db, const QList<FieldInfo>& fields, const Stmt* st) {
    QStringList cols;
    QSet<QString> seen;
    for (int c = 0; c < fields.size(); ++c) {
        QString name = fields[c].name.isEmpty() ? QStringLiteral("column%1").arg(c + 1) : fields[c].name;
        for (int n = 2; seen.contains(name.toLower()); ++n)
            name = fields[c].name + QStringLiteral("_%1").arg(n);
        seen.insert(name.toLower());
        QString col = quoteId(name);
        const QString decl = st ? st->columnDeclType(c) : declTypeOf(fields[c]);
        if (!decl.isEmpty() && !decl.contains(u'"'))
            col += u' ' + decl;
        const bool text = fields[c].type == FieldType::Text || fields[c].type == FieldType::Memo;
        const QString coll = st ? collationOf(db, fields[c])
                                : (text && !fields[c].table.isEmpty() ? QStringLiteral("es") : QString());
        if (!coll.isEmpty())
            col += QStringLiteral(" COLLATE ") + quoteId(coll);
        cols << col;
    }
    return QStringLiteral("CREATE TABLE x(%1)").arg(cols.join(u", ")).toUtf8();
}

} // namespace

std::unique_ptr<Recordset::Impl> openSnapshot(Database& database, const QString& sql, const Params& params,
                                              RecordsetType type) {
    auto m = std::make_shared<Meta>();
    m->database = &database;
    m->type = type;
    if (database.onServer()) {
        ServerEngine& server = *database.server();
        ServerRows r = server.read(sql, params);
        m->server = &server;
        m->db = server.scratch();
        m->fields = std::move(r.fields);
        m->rows = std::move(r.rows);
        m->writable = QList<bool>(m->fields.size(), false);
        m->vtabSchema = snapshotSchema(m->db, m->fields, nullptr);
        auto d = std::make_unique<Recordset::Impl>();
        d->m = std::move(m);
        d->openAtFirst();
        return d;
    }
    m->db = database.handle();
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
    m->vtabSchema = snapshotSchema(m->db, m->fields, &st);
    auto d = std::make_unique<Recordset::Impl>();
    d->m = std::move(m);
    d->openAtFirst();
    return d;
}

} // namespace detail

using namespace detail;

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
        throw DbError(ErrSyntax, QCoreApplication::translate("db::Snapshot",
                                                             "El criterio espera %1 parámetros y recibió %2")
                                     .arg(sqlite3_bind_parameter_count(st.get()) - 1)
                                     .arg(params.size()));
    for (int i = 0; i < params.size(); ++i)
        st.bind(i + 1, toStorage(params[i], FieldType::Unknown));
    st.bind(int(params.size()) + 1, qint64(start));
    return st.step() ? qsizetype(sqlite3_column_int64(st.get(), 0)) : -1;
}

} // namespace db
