#include "Connection.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <libpq-fe.h>

#include <vector>

namespace pg {

namespace {

// Type oids of pg_type that come back as something other than text.
enum : Oid {
    BoolOid = 16,
    ByteaOid = 17,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    OidOid = 26,
    Float4Oid = 700,
    Float8Oid = 701,
    DateOid = 1082,
    TimestampOid = 1114,
    TimestampTzOid = 1184,
    NumericOid = 1700,
};

bool esNulo(const QVariant& v) {
    return !v.isValid() || v.isNull();
}

QDateTime leerMomento(QString s) {
    s.replace(u' ', u'T');
    static const QRegularExpression horasSolas(QStringLiteral("[+-]\\d\\d$"));
    if (horasSolas.match(s).hasMatch())
        s += QStringLiteral(":00");
    return QDateTime::fromString(s, Qt::ISODateWithMs);
}

QVariant leerValor(const char* texto, int largo, Oid tipo) {
    const QByteArray crudo = QByteArray::fromRawData(texto, largo);
    switch (tipo) {
    case BoolOid:
        return QVariant(crudo == "t");
    case Int2Oid:
    case Int4Oid:
        return QVariant(crudo.toInt());
    case Int8Oid:
    case OidOid:
        return QVariant(crudo.toLongLong());
    case Float4Oid:
    case Float8Oid:
    case NumericOid:
        return QVariant(crudo.toDouble());
    case DateOid:
        return QVariant(QDate::fromString(QString::fromLatin1(crudo), Qt::ISODate));
    case TimestampOid:
    case TimestampTzOid:
        return QVariant(leerMomento(QString::fromLatin1(crudo)));
    case ByteaOid:
        return QVariant(crudo.startsWith("\\x") ? QByteArray::fromHex(crudo.mid(2))
                                                : QByteArray(texto, largo));
    default:
        return QVariant(QString::fromUtf8(texto, largo));
    }
}

// A bound value as PostgreSQL reads it in text form; bytes go in binary.
QByteArray textoDe(const QVariant& v, bool* binario) {
    *binario = false;
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        return v.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(v.toDouble(), 'g', 17);
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
    case QMetaType::QByteArray:
        *binario = true;
        return v.toByteArray();
    default:
        return v.toString().toUtf8();
    }
}

// The same value as a field of COPY's text format.
void campoCopy(QByteArray& linea, const QVariant& v) {
    if (esNulo(v)) {
        linea += "\\N";
        return;
    }
    if (v.metaType().id() == QMetaType::QByteArray) {
        linea += "\\\\x";
        linea += v.toByteArray().toHex();
        return;
    }
    bool binario = false;
    const QByteArray t = textoDe(v, &binario);
    for (const char c : t) {
        switch (c) {
        case '\\':
            linea += "\\\\";
            break;
        case '\t':
            linea += "\\t";
            break;
        case '\n':
            linea += "\\n";
            break;
        case '\r':
            linea += "\\r";
            break;
        default:
            linea += c;
        }
    }
}

Causa causaDeConexion(const QString& texto) {
    static const char* const login[] = {
        "password authentication failed", "no pg_hba.conf entry", "authentication failed",
        "password is required",           "la autentificación",   "no hay una línea en pg_hba.conf"};
    static const char* const base[] = {"database \"", "no existe la base de datos"};
    for (const char* l : login)
        if (texto.contains(QLatin1String(l), Qt::CaseInsensitive))
            return Causa::LoginRechazado;
    for (const char* b : base)
        if (texto.contains(QLatin1String(b), Qt::CaseInsensitive) &&
            (texto.contains(QLatin1String("does not exist")) || texto.contains(QLatin1String("no existe"))))
            return Causa::BaseInexistente;
    return Causa::ServidorInaccesible;
}

} // namespace

Causa PgError::causaDe(const QString& s) {
    if (s == u"28P01" || s == u"28000")
        return Causa::LoginRechazado;
    if (s == u"3D000")
        return Causa::BaseInexistente;
    if (s == u"23505")
        return Causa::CodigoDuplicado;
    if (s == u"55P03")
        return Causa::EsperaBloqueo;
    if (s == u"40001" || s == u"40P01")
        return Causa::Conflicto;
    if (s.startsWith(u"22") || s == u"23502" || s == u"23514")
        return Causa::DatoNoValido;
    if (s == u"42501")
        return Causa::SinPermiso;
    if (s.startsWith(u"42"))
        return Causa::Sintaxis;
    if (s.startsWith(u"08") || s == u"57P01" || s == u"57P02" || s == u"57P03")
        return Causa::ConexionPerdida;
    return Causa::Otra;
}

