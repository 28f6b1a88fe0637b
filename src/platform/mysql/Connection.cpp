#include "Connection.h"

#include "BulkRows.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <mysql.h>

#include <mutex>
#include <vector>

namespace mysql {

namespace {

// Strict: a too-long text, a bad date or a division by zero is an error,
// never a silently altered value.
constexpr const char* kSqlMode = "SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_ZERO_IN_DATE,NO_ZERO_DATE,"
                                 "ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION'";

// Rows per array-bound batch, and the data size that closes a batch early so
// one packet stays well under the server's max_allowed_packet (16 MB).
constexpr qsizetype kBatchRows = 2000;
constexpr qsizetype kBatchBytes = 4 * 1024 * 1024;

// Array binding needs a MariaDB server (10.2 and later); MySQL gets one
// execution per row on the same prepared statement.
bool bulkSupported(MYSQL* db) {
    unsigned long server = 0, extended = 0;
    mariadb_get_infov(db, MARIADB_CONNECTION_SERVER_CAPABILITIES, &server);
    mariadb_get_infov(db, MARIADB_CONNECTION_EXTENDED_SERVER_CAPABILITIES, &extended);
    return !(server & CLIENT_MYSQL) && (extended & (MARIADB_CLIENT_STMT_BULK_OPERATIONS >> 32));
}

void initLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mysql_library_init(0, nullptr, nullptr); });
}

QByteArray textOf(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate).toUtf8();
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    case QMetaType::QByteArray:
        return v.toByteArray();
    default:
        return v.toString().toUtf8();
    }
}

bool isInteger(int type) {
    return type == QMetaType::Int || type == QMetaType::UInt || type == QMetaType::LongLong ||
           type == QMetaType::ULongLong || type == QMetaType::Bool || type == QMetaType::Short ||
           type == QMetaType::UShort || type == QMetaType::Long || type == QMetaType::ULong;
}

bool isReal(int type) {
    return type == QMetaType::Double || type == QMetaType::Float;
}

// The values of one parameter for a run of rows, kept alive while bound.
struct Column {
    enum_field_types type = MYSQL_TYPE_NULL;
    std::vector<long long> ints;
    std::vector<double> reals;
    std::vector<QByteArray> texts;
    std::vector<const char*> pointers;
    std::vector<unsigned long> lengths;
    std::vector<char> indicators;
    my_bool isNull = 0;

    void fill(const QList<Params>& rows, qsizetype first, qsizetype count, int index) {
        bool anyValue = false, allInt = true, allNumber = true, allBytes = true;
        for (qsizetype r = first; r < first + count; ++r) {
            const QVariant& v = rows[r][index];
            if (v.isNull())
                continue;
            anyValue = true;
            const int t = v.typeId();
            allInt = allInt && isInteger(t);
            allNumber = allNumber && (isInteger(t) || isReal(t));
            allBytes = allBytes && t == QMetaType::QByteArray;
        }
        type = !anyValue   ? MYSQL_TYPE_NULL
               : allInt    ? MYSQL_TYPE_LONGLONG
               : allNumber ? MYSQL_TYPE_DOUBLE
               : allBytes  ? MYSQL_TYPE_BLOB
                           : MYSQL_TYPE_STRING;
        indicators.assign(count, STMT_INDICATOR_NONE);
        lengths.assign(count, 0);
        if (type == MYSQL_TYPE_LONGLONG)
            ints.assign(count, 0);
        else if (type == MYSQL_TYPE_DOUBLE)
            reals.assign(count, 0);
        else {
            texts.assign(count, {});
            pointers.assign(count, "");
        }
        for (qsizetype i = 0; i < count; ++i) {
            const QVariant& v = rows[first + i][index];
            if (v.isNull()) {
                indicators[i] = STMT_INDICATOR_NULL;
                continue;
            }
            if (type == MYSQL_TYPE_LONGLONG)
                ints[i] = v.toLongLong();
            else if (type == MYSQL_TYPE_DOUBLE)
                reals[i] = v.toDouble();
            else {
                texts[i] = textOf(v);
                pointers[i] = texts[i].constData();
                lengths[i] = static_cast<unsigned long>(texts[i].size());
            }
        }
        isNull = indicators[0] == STMT_INDICATOR_NULL;
    }

