#include "ServerEngine.h"

#include "Database.h"
#include "SqlSource.h"
#include "SqliteSupport.h"
#include "platform/pg/Connection.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <libpq-fe.h>

namespace db::detail {

namespace {

// Where the server keeps what PRAGMA user_version keeps in the file.
const QString VersionTable = QStringLiteral("orbalia_version");

// Runs f, its server failure turned into the file's DbError; the engine, when
// given, spells the column the failure names as the definitions do.
template <class F> auto guarded(const QString& sql, F&& f, const ServerEngine* engine = nullptr) {
    try {
        return f();
    } catch (const pg::PgError& e) {
        throw errorFrom(e, sql, engine);
    }
}

Params toServer(const Params& params) {
    Params out;
    out.reserve(params.size());
    for (const Value& v : params)
        out << (isNull(v) ? QVariant() : v);
    return out;
}

// One statement of a text, its '?' written as the server's $n.
struct Sentencia {
    QString sql;
    int valores = 0; // how many values it takes
};

// The statements of sql, each with its own placeholders numbered from $1, as
// the file binds them: a plain '?' takes the next value, '?N' the N-th.
QList<Sentencia> sentenciasDe(const QString& sql) {
    QList<Sentencia> out;
    Sentencia actual;
    qsizetype desde = 0;
    int siguiente = 0;
    const auto cerrar = [&](qsizetype hasta) {
        actual.sql += QStringView(sql).mid(desde, hasta - desde);
        if (!actual.sql.trimmed().isEmpty())
            out << actual;
        actual = {};
        siguiente = 0;
    };
    for (const Token& t : tokenize(sql)) {
        if (t.kind == Token::Punct && t.depth == 0 && t.text == u";") {
            cerrar(t.start);
            desde = t.end;
        } else if (t.kind == Token::Param && sql[t.start] == u'?') {
            actual.sql += QStringView(sql).mid(desde, t.start - desde);
            bool numero = false;
            const int n = QStringView(sql).mid(t.start + 1, t.end - t.start - 1).toInt(&numero);
            const int cual = numero && n > 0 ? n : ++siguiente;
            siguiente = qMax(siguiente, cual);
            actual.valores = qMax(actual.valores, cual);
            actual.sql += u'$' + QString::number(cual);
            desde = t.end;
        }
    }
    cerrar(sql.size());
    return out;
}

[[noreturn]] void faltanValores(int esperados, qsizetype recibidos) {
    throw DbError(ErrSyntax, QCoreApplication::translate("db::ServerEngine",
                                                         "La instrucción espera %1 parámetros y recibió %2")
                                 .arg(esperados)
                                 .arg(recibidos));
}

// One statement that takes exactly the values given, refused before it runs otherwise.
QString unaSentencia(const QString& sql, const Params& params) {
    const QList<Sentencia> s = sentenciasDe(sql);
    if (s.isEmpty())
        throw DbError(ErrSyntax, QCoreApplication::translate("db::ServerEngine", "Instrucción SQL vacía"));
    if (s.size() == 1 && s[0].valores != params.size())
        faltanValores(s[0].valores, params.size());
    // Several statements go as one text without values, as a script.
    return s.size() == 1 ? s[0].sql : sql;
}

// The column a server failure names, as its key or its not-null message spell it
// ("Key (cod)=(5) already exists.", "null value in column \"nombre\""), in the
// server's language whatever it is.
QString columnaDe(const pg::PgError& e) {
    static const QRegularExpression clave(QStringLiteral("\\((\\w+)(?:,[^()]*)?\\)=\\("));
    static const QRegularExpression nulo(QStringLiteral("columna? [\"«](\\w+)[\"»]"));
    auto m = (e.sqlState() == u"23502" ? nulo : clave).match(e.text());
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace

DbError errorFrom(const pg::PgError& e, const QString& context, const ServerEngine* engine) {
    const QString detalle =
        context.isEmpty() ? e.describe() : e.describe() + QStringLiteral(" [") + context + u']';
    // The column named the way the file's messages name it, so that a window
    // tells the same cause (the code already in use, the field left empty).
    QString columna = columnaDe(e);
    if (!columna.isEmpty() && engine)
        columna = engine->knownSpelling(columna);
    const QString campo =
        columna.isEmpty() ? detalle : QStringLiteral("El campo '%1' (%2)").arg(columna, detalle);
    switch (e.causa()) {
    case pg::Causa::LoginRechazado:
        return DbError(ErrLoginRefused,
                       QCoreApplication::translate(
                           "db::ServerEngine", "El servidor ha rechazado el usuario o la contraseña. (%1)")
                           .arg(e.text()));
    case pg::Causa::ServidorInaccesible:
        return DbError(
            ErrServerUnreachable,
            QCoreApplication::translate("db::ServerEngine",
                                        "No se puede conectar con el servidor de la base de datos. (%1)")
                .arg(e.text()));
    case pg::Causa::BaseInexistente:
        return DbError(ErrCannotOpen, QCoreApplication::translate(
                                          "db::ServerEngine", "El servidor no tiene esa base de datos. (%1)")
                                          .arg(e.text()));
    case pg::Causa::ConexionPerdida:
        return DbError(
            ErrConnectionLost,
            QCoreApplication::translate("db::ServerEngine", "Se ha perdido la conexión con el servidor. (%1)")
                .arg(detalle));
    case pg::Causa::CodigoDuplicado:
        return DbError(ErrDuplicateKey,
                       QCoreApplication::translate(
                           "db::ServerEngine",
                           "No se realizaron los cambios porque crearían valores duplicados en el "
                           "índice o la clave principal: %1")
                           .arg(campo));
    case pg::Causa::EsperaBloqueo:
    case pg::Causa::Conflicto:
        return DbError(ErrLocked,
                       QCoreApplication::translate(
                           "db::ServerEngine", "Otro puesto está usando estos datos en este momento. (%1)")
                           .arg(detalle));
    case pg::Causa::DatoNoValido:
        if (e.sqlState() == u"23502")
            return DbError(ErrNullNotAllowed,
                           QCoreApplication::translate("db::ServerEngine",
                                                       "El campo no puede contener un valor nulo: %1")
                               .arg(campo));
        if (e.sqlState() == u"22001")
            return DbError(ErrFieldTooSmall,
                           QCoreApplication::translate(
                               "db::ServerEngine", "El campo es demasiado pequeño para aceptar la cantidad "
                                                   "de datos que intentó agregar: %1")
                               .arg(detalle));
        if (e.sqlState().startsWith(u"23"))
            return DbError(ErrConstraint, QCoreApplication::translate(
                                              "db::ServerEngine", "El valor no cumple la regla del campo: %1")
                                              .arg(detalle));
        return DbError(ErrConversion, detalle);
    case pg::Causa::Sintaxis:
        return DbError(
            ErrSyntax,
            QCoreApplication::translate("db::ServerEngine", "Error en la instrucción SQL: %1").arg(detalle));
    case pg::Causa::SinPermiso:
        // The office rules' triggers refuse in the program's own words.
        return DbError(ErrPermissionDenied, e.text());
    case pg::Causa::Otra:
        break;
    }
    return DbError(
        ErrGeneric,
        QCoreApplication::translate("db::ServerEngine", "Error de la base de datos: %1").arg(detalle));
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
        prepareSession(*c);
        return std::unique_ptr<ServerEngine>(new ServerEngine(std::move(c)));
    });
}

void ServerEngine::prepareSession(pg::Connection& c) {
    // A seat waits for a row another seat holds (a counter, a record being
    // stored) for a while, then says so, rather than hanging; a dead seat's
    // locks go with its connection.
    c.execute(QStringLiteral("SET lock_timeout = '10s'"));
    // The database's own LIKE and functions come before pg_catalog's.
    c.execute(QStringLiteral(
        "SELECT set_config('search_path', current_setting('search_path') || ', pg_catalog', false)"));
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
    // Each statement takes the next values, as many as it has placeholders;
    // a wrong number is refused before any of them runs.
    const QList<Sentencia> sentencias = sentenciasDe(sql);
    if (sentencias.isEmpty())
        throw DbError(ErrSyntax, QCoreApplication::translate("db::ServerEngine", "Instrucción SQL vacía"));
    qsizetype usados = 0;
    for (const Sentencia& st : sentencias)
        usados += st.valores;
    if (usados != params.size())
        faltanValores(int(usados), params.size());
    if (sentencias.size() == 1)
        return guarded(
            sql, [&] { return int(c_->execute(sentencias[0].sql, toServer(params))); }, this);
    // Several statements without values go as one text, as a script.
    if (params.isEmpty())
        return guarded(
            sql, [&] { return int(c_->execute(sql, {})); }, this);
    int cambios = 0;
    qsizetype desde = 0;
    for (const Sentencia& st : sentencias) {
        const Params suyos = toServer(params.mid(desde, st.valores));
        desde += st.valores;
        cambios = guarded(
            sql, [&] { return int(c_->execute(st.sql, suyos)); }, this);
    }
    return cambios;
}

void ServerEngine::executeScript(const QString& sql) {
    columns_.clear();
    spellings_.reset();
    guarded(
        sql, [&] { c_->execute(sql); }, this);
}

QList<Row> ServerEngine::query(const QString& sql, const Params& params) {
    return guarded(sql, [&] {
        const bool hide = hidesRowid(sql);
        const pg::Result r = c_->queryWithColumns(unaSentencia(sql, params), toServer(params), hide);
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

ServerRows ServerEngine::read(const QString& sql, const Params& params, bool fieldsOnly, bool asServed) {
    const QString una = unaSentencia(sql, params);
    const QString text = fieldsOnly ? QStringLiteral("SELECT * FROM (%1) AS consulta LIMIT 0").arg(una) : una;
    const pg::Result r = guarded(
        sql, [&] { return c_->queryWithColumns(text, toServer(params), true); }, this);
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
    if (asServed && keep.size() == r.columns.size()) {
        out.rows = std::move(r.rows);
        return out;
    }
    out.rows.reserve(r.rows.size());
    for (const Row& fila : r.rows) {
        Row row;
        row.reserve(keep.size());
        for (qsizetype i = 0; i < keep.size(); ++i)
            row << (asServed ? fila[keep[i]] : toStorage(fromServer(fila[keep[i]]), out.fields[i].type));
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
            throw DbError(ErrGeneric, QCoreApplication::translate(
                                          "db::ServerEngine", "No se puede preparar la búsqueda en memoria"));
        sqlite3_extended_result_codes(scratch_, 1);
        registerFunctions(scratch_);
    }
    return scratch_;
}

Value ServerEngine::scalar(const QString& sql, const Params& params) {
    return guarded(
        sql, [&] { return fromServer(c_->scalar(unaSentencia(sql, params), toServer(params))); }, this);
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
// The server only warns of a commit or rollback with no transaction open; the
// file refuses it, and a Transaction must hear that its work was ended elsewhere.
void ServerEngine::commit() {
    if (!inTransaction())
        throw DbError(ErrSyntax, QCoreApplication::translate(
                                     "db::ServerEngine", "No hay ninguna transacción abierta que confirmar"));
    guarded(
        QStringLiteral("COMMIT"), [&] { c_->commit(); }, this);
}
void ServerEngine::rollback() {
    if (!inTransaction())
        throw DbError(ErrSyntax, QCoreApplication::translate(
                                     "db::ServerEngine", "No hay ninguna transacción abierta que deshacer"));
    guarded(
        QStringLiteral("ROLLBACK"), [&] { c_->rollback(); }, this);
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

QStringList ServerEngine::prepare(const QString& sql) {
    // A refused statement would abort the open transaction on the server:
    // the savepoint takes the refusal alone.
    const bool enTransaccion = inTransaction();
    if (enTransaccion)
        execute(QStringLiteral("SAVEPOINT orbalia_preparar"), {});
    pg_conn* conn = c_->handle();
    const QByteArray texto = sql.toUtf8();
    QStringList nombres;
    std::optional<pg::PgError> fallo;
    PGresult* r = PQprepare(conn, "", texto.constData(), 0, nullptr);
    if (PQresultStatus(r) == PGRES_COMMAND_OK) {
        PQclear(r);
        r = PQdescribePrepared(conn, "");
    }
    if (PQresultStatus(r) == PGRES_COMMAND_OK) {
        for (int c = 0, n = PQnfields(r); c < n; ++c)
            nombres << QString::fromUtf8(PQfname(r, c));
    } else {
        const char* estado = PQresultErrorField(r, PG_DIAG_SQLSTATE);
        const QString sqlState = estado ? QString::fromLatin1(estado) : QString();
        const QString texto = QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(conn)).trimmed();
        fallo.emplace(PQstatus(conn) == CONNECTION_OK ? pg::PgError::causaDe(sqlState)
                                                      : pg::Causa::ConexionPerdida,
                      sqlState, texto);
    }
    PQclear(r);
    if (enTransaccion && (!fallo || fallo->causa() != pg::Causa::ConexionPerdida))
        execute(fallo ? QStringLiteral(
                            "ROLLBACK TO SAVEPOINT orbalia_preparar; RELEASE SAVEPOINT orbalia_preparar")
                      : QStringLiteral("RELEASE SAVEPOINT orbalia_preparar"),
                {});
    if (fallo)
        throw errorFrom(*fallo, sql, this);
    return nombres;
}

// ---------------------------------------------------------------------------

ServerStatement::ServerStatement(ServerEngine& engine, QString sql) : engine_(engine) {
    const QList<Sentencia> s = sentenciasDe(sql);
    if (s.isEmpty())
        throw DbError(ErrSyntax, QCoreApplication::translate("db::ServerEngine", "Instrucción SQL vacía"));
    // As the file, one statement: what follows the first is not run.
    sql_ = s.first().sql;
    valores_ = s.first().valores;
    // Named as the definitions spell them, as the file's declared columns are.
    for (const QString& n : engine_.prepare(sql_))
        names_ << engine_.spelling(n);
}

void ServerStatement::bind(const Params& params) {
    if (params.size() != valores_)
        faltanValores(valores_, params.size());
    params_ = params;
}

void ServerStatement::bind(int index, const Value& value) {
    if (index < 1 || index > valores_)
        throw DbError(
            ErrItemNotFound,
            QCoreApplication::translate("db::ServerEngine", "No existe el parámetro %1").arg(index));
    while (params_.size() < valores_)
        params_ << QVariant();
    params_[index - 1] = value;
}

bool ServerStatement::step() {
    if (next_ < 0) {
        while (params_.size() < valores_)
            params_ << QVariant();
        const pg::Result r = guarded(
            sql_, [&] { return engine_.connection().queryWithColumns(sql_, toServer(params_), false); },
            &engine_);
        rows_ = r.rows;
        next_ = 0;
    } else {
        ++next_;
    }
    return next_ < rows_.size();
}

void ServerStatement::reset() {
    // As the file: a value bound for one run never reaches the next.
    rows_.clear();
    params_.clear();
    next_ = -1;
}

int ServerStatement::execute(const Params& params) {
    reset();
    bind(params);
    return guarded(
        sql_, [&] { return int(engine_.connection().execute(sql_, toServer(params_))); }, &engine_);
}

int ServerStatement::columnCount() {
    return int(names_.size());
}

QString ServerStatement::columnName(int column) {
    return names_.value(column);
}

Value ServerStatement::value(int column) const {
    // An unknown column first, as on the file, whatever the position.
    if (column < 0 || column >= names_.size())
        throw DbError(ErrItemNotFound, QCoreApplication::translate("db::ServerEngine",
                                                                   "No existe la columna %1 en el resultado")
                                           .arg(column));
    if (next_ < 0 || next_ >= rows_.size())
        throw DbError(ErrNoCurrentRecord,
                      QCoreApplication::translate("db::ServerEngine", "No hay una fila activa."));
    return fromServer(rows_[next_][column]);
}

} // namespace db::detail
