#include "ServerEngine.h"

#include "Database.h"
#include "SqlSource.h"
#include "SqliteSupport.h"
#include "platform/pg/Connection.h"

#include <QRegularExpression>

namespace db::detail {

namespace {

// Where the server keeps what PRAGMA user_version keeps in the file.
const QString VersionTable = QStringLiteral("orbalia_version");

template <class F> auto guarded(const QString& sql, F&& f) {
    try {
        return f();
    } catch (const pg::PgError& e) {
        throw errorFrom(e, sql);
    }
}

Params toServer(const Params& params) {
    Params out;
    out.reserve(params.size());
    for (const Value& v : params)
        out << (isNull(v) ? QVariant() : v);
    return out;
}

} // namespace

DbError errorFrom(const pg::PgError& e, const QString& context) {
    const QString detalle =
        context.isEmpty() ? e.describe() : e.describe() + QStringLiteral(" [") + context + u']';
    switch (e.causa()) {
    case pg::Causa::LoginRechazado:
        return DbError(
            ErrLoginRefused,
            QStringLiteral("El servidor ha rechazado el usuario o la contraseña. (%1)").arg(e.text()));
    case pg::Causa::ServidorInaccesible:
        return DbError(
            ErrServerUnreachable,
            QStringLiteral("No se puede conectar con el servidor de la base de datos. (%1)").arg(e.text()));
    case pg::Causa::BaseInexistente:
        return DbError(ErrCannotOpen,
                       QStringLiteral("El servidor no tiene esa base de datos. (%1)").arg(e.text()));
    case pg::Causa::ConexionPerdida:
        return DbError(ErrConnectionLost,
                       QStringLiteral("Se ha perdido la conexión con el servidor. (%1)").arg(detalle));
    case pg::Causa::CodigoDuplicado:
        return DbError(ErrDuplicateKey,
                       QStringLiteral("Los cambios solicitados en la tabla no se realizaron correctamente "
                                      "porque crearían valores duplicados en el índice, clave principal o "
                                      "relación. (%1)")
                           .arg(detalle));
    case pg::Causa::EsperaBloqueo:
    case pg::Causa::Conflicto:
        return DbError(
            ErrLocked,
            QStringLiteral("Otro puesto está usando estos datos en este momento. (%1)").arg(detalle));
    case pg::Causa::DatoNoValido:
        if (e.sqlState() == u"23502")
            return DbError(ErrNullNotAllowed, detalle);
        if (e.sqlState() == u"22001")
            return DbError(ErrFieldTooSmall, detalle);
        if (e.sqlState().startsWith(u"23"))
            return DbError(ErrConstraint, detalle);
        return DbError(ErrConversion, detalle);
    case pg::Causa::Sintaxis:
        return DbError(ErrSyntax, detalle);
    case pg::Causa::Otra:
        break;
    }
    return DbError(ErrGeneric, detalle);
}

FieldInfo fieldInfoFromServerType(const QString& type) {
    const QString t = type.trimmed().toLower();
    static const QRegularExpression varchar(QStringLiteral("^character(?: varying)?\\((\\d+)\\)$"));
    FieldInfo f;
    if (const auto m = varchar.match(t); m.hasMatch()) {
        f.type = FieldType::Text;
        f.size = m.captured(1).toInt();
    } else if (t == u"text" || t == u"character varying") {
        f.type = FieldType::Memo;
    } else if (t == u"smallint") {
        f.type = FieldType::Integer;
        f.size = 2;
    } else if (t == u"integer" || t == u"bigint") {
        f.type = FieldType::Long;
        f.size = 4;
    } else if (t == u"numeric(19,4)") {
        f.type = FieldType::Currency;
        f.size = 8;
    } else if (t.startsWith(u"numeric") || t == u"double precision" || t == u"real") {
        f.type = FieldType::Double;
        f.size = 8;
    } else if (t.startsWith(u"timestamp") || t == u"date") {
        f.type = FieldType::Date;
        f.size = 8;
    } else if (t == u"boolean") {
        f.type = FieldType::Boolean;
        f.size = 1;
    }
    return f;
}

QString declTypeOf(const FieldInfo& f) {
    switch (f.type) {
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    case FieldType::Integer:
        return QStringLiteral("SMALLINT");
    case FieldType::Long:
        return QStringLiteral("INTEGER");
    case FieldType::Currency:
        return QStringLiteral("CURRENCY");
    case FieldType::Double:
        return QStringLiteral("DOUBLE");
    case FieldType::Date:
        return QStringLiteral("DATE");
    case FieldType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(f.size);
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    case FieldType::Unknown:
        break;
    }
    return {};
}

Value fromServer(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::Int:
        return QVariant(qint64(v.toInt()));
    case QMetaType::QDateTime: {
        const QDateTime t = v.toDateTime();
        if (t.time() == QTime(0, 0))
            return QVariant(t.date());
        return v;
    }
    default:
        return v;
    }
}