std::unique_ptr<Connection> Connection::connect(const ConnectOptions& o) {
    const QByteArray host = o.host.toUtf8(), port = QByteArray::number(o.port), db = o.database.toUtf8(),
                     user = o.user.toUtf8(), password = o.password.toUtf8(),
                     timeout = QByteArray::number(o.connectTimeoutSeconds), app = o.applicationName.toUtf8(),
                     inactivo = QByteArray::number(o.keepaliveSeconds);
    std::vector<const char*> claves = {
        "host",           "port", "dbname", "user", "password", "connect_timeout", "application_name",
        "client_encoding"};
    std::vector<const char*> valores = {
        host.constData(),     port.constData(),    db.constData(),  user.constData(),
        password.constData(), timeout.constData(), app.constData(), "UTF8"};
    if (o.keepaliveSeconds > 0) {
        // Three unanswered probes ten seconds apart and the socket reports the connection gone.
        for (const char* c : {"keepalives", "keepalives_idle", "keepalives_interval", "keepalives_count"})
            claves.push_back(c);
        for (const char* v : {"1", inactivo.constData(), "10", "3"})
            valores.push_back(v);
    }
    claves.push_back(nullptr);
    valores.push_back(nullptr);
    pg_conn* conn = PQconnectdbParams(claves.data(), valores.data(), 0);
    if (!conn)
        throw PgError(Causa::Otra, {},
                      QCoreApplication::translate("pg::Connection", "sin memoria para la conexión"));
    if (PQstatus(conn) != CONNECTION_OK) {
        QString texto = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
        PQfinish(conn);
        if (!o.password.isEmpty())
            texto.replace(o.password, QStringLiteral("***"));
        throw PgError(causaDeConexion(texto), {}, texto);
    }
    // The server's notices ("table … does not exist, skipping") are not the user's business.
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    return std::unique_ptr<Connection>(new Connection(conn, o));
}

Connection::Connection(pg_conn* conn, const ConnectOptions& options) : conn_(conn), options_(options) {}

Connection::~Connection() {
    PQfinish(conn_);
}

QString Connection::scrub(const QString& text) const {
    QString t = text;
    if (!options_.password.isEmpty())
        t.replace(options_.password, QStringLiteral("***"));
    return t;
}

void Connection::fail(pg_result* res) const {
    const char* estado = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
    QString texto = QString::fromUtf8(res ? PQresultErrorMessage(res) : PQerrorMessage(conn_)).trimmed();
    if (texto.isEmpty())
        texto = QString::fromUtf8(PQerrorMessage(conn_)).trimmed();
    if (res)
        PQclear(res);
    const QString sqlState = estado ? QString::fromLatin1(estado) : QString();
    Causa causa = PgError::causaDe(sqlState);
    if (PQstatus(conn_) != CONNECTION_OK)
        causa = Causa::ConexionPerdida;
    throw PgError(causa, sqlState, scrub(texto));
}

