#pragma once

#include "MysqlError.h"
#include "platform/db/ServerTransaction.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

struct st_mysql;
struct st_mysql_stmt;

namespace mysql {

using Params = QVariantList;
using Row = QVariantList;

enum class Tls {
    Preferred, // encrypted when the server offers TLS, plain otherwise
    Verified,  // encrypted and the server certificate checked against caFile; refused otherwise
    Off,
};

struct ConnectOptions {
    QString host = QStringLiteral("127.0.0.1");
    unsigned port = 3306;
    QString database;
    QString user;
    QString password;
    Tls tls = Tls::Preferred;
    QString caFile; // for Tls::Verified; empty uses the system's certificates
    unsigned connectTimeoutSeconds = 15;
    unsigned readWriteTimeoutSeconds = 120;
};

class Statement;
class BulkRows;

// One connection to a MySQL or MariaDB server. Every connection talks
// utf8mb4 and runs in a strict sql_mode, so a value the table cannot hold is
// refused instead of silently cut. It never reconnects by itself: a lost
// connection is an error, not a new session without the transaction.
class Connection {
public:
    // Throws MysqlError when the server cannot be reached or refuses the login.
    static std::unique_ptr<Connection> connect(const ConnectOptions& options);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Runs one statement; with params it is prepared and the values bound.
    // Returns the rows affected.
    quint64 execute(const QString& sql, const Params& params = {});
    QList<Row> query(const QString& sql, const Params& params = {});
    QVariant scalar(const QString& sql, const Params& params = {});
    // Prepared once, run many times (statement lives no longer than this).
    std::unique_ptr<Statement> prepare(const QString& sql);

    void begin();
    void commit();
    void rollback();

    QString serverVersion() const;
    // The TLS cipher in use, empty for a plain connection.
    QString tlsCipher() const;
    st_mysql* handle() const { return db_; }

    // Throws the connection's current error.
    [[noreturn]] void fail() const;
    // Removes the password from a text the library or server produced.
    QString scrub(const QString& text) const;

private:
    Connection(st_mysql* db, const QString& password);
    st_mysql* db_;
    QString password_;
};

// A prepared statement with '?' placeholders.
class Statement {
public:
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int parameterCount() const;
    quint64 execute(const Params& params = {});
    QList<Row> query(const Params& params = {});
    // Runs the statement once per row of values, sending them in batches by
    // array binding when the server supports it (MariaDB), one by one
    // otherwise (MySQL). Each row must have parameterCount() values. Not
    // atomic by itself: wrap it in a Transaction. Returns the rows affected.
    quint64 executeMany(const QList<Params>& rows);
    // The same for rows gathered column by column: one array-bound execution
    // of them all (the caller sizes the batch), or one by one on MySQL.
    quint64 executeBulk(const BulkRows& rows);

private:
    friend class Connection;
    Statement(Connection& connection, st_mysql_stmt* stmt);
    [[noreturn]] void fail() const;
    void bindAndExecute(const QList<Params>& rows, qsizetype first, qsizetype count, bool arrays);

    Connection& connection_;
    st_mysql_stmt* stmt_;
};

using Transaction = db::ServerTransaction<Connection>;

} // namespace mysql