std::unique_ptr<ServerEngine> ServerEngine::connect(const ServerAddress& a) {
    pg::ConnectOptions o;
    o.host = a.host;
    o.port = unsigned(a.port);
    o.database = a.database;
    o.user = a.user;
    o.password = a.password;
    o.connectTimeoutSeconds = unsigned(a.connectTimeoutSeconds);
    return guarded(QString(), [&] {
        std::unique_ptr<pg::Connection> c = pg::Connection::connect(o);
        // A seat waits for a row another seat holds (a counter, a record being
        // stored) for a while, then says so, rather than hanging; a dead seat's
        // locks go with its connection.
        c->execute(QStringLiteral("SET lock_timeout = '10s'"));
        // The database's own LIKE and functions come before pg_catalog's.
        c->execute(QStringLiteral(
            "SELECT set_config('search_path', current_setting('search_path') || ', pg_catalog', false)"));
        return std::unique_ptr<ServerEngine>(new ServerEngine(std::move(c)));
    });
}

ServerEngine::ServerEngine(std::unique_ptr<pg::Connection> c) : c_(std::move(c)) {}
ServerEngine::~ServerEngine() {
    if (scratch_)
        sqlite3_close_v2(scratch_);
}

namespace {

// A statement that changes the schema makes what was learnt of it stale.
bool changesSchema(const QString& sql) {
    static const QRegularExpression ddl(QStringLiteral("^\\s*(CREATE|ALTER|DROP|COMMENT)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    return ddl.match(sql).hasMatch();
}

// Every server table has a rowid column that the file's tables keep hidden:
// a "*" shows it only when the statement names rowid itself.
bool hidesRowid(const QString& sql) {
    static const QRegularExpression rowid(QStringLiteral("\\browid\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return sql.contains(u'*') && !rowid.match(sql).hasMatch();
}

QList<int> visibleColumns(const pg::Result& r, bool hideRowid) {
    QList<int> keep;
    for (int c = 0; c < r.columns.size(); ++c)
        if (!hideRowid || r.columns[c].table.isEmpty() ||
            r.columns[c].tableColumn.compare(QLatin1String("rowid"), Qt::CaseInsensitive) != 0)
            keep << c;
    return keep;
}

} // namespace

int ServerEngine::execute(const QString& sql, const Params& params) {
    if (changesSchema(sql)) {
        columns_.clear();
        spellings_.reset();
    }
    return guarded(sql, [&] { return int(c_->execute(sql, toServer(params))); });
}

void ServerEngine::executeScript(const QString& sql) {
    columns_.clear();
    spellings_.reset();
    guarded(sql, [&] { c_->execute(sql); });
}

QList<Row> ServerEngine::query(const QString& sql, const Params& params) {
    return guarded(sql, [&] {
        const bool hide = hidesRowid(sql);
        const pg::Result r = c_->queryWithColumns(sql, toServer(params), hide);
        const QList<int> keep = visibleColumns(r, hide);
        QList<Row> rows;
        rows.reserve(r.rows.size());
        for (const Row& fila : r.rows) {
            Row out;
            out.reserve(keep.size());
            for (int c : keep)
                out << fromServer(fila[c]);
            rows << out;
        }
        return rows;
    });
}

ServerRows ServerEngine::read(const QString& sql, const Params& params, bool fieldsOnly) {
    const QString text = fieldsOnly ? QStringLiteral("SELECT * FROM (%1) AS consulta LIMIT 0").arg(sql) : sql;
    const pg::Result r = guarded(sql, [&] { return c_->queryWithColumns(text, toServer(params), true); });
    const QList<int> keep = visibleColumns(r, hidesRowid(sql));
    ServerRows out;
    for (int c : keep) {
        const pg::Column& col = r.columns[c];
        FieldInfo f;
        if (!col.table.isEmpty())
            for (const FieldInfo& t : columnsOf(col.table))
                if (t.column.compare(col.tableColumn, Qt::CaseInsensitive) == 0)
                    f = t;
        f.name = spelling(col.name);
        out.fields << f;
    }
    out.rows.reserve(r.rows.size());
    for (const Row& fila : r.rows) {
        Row row;
        row.reserve(keep.size());
        for (qsizetype i = 0; i < keep.size(); ++i)
            row << toStorage(fromServer(fila[keep[i]]), out.fields[i].type);
        out.rows << std::move(row);
    }
    return out;
}

QString ServerEngine::tableNamed(const QString& name) {
    return scalar(
               QStringLiteral("SELECT c.relname FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON "
                              "n.oid = c.relnamespace WHERE n.nspname = current_schema() AND c.relkind IN "
                              "('r', 'p') AND c.relname = lower(?)"),
               {name})
        .toString();
}

const QList<FieldInfo>& ServerEngine::columnsOf(const QString& table) {
    const QString key = table.toLower();
    auto it = columns_.find(key);
    if (it != columns_.end())
        return *it;
    QList<FieldInfo> fields;
    const QList<Row> cols =
        query(QStringLiteral(
                  "SELECT a.attname, format_type(a.atttypid, a.atttypmod) FROM pg_catalog.pg_attribute a "
                  "WHERE a.attrelid = to_regclass(?) AND a.attnum > 0 AND NOT a.attisdropped AND "
                  "a.attname <> 'rowid' ORDER BY a.attnum"),
              {key});
    for (const Row& c : cols) {
        FieldInfo f = fieldInfoFromServerType(c[1].toString());
        f.name = spelling(c[0].toString());
        f.column = f.name;
        f.table = key;
        fields << f;
    }
    return *columns_.insert(key, fields);
}

QString ServerEngine::selectListOf(const QString& table) {
    QStringList cols;
    for (const FieldInfo& f : columnsOf(table))
        cols << quoteId(f.column.toLower());
    return cols.isEmpty() ? QStringLiteral("*") : cols.join(u", ");
}

QString ServerEngine::spelling(const QString& name) {
    if (!spellings_) {
        // The schema keeps each column's own spelling as its comment.
        spellings_.emplace();
        const QList<Row> rows =
            query(QStringLiteral(
                      "SELECT DISTINCT a.attname, d.description FROM pg_catalog.pg_description d JOIN "
                      "pg_catalog.pg_attribute a ON a.attrelid = d.objoid AND a.attnum = d.objsubid JOIN "
                      "pg_catalog.pg_class c ON c.oid = a.attrelid JOIN pg_catalog.pg_namespace n ON n.oid "
                      "= c.relnamespace WHERE d.classoid = 'pg_catalog.pg_class'::regclass AND n.nspname = "
                      "current_schema() AND lower(d.description) = a.attname::text"),
                  {});
        for (const Row& r : rows)
            spellings_->insert(r[0].toString(), r[1].toString());
    }
    return spellings_->value(name, name);
}

sqlite3* ServerEngine::scratch() {
    if (!scratch_) {
        if (sqlite3_open_v2(":memory:", &scratch_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
            SQLITE_OK)
            throw DbError(ErrGeneric, QStringLiteral("No se puede preparar la búsqueda en memoria"));
        sqlite3_extended_result_codes(scratch_, 1);
        registerFunctions(scratch_);
    }
    return scratch_;
}

Value ServerEngine::scalar(const QString& sql, const Params& params) {
    return guarded(sql, [&] { return fromServer(c_->scalar(sql, toServer(params))); });
}

int ServerEngine::userVersion() {
    if (!tableExists(VersionTable))
        return 0;
    return scalar(QStringLiteral("SELECT max(version) FROM %1").arg(VersionTable), {}).toInt();
}

void ServerEngine::setUserVersion(int version) {
    execute(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (version integer NOT NULL)").arg(VersionTable), {});
    execute(QStringLiteral("DELETE FROM %1").arg(VersionTable), {});
    execute(QStringLiteral("INSERT INTO %1 (version) VALUES (?)").arg(VersionTable), {version});
}

void ServerEngine::begin() {
    guarded(QStringLiteral("BEGIN"), [&] { c_->begin(); });
}
void ServerEngine::commit() {
    guarded(QStringLiteral("COMMIT"), [&] { c_->commit(); });
}
void ServerEngine::rollback() {
    guarded(QStringLiteral("ROLLBACK"), [&] { c_->rollback(); });
}
bool ServerEngine::inTransaction() const {
    return c_->inTransaction();
}

qint64 ServerEngine::lastInsertRowId() {
    // The identity of the row this connection inserted last, whatever the table.
    return scalar(QStringLiteral("SELECT lastval()"), {}).toLongLong();
}

bool ServerEngine::tableExists(const QString& name) {
    return scalar(QStringLiteral("SELECT count(*) FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n "
                                 "ON n.oid = c.relnamespace WHERE n.nspname = current_schema() AND "
                                 "c.relkind IN ('r', 'v', 'p') AND lower(c.relname) = lower(?)"),
                  {name})
               .toInt() > 0;
}

// ---------------------------------------------------------------------------

void ServerStatement::bind(const Params& params) {
    params_ = params;
}

void ServerStatement::bind(int index, const Value& value) {
    if (index < 1)
        throw DbError(ErrItemNotFound, QStringLiteral("No existe el parámetro %1").arg(index));
    while (params_.size() < index)
        params_ << QVariant();
    params_[index - 1] = value;
}

void ServerStatement::describe() {
    if (described_)
        return;
    // The columns' names without running the statement: LIMIT 0 over it.
    const pg::Result r = guarded(sql_, [&] {
        return engine_.connection().queryWithColumns(
            QStringLiteral("SELECT * FROM (%1) AS consulta LIMIT 0").arg(sql_), toServer(params_), false);
    });
    for (const pg::Column& c : r.columns)
        names_ << c.name;
    described_ = true;
}

bool ServerStatement::step() {
    if (next_ < 0) {
        const pg::Result r = guarded(
            sql_, [&] { return engine_.connection().queryWithColumns(sql_, toServer(params_), false); });
        rows_ = r.rows;
        if (!described_) {
            for (const pg::Column& c : r.columns)
                names_ << c.name;
            described_ = true;
        }
        next_ = 0;
    } else {
        ++next_;
    }
    return next_ < rows_.size();
}

void ServerStatement::reset() {
    rows_.clear();
    next_ = -1;
}

int ServerStatement::execute(const Params& params) {
    reset();
    params_ = params;
    return engine_.execute(sql_, params_);
}

int ServerStatement::columnCount() {
    if (next_ < 0)
        describe();
    return int(names_.size());
}

QString ServerStatement::columnName(int column) {
    if (next_ < 0)
        describe();
    return names_.value(column);
}

Value ServerStatement::value(int column) const {
    if (next_ < 0 || next_ >= rows_.size())
        throw DbError(ErrNoCurrentRecord, QStringLiteral("No hay una fila activa."));
    if (column < 0 || column >= rows_[next_].size())
        throw DbError(ErrItemNotFound, QStringLiteral("No existe la columna %1 en el resultado").arg(column));
    return fromServer(rows_[next_][column]);
}

} // namespace db::detail