QString Connection::numberPlaceholders(const QString& sql) {
    QString out;
    out.reserve(sql.size() + 8);
    int n = 0;
    const qsizetype len = sql.size();
    for (qsizetype i = 0; i < len; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            // A quoted text or name, its doubled quotes included.
            qsizetype j = i + 1;
            while (j < len) {
                if (sql[j] == c) {
                    if (j + 1 < len && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += QStringView(sql).mid(i, qMin(j, len - 1) - i + 1);
            i = j;
        } else if (c == u'-' && i + 1 < len && sql[i + 1] == u'-') {
            const qsizetype fin = sql.indexOf(u'\n', i);
            const qsizetype hasta = fin < 0 ? len : fin;
            out += QStringView(sql).mid(i, hasta - i);
            i = hasta - 1;
        } else if (c == u'/' && i + 1 < len && sql[i + 1] == u'*') {
            const qsizetype fin = sql.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype hasta = fin < 0 ? len : fin + 2;
            out += QStringView(sql).mid(i, hasta - i);
            i = hasta - 1;
        } else if (c == u'?') {
            out += u'$';
            out += QString::number(++n);
        } else {
            out += c;
        }
    }
    return out;
}

pg_result* Connection::run(const QString& sql, const Params& params) {
    const QByteArray texto = (params.isEmpty() ? sql : numberPlaceholders(sql)).toUtf8();
    pg_result* res = nullptr;
    if (params.isEmpty()) {
        // Without values several statements may go at once (schema scripts).
        res = PQexec(conn_, texto.constData());
    } else {
        std::vector<QByteArray> datos(size_t(params.size()));
        std::vector<const char*> valores(size_t(params.size()));
        std::vector<int> largos(size_t(params.size())), formatos(size_t(params.size()));
        // A fraction is sent as a numeric, so that "Dormitorios >= 2.5" compares
        // as typed instead of failing to read 2.5 as the column's integer; every
        // other value lets the server take the type its place in the statement asks for.
        std::vector<Oid> tipos(size_t(params.size()), 0);
        for (qsizetype i = 0; i < params.size(); ++i) {
            const size_t k = size_t(i);
            if (esNulo(params[i])) {
                valores[k] = nullptr;
                continue;
            }
            bool binario = false;
            datos[k] = textoDe(params[i], &binario);
            if (params[i].metaType().id() == QMetaType::Double ||
                params[i].metaType().id() == QMetaType::Float)
                tipos[k] = NumericOid;
            valores[k] = datos[k].constData();
            largos[k] = int(datos[k].size());
            formatos[k] = binario ? 1 : 0;
        }
        res = PQexecParams(conn_, texto.constData(), int(params.size()), tipos.data(), valores.data(),
                           largos.data(), formatos.data(), 0);
    }
    const ExecStatusType estado = res ? PQresultStatus(res) : PGRES_FATAL_ERROR;
    if (estado != PGRES_COMMAND_OK && estado != PGRES_TUPLES_OK)
        fail(res);
    return res;
}

quint64 Connection::execute(const QString& sql, const Params& params) {
    pg_result* res = run(sql, params);
    const quint64 filas = QByteArray(PQcmdTuples(res)).toULongLong();
    PQclear(res);
    return filas;
}

QList<Row> Connection::query(const QString& sql, const Params& params) {
    return queryWithColumns(sql, params, false).rows;
}

Result Connection::queryWithColumns(const QString& sql, const Params& params, bool origins) {
    Result out;
    pg_result* res = run(sql, params);
    const int columnas = PQnfields(res);
    struct Origen {
        Oid tabla;
        int columna;
    };
    std::vector<Origen> origenes;
    for (int c = 0; c < columnas; ++c) {
        Column col;
        col.name = QString::fromUtf8(PQfname(res, c));
        col.type = PQftype(res, c);
        out.columns << col;
        origenes.push_back({PQftable(res, c), PQftablecol(res, c)});
    }
    const int filas = PQntuples(res);
    out.rows.reserve(filas);
    for (int f = 0; f < filas; ++f) {
        Row r;
        r.reserve(columnas);
        for (int c = 0; c < columnas; ++c)
            r << (PQgetisnull(res, f, c)
                      ? QVariant()
                      : leerValor(PQgetvalue(res, f, c), PQgetlength(res, f, c), out.columns[c].type));
        out.rows << std::move(r);
    }
    PQclear(res);
    for (int c = 0; origins && c < columnas; ++c) {
        const Origen o = origenes[size_t(c)];
        if (o.tabla == 0 || o.columna <= 0)
            continue;
        out.columns[c].table = tableName(o.tabla);
        out.columns[c].tableColumn = columns_.value((quint64(o.tabla) << 16) | quint64(o.columna));
    }
    return out;
}

QString Connection::tableName(Oid table) {
    if (!tables_.contains(table)) {
        const QList<Row> filas = query(
            QStringLiteral("SELECT c.relname, a.attnum, a.attname FROM pg_class c "
                           "JOIN pg_attribute a ON a.attrelid = c.oid WHERE c.oid = ? AND a.attnum > 0"),
            {qlonglong(table)});
        tables_.insert(table, filas.isEmpty() ? QString() : filas.first().value(0).toString());
        for (const Row& f : filas)
            columns_.insert((quint64(table) << 16) | quint64(f.value(1).toInt()), f.value(2).toString());
    }
    return tables_.value(table);
}

QVariant Connection::scalar(const QString& sql, const Params& params) {
    const QList<Row> filas = query(sql, params);
    return filas.isEmpty() || filas.first().isEmpty() ? QVariant() : filas.first().first();
}

quint64 Connection::copyIn(const QString& table, const QStringList& columns, const QList<Row>& rows) {
    CopyIn copy(*this, table, columns);
    copy.put(rows);
    return copy.finish();
}

Connection::CopyIn::CopyIn(Connection& c, const QString& table, const QStringList& columns) : c_(c) {
    pg_result* res = PQexec(
        c_.conn_,
        (QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(QStringLiteral(", ")))).toUtf8());
    if (!res || PQresultStatus(res) != PGRES_COPY_IN) {
        open_ = false;
        c_.fail(res);
    }
    PQclear(res);
}

Connection::CopyIn::~CopyIn() {
    if (!open_)
        return;
    // Left half-way (an exception on the way): the server drops what it took.
    PQputCopyEnd(c_.conn_, "copia interrumpida");
    while (pg_result* r = PQgetResult(c_.conn_))
        PQclear(r);
}

void Connection::CopyIn::send(bool all) {
    constexpr qsizetype Tramo = 256 * 1024;
    if (broken_ || block_.isEmpty() || (!all && block_.size() < Tramo))
        return;
    if (PQputCopyData(c_.conn_, block_.constData(), int(block_.size())) != 1)
        broken_ = true;
    block_.clear();
}

void Connection::CopyIn::put(const QList<Row>& rows) {
    for (const Row& r : rows) {
        for (qsizetype c = 0; c < r.size(); ++c) {
            if (c > 0)
                block_ += '\t';
            campoCopy(block_, r[c]);
        }
        block_ += '\n';
        send(false);
    }
}

quint64 Connection::CopyIn::finish() {
    send(true);
    open_ = false;
    if (PQputCopyEnd(c_.conn_, broken_ ? "envío interrumpido" : nullptr) != 1)
        broken_ = true;
    quint64 copiadas = 0;
    pg_result* error = nullptr;
    while (pg_result* r = PQgetResult(c_.conn_)) {
        if (PQresultStatus(r) == PGRES_COMMAND_OK) {
            copiadas = QByteArray(PQcmdTuples(r)).toULongLong();
            PQclear(r);
        } else if (!error) {
            error = r;
        } else {
            PQclear(r);
        }
    }
    if (error || broken_)
        c_.fail(error);
    return copiadas;
}

quint64 Connection::copyOut(const QString& select, const std::function<void(QByteArrayView line)>& take) {
    pg_result* res = PQexec(conn_, QStringLiteral("COPY (%1) TO STDOUT").arg(select).toUtf8());
    if (!res || PQresultStatus(res) != PGRES_COPY_OUT)
        fail(res);
    PQclear(res);
    quint64 filas = 0;
    std::exception_ptr roto;
    char* linea = nullptr;
    int n = 0;
    while ((n = PQgetCopyData(conn_, &linea, 0)) > 0) {
        // After a failure the rest is still read, so the connection stays usable.
        if (!roto) {
            try {
                take(QByteArrayView(linea, n > 0 && linea[n - 1] == '\n' ? n - 1 : n));
                ++filas;
            } catch (...) {
                roto = std::current_exception();
            }
        }
        PQfreemem(linea);
    }
    pg_result* error = nullptr;
    while (pg_result* r = PQgetResult(conn_)) {
        if (PQresultStatus(r) != PGRES_COMMAND_OK && !error)
            error = r;
        else
            PQclear(r);
    }
    if (error || n == -2)
        fail(error);
    if (roto)
        std::rethrow_exception(roto);
    return filas;
}

void Connection::begin() {
    execute(QStringLiteral("BEGIN"));
}
void Connection::commit() {
    execute(QStringLiteral("COMMIT"));
}
void Connection::rollback() {
    execute(QStringLiteral("ROLLBACK"));
}
bool Connection::inTransaction() const {
    const PGTransactionStatusType t = PQtransactionStatus(conn_);
    return t == PQTRANS_INTRANS || t == PQTRANS_INERROR || t == PQTRANS_ACTIVE;
}

QString Connection::serverVersion() const {
    const int v = PQserverVersion(conn_);
    return QStringLiteral("%1.%2").arg(v / 10000).arg(v % 10000);
}

int Connection::backendPid() const {
    return PQbackendPID(conn_);
}

} // namespace pg
