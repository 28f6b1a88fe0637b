#pragma once

#include "PgError.h"
#include "platform/db/ServerTransaction.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

struct pg_conn;
struct pg_result;

namespace pg {

using Params = QVariantList;
using Row = QVariantList;
using Oid = unsigned int;

struct ConnectOptions {
    QString host = QStringLiteral("127.0.0.1");
    unsigned port = 5432;
    QString database;
    QString user;
    QString password;
    unsigned connectTimeoutSeconds = 10;
    QString applicationName = QStringLiteral("Orbalia");
    // Seconds of silence before TCP asks whether the server is still there
    // (0: the system's default, usually hours): a connection that only waits
    // for notices learns so of a server gone without a word.
    unsigned keepaliveSeconds = 0;
};

// A column of a result: its name, its type and, when it comes straight from
// a table, that table and column (what a grid needs to know what it edits).
struct Column {
    QString name;
    Oid type = 0;
    QString table;       // empty for an expression
    QString tableColumn; // the table's own name for it
};

struct Result {
    QList<Column> columns;
    QList<Row> rows;
};

// A notice another session sent with NOTIFY (or pg_notify) on a channel this
// connection listens to: the channel, its payload and the sending session's
// backend process.
struct Notification {
    QString channel;
    QString payload;
    int senderPid = 0;
};

// One connection to a PostgreSQL server, in UTF-8. Statements take '?'
// placeholders (as the rest of the program writes them) and bind every value;
// values come back typed: integers, doubles (numeric too), booleans, dates,
// timestamps, bytes and texts. It never reconnects by itself.
class Connection {
public:
    // Throws PgError (LoginRechazado, ServidorInaccesible, BaseInexistente …).
    static std::unique_ptr<Connection> connect(const ConnectOptions& options);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Returns the rows affected.
    quint64 execute(const QString& sql, const Params& params = {});
    QList<Row> query(const QString& sql, const Params& params = {});
    // Rows with their columns' names, types and origin.
    // origins: ask the server once per table for the tables' and columns' names.
    Result queryWithColumns(const QString& sql, const Params& params = {}, bool origins = true);
    QVariant scalar(const QString& sql, const Params& params = {});

    // Sends the rows through COPY … FROM STDIN in one stream; every row has
    // one value per column. Not atomic by itself: wrap it in a Transaction.
    // Returns the rows copied.
    quint64 copyIn(const QString& table, const QStringList& columns, const QList<Row>& rows);
    // The same stream opened once and fed block by block, so the server takes
    // one block while the next is made; a stream not finished is cancelled.
    class CopyIn {
    public:
        CopyIn(Connection& c, const QString& table, const QStringList& columns);
        ~CopyIn();
        CopyIn(const CopyIn&) = delete;
        CopyIn& operator=(const CopyIn&) = delete;
        void put(const QList<Row>& rows);
        quint64 finish(); // the rows copied

    private:
        void send(bool all);
        Connection& c_;
        QByteArray block_;
        bool open_ = true, broken_ = false;
    };
    // Runs COPY (select) TO STDOUT and hands each row's line, in COPY's text
    // format without its newline, to take. Returns the rows read.
    quint64 copyOut(const QString& select, const std::function<void(QByteArrayView line)>& take);

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

    QString serverVersion() const;
    int backendPid() const;
    pg_conn* handle() const { return conn_; }
    // What this connection signed in with (password included), to open another like it.
    const ConnectOptions& options() const { return options_; }

    // Listening: after listen(channel), the server sends every notice of that
    // channel as it is committed. socket() becomes readable when one (or
    // anything else) arrives; takeNotifications() then reads what came without
    // waiting and returns the notices received so far. A connection the
    // server has dropped throws PgError ConexionPerdida there.
    void listen(const QString& channel);
    int socket() const;
    QList<Notification> takeNotifications();

    // '?' placeholders as $1, $2 …, leaving quoted texts, names and comments alone.
    static QString numberPlaceholders(const QString& sql);

private:
    Connection(pg_conn* conn, const ConnectOptions& options);
    pg_result* run(const QString& sql, const Params& params);
    [[noreturn]] void fail(pg_result* res) const;
    QString scrub(const QString& text) const;
    QString tableName(Oid table);

    pg_conn* conn_;
    ConnectOptions options_;
    QHash<Oid, QString> tables_;      // table oid → name, asked once per connection
    QHash<quint64, QString> columns_; // (table oid, column number) → column name
};

using Transaction = db::ServerTransaction<Connection>;

} // namespace pg
