#include "ServerEngine.h"

#include "Database.h"
#include "platform/pg/Connection.h"

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
        return std::unique_ptr<ServerEngine>(new ServerEngine(std::move(c)));
    });
}

ServerEngine::ServerEngine(std::unique_ptr<pg::Connection> c) : c_(std::move(c)) {}
ServerEngine::~ServerEngine() = default;

int ServerEngine::execute(const QString& sql, const Params& params) {
    return guarded(sql, [&] { return int(c_->execute(sql, toServer(params))); });
}

void ServerEngine::executeScript(const QString& sql) {
    guarded(sql, [&] { c_->execute(sql); });
}

QList<Row> ServerEngine::query(const QString& sql, const Params& params) {
    return guarded(sql, [&] {
        QList<Row> rows = c_->query(sql, toServer(params));
        for (Row& r : rows)
            for (Value& v : r)
                v = fromServer(v);
        return rows;
    });
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