    void bind(MYSQL_BIND& b, bool arrays) {
        b = MYSQL_BIND{};
        b.buffer_type = type == MYSQL_TYPE_NULL && arrays ? MYSQL_TYPE_STRING : type;
        if (arrays) {
            b.u.indicator = indicators.data();
            b.length = lengths.data();
            if (type == MYSQL_TYPE_LONGLONG)
                b.buffer = ints.data();
            else if (type == MYSQL_TYPE_DOUBLE)
                b.buffer = reals.data();
            else if (type != MYSQL_TYPE_NULL)
                b.buffer = pointers.data();
            else
                b.buffer = nullptr;
            return;
        }
        b.is_null = &isNull;
        b.length = lengths.data();
        if (type == MYSQL_TYPE_LONGLONG)
            b.buffer = ints.data();
        else if (type == MYSQL_TYPE_DOUBLE)
            b.buffer = reals.data();
        else if (type != MYSQL_TYPE_NULL) {
            b.buffer = const_cast<char*>(pointers[0]);
            b.buffer_length = lengths[0];
        }
    }
};

QVariant convert(const MYSQL_FIELD& field, const QByteArray& raw) {
    switch (field.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
        if (field.flags & UNSIGNED_FLAG)
            return raw.toULongLong();
        return raw.toLongLong();
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return raw.toDouble();
    case MYSQL_TYPE_DATE:
        return QDate::fromString(QString::fromLatin1(raw), Qt::ISODate);
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return QDateTime::fromString(QString::fromLatin1(raw.left(19)),
                                     QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        if (field.charsetnr == 63) // binary
            return raw;
        return QString::fromUtf8(raw);
    }
}

QVariant nullOf(const MYSQL_FIELD& field) {
    switch (field.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
        return QVariant(QMetaType::fromType<qlonglong>());
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return QVariant(QMetaType::fromType<double>());
    default:
        return QVariant(QMetaType::fromType<QString>());
    }
}

} // namespace

// ---------------------------------------------------------------- Connection

Connection::Connection(MYSQL* db, const QString& password) : db_(db), password_(password) {}

Connection::~Connection() {
    mysql_close(db_);
}

std::unique_ptr<Connection> Connection::connect(const ConnectOptions& o) {
    initLibrary();
    MYSQL* db = mysql_init(nullptr);
    if (!db)
        throw MysqlError(2008, QStringLiteral("HY000"),
                         QCoreApplication::translate("mysql::Connection", "Sin memoria para la conexión"));
    std::unique_ptr<Connection> c(new Connection(db, o.password));

    unsigned connectTimeout = o.connectTimeoutSeconds, ioTimeout = o.readWriteTimeoutSeconds;
    my_bool no = 0, yes = 1;
    mysql_optionsv(db, MYSQL_OPT_CONNECT_TIMEOUT, &connectTimeout);
    mysql_optionsv(db, MYSQL_OPT_READ_TIMEOUT, &ioTimeout);
    mysql_optionsv(db, MYSQL_OPT_WRITE_TIMEOUT, &ioTimeout);
    mysql_optionsv(db, MYSQL_OPT_RECONNECT, &no);
    mysql_optionsv(db, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    const QByteArray ca = o.caFile.toUtf8();
    switch (o.tls) {
    case Tls::Preferred:
        // Asks for TLS; without certificate checking the library falls back
        // to a plain connection when the server offers none.
        mysql_optionsv(db, MYSQL_OPT_SSL_ENFORCE, &yes);
        mysql_optionsv(db, MYSQL_OPT_SSL_VERIFY_SERVER_CERT, &no);
        break;
    case Tls::Verified:
        mysql_optionsv(db, MYSQL_OPT_SSL_ENFORCE, &yes);
        mysql_optionsv(db, MYSQL_OPT_SSL_VERIFY_SERVER_CERT, &yes);
        if (!ca.isEmpty())
            mysql_optionsv(db, MYSQL_OPT_SSL_CA, ca.constData());
        break;
    case Tls::Off:
        break;
    }

    const QByteArray host = o.host.toUtf8(), user = o.user.toUtf8(), password = o.password.toUtf8(),
                     database = o.database.toUtf8();
    if (!mysql_real_connect(db, host.constData(), user.constData(), password.constData(),
                            database.isEmpty() ? nullptr : database.constData(), o.port, nullptr, 0))
        c->fail();
    if (mysql_real_query(db, kSqlMode, strlen(kSqlMode)))
        c->fail();
    return c;
}

void Connection::fail() const {
    throw MysqlError(mysql_errno(db_), QString::fromLatin1(mysql_sqlstate(db_)),
                     scrub(QString::fromUtf8(mysql_error(db_))));
}

QString Connection::scrub(const QString& text) const {
    // Too short a password would match ordinary words; the library never
    // quotes it anyway, this only guards against a server that might.
    if (password_.size() < 4)
        return text;
    QString t = text;
    return t.replace(password_, QStringLiteral("****"));
}

quint64 Connection::execute(const QString& sql, const Params& params) {
    if (!params.isEmpty())
        return prepare(sql)->execute(params);
    const QByteArray text = sql.toUtf8();
    if (mysql_real_query(db_, text.constData(), static_cast<unsigned long>(text.size())))
        fail();
    // A statement that returns rows: discard them.
    if (MYSQL_RES* res = mysql_store_result(db_))
        mysql_free_result(res);
    else if (mysql_field_count(db_) != 0)
        fail();
    return mysql_affected_rows(db_);
}

QList<Row> Connection::query(const QString& sql, const Params& params) {
    return prepare(sql)->query(params);
}

QVariant Connection::scalar(const QString& sql, const Params& params) {
    const QList<Row> rows = query(sql, params);
    if (rows.isEmpty() || rows.first().isEmpty())
        return {};
    return rows.first().first();
}

std::unique_ptr<Statement> Connection::prepare(const QString& sql) {
    MYSQL_STMT* stmt = mysql_stmt_init(db_);
    if (!stmt)
        fail();
    std::unique_ptr<Statement> s(new Statement(*this, stmt));
    const QByteArray text = sql.toUtf8();
    if (mysql_stmt_prepare(stmt, text.constData(), static_cast<unsigned long>(text.size())))
        s->fail();
    return s;
}

void Connection::begin() {
    execute(QStringLiteral("START TRANSACTION"));
}

void Connection::commit() {
    execute(QStringLiteral("COMMIT"));
}

void Connection::rollback() {
    execute(QStringLiteral("ROLLBACK"));
}

QString Connection::serverVersion() const {
    return QString::fromUtf8(mysql_get_server_info(db_));
}

QString Connection::tlsCipher() const {
    const char* cipher = mysql_get_ssl_cipher(db_);
    return cipher ? QString::fromLatin1(cipher) : QString();
}

// ----------------------------------------------------------------- Statement

Statement::Statement(Connection& connection, MYSQL_STMT* stmt) : connection_(connection), stmt_(stmt) {}

Statement::~Statement() {
    mysql_stmt_close(stmt_);
}

void Statement::fail() const {
    throw MysqlError(mysql_stmt_errno(stmt_), QString::fromLatin1(mysql_stmt_sqlstate(stmt_)),
                     connection_.scrub(QString::fromUtf8(mysql_stmt_error(stmt_))));
}

int Statement::parameterCount() const {
    return static_cast<int>(mysql_stmt_param_count(stmt_));
}

void Statement::bindAndExecute(const QList<Params>& rows, qsizetype first, qsizetype count, bool arrays) {
    const int n = parameterCount();
    std::vector<Column> columns(n);
    std::vector<MYSQL_BIND> binds(n);
    for (int i = 0; i < n; ++i) {
        columns[i].fill(rows, first, count, i);
        columns[i].bind(binds[i], arrays);
    }
    unsigned int size = arrays ? static_cast<unsigned int>(count) : 0;
    if (mysql_stmt_attr_set(stmt_, STMT_ATTR_ARRAY_SIZE, &size))
        fail();
    if (n > 0 && mysql_stmt_bind_param(stmt_, binds.data()))
        fail();
    if (mysql_stmt_execute(stmt_))
        fail();
}

quint64 Statement::execute(const Params& params) {
    if (params.size() != parameterCount())
        throw MysqlError(
            2034, QStringLiteral("HY000"),
            QCoreApplication::translate("mysql::Connection", "La sentencia espera %1 valores y recibió %2")
                .arg(parameterCount())
                .arg(params.size()));
    bindAndExecute({params}, 0, 1, false);
    const quint64 affected = mysql_stmt_affected_rows(stmt_);
    mysql_stmt_free_result(stmt_);
    return affected;
}

quint64 Statement::executeMany(const QList<Params>& rows) {
    const int n = parameterCount();
    for (const Params& row : rows)
        if (row.size() != n)
            throw MysqlError(2034, QStringLiteral("HY000"),
                             QCoreApplication::translate("mysql::Connection",
                                                         "La sentencia espera %1 valores y una fila trae %2")
                                 .arg(n)
                                 .arg(row.size()));
    if (rows.isEmpty())
        return 0;
    quint64 affected = 0;
    if (n == 0 || !bulkSupported(connection_.handle())) {
        for (qsizetype r = 0; r < rows.size(); ++r) {
            bindAndExecute(rows, r, 1, false);
            affected += mysql_stmt_affected_rows(stmt_);
        }
        return affected;
    }
    qsizetype first = 0;
    while (first < rows.size()) {
        qsizetype count = 0, bytes = 0;
        while (first + count < rows.size() && count < kBatchRows && bytes < kBatchBytes) {
            for (const QVariant& v : rows[first + count])
                bytes += v.typeId() == QMetaType::QString ? v.toString().size() * 3 : 16;
            ++count;
        }
        bindAndExecute(rows, first, count, true);
        affected += mysql_stmt_affected_rows(stmt_);
        first += count;
    }
    unsigned int none = 0;
    mysql_stmt_attr_set(stmt_, STMT_ATTR_ARRAY_SIZE, &none);
    return affected;
}

quint64 Statement::executeBulk(const BulkRows& rows) {
    const int n = parameterCount();
    if (rows.columnCount() != n)
        throw MysqlError(2034, QStringLiteral("HY000"),
                         QCoreApplication::translate("mysql::Connection",
                                                     "La sentencia espera %1 valores y las filas traen %2")
                             .arg(n)
                             .arg(rows.columnCount()));
    if (rows.rowCount() == 0)
        return 0;
    if (n == 0 || !bulkSupported(connection_.handle()))
        return executeMany(rows.toParams());
    const auto count = std::size_t(rows.rowCount());
    // Per column, the one type the whole array is sent as.
    struct Bound {
        std::vector<char> indicators;
        std::vector<double> reals;          // ints widened when the column mixes both
        std::vector<const char*> pointers;  // texts, numbers written out when mixed with texts
        std::vector<unsigned long> lengths; // of pointers
        std::vector<QByteArray> written;
    };
    std::vector<Bound> bound(static_cast<std::size_t>(n));
    std::vector<MYSQL_BIND> binds(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const BulkRows::Column& c = rows.columns_[std::size_t(i)];
        Bound& b = bound[std::size_t(i)];
        bool anyValue = false, allInt = true, allNumber = true;
        b.indicators.assign(count, STMT_INDICATOR_NONE);
        for (std::size_t r = 0; r < count; ++r) {
            const BulkRows::Kind k = c.kinds[r];
            if (k == BulkRows::Kind::Null) {
                b.indicators[r] = STMT_INDICATOR_NULL;
                continue;
            }
            anyValue = true;
            allInt = allInt && k == BulkRows::Kind::Integer;
            allNumber = allNumber && k != BulkRows::Kind::Text;
        }
        MYSQL_BIND& m = binds[std::size_t(i)];
        m = MYSQL_BIND{};
        m.u.indicator = b.indicators.data();
        if (anyValue && allInt) {
            m.buffer_type = MYSQL_TYPE_LONGLONG;
            m.buffer = const_cast<long long*>(c.ints.data());
        } else if (anyValue && allNumber) {
            b.reals = c.reals;
            for (std::size_t r = 0; r < count; ++r)
                if (c.kinds[r] == BulkRows::Kind::Integer)
                    b.reals[r] = double(c.ints[r]);
            m.buffer_type = MYSQL_TYPE_DOUBLE;
            m.buffer = b.reals.data();
        } else {
            b.pointers.assign(count, "");
            b.lengths = c.lengths;
            b.written.resize(count);
            for (std::size_t r = 0; r < count; ++r) {
                if (c.kinds[r] == BulkRows::Kind::Text) {
                    b.pointers[r] = c.arena.constData() + c.offsets[r];
                } else if (c.kinds[r] != BulkRows::Kind::Null) {
                    b.written[r] = rows.valueAt(c, int(r)).toString().toUtf8();
                    b.pointers[r] = b.written[r].constData();
                    b.lengths[r] = static_cast<unsigned long>(b.written[r].size());
                }
            }
            m.buffer_type = MYSQL_TYPE_STRING;
            m.buffer = anyValue ? b.pointers.data() : nullptr;
            m.length = b.lengths.data();
        }
    }
    unsigned int size = static_cast<unsigned int>(count);
    if (mysql_stmt_attr_set(stmt_, STMT_ATTR_ARRAY_SIZE, &size))
        fail();
    if (mysql_stmt_bind_param(stmt_, binds.data()))
        fail();
    if (mysql_stmt_execute(stmt_))
        fail();
    const quint64 affected = mysql_stmt_affected_rows(stmt_);
    unsigned int none = 0;
    mysql_stmt_attr_set(stmt_, STMT_ATTR_ARRAY_SIZE, &none);
    return affected;
}

QList<Row> Statement::query(const Params& params) {
    if (params.size() != parameterCount())
        throw MysqlError(
            2034, QStringLiteral("HY000"),
            QCoreApplication::translate("mysql::Connection", "La sentencia espera %1 valores y recibió %2")
                .arg(parameterCount())
                .arg(params.size()));
    bindAndExecute({params}, 0, 1, false);
    QList<Row> rows;
    MYSQL_RES* meta = mysql_stmt_result_metadata(stmt_);
    if (!meta)
        return rows;
    const unsigned n = mysql_num_fields(meta);
    const MYSQL_FIELD* fields = mysql_fetch_fields(meta);

    std::vector<QByteArray> buffers(n, QByteArray(256, Qt::Uninitialized));
    std::vector<unsigned long> lengths(n, 0);
    std::vector<my_bool> nulls(n, 0), errors(n, 0);
    std::vector<MYSQL_BIND> binds(n);
    for (unsigned i = 0; i < n; ++i) {
        binds[i] = MYSQL_BIND{};
        binds[i].buffer_type = MYSQL_TYPE_STRING;
        binds[i].buffer = buffers[i].data();
        binds[i].buffer_length = static_cast<unsigned long>(buffers[i].size());
        binds[i].length = &lengths[i];
        binds[i].is_null = &nulls[i];
        binds[i].error = &errors[i];
    }
    if (mysql_stmt_bind_result(stmt_, binds.data()) || mysql_stmt_store_result(stmt_)) {
        mysql_free_result(meta);
        fail();
    }
    for (;;) {
        const int rc = mysql_stmt_fetch(stmt_);
        if (rc == MYSQL_NO_DATA)
            break;
        if (rc == 1) {
            mysql_free_result(meta);
            fail();
        }
        Row row;
        row.reserve(n);
        for (unsigned i = 0; i < n; ++i) {
            if (nulls[i]) {
                row << nullOf(fields[i]);
                continue;
            }
            QByteArray raw;
            if (lengths[i] > binds[i].buffer_length) {
                // Longer than the buffer: fetch this column again whole.
                raw.resize(static_cast<qsizetype>(lengths[i]));
                MYSQL_BIND whole{};
                whole.buffer_type = MYSQL_TYPE_STRING;
                whole.buffer = raw.data();
                whole.buffer_length = lengths[i];
                if (mysql_stmt_fetch_column(stmt_, &whole, i, 0)) {
                    mysql_free_result(meta);
                    fail();
                }
            } else {
                raw = QByteArray(buffers[i].constData(), static_cast<qsizetype>(lengths[i]));
            }
            row << convert(fields[i], raw);
        }
        rows << row;
    }
    mysql_free_result(meta);
    mysql_stmt_free_result(stmt_);
    return rows;
}

} // namespace mysql
