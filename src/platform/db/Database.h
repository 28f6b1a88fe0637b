#pragma once

#include "DbError.h"
#include "Transaction.h"
#include "Value.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

struct sqlite3;

namespace db {

class Recordset;

enum class RecordsetType {
    Table,    // direct access to one table, with setIndex/seek
    Dynaset,  // updatable: keyset of rowids taken at open, rows read on demand
    Snapshot, // read-only copy of the result taken at open
};

struct OpenOptions {
    bool readOnly = false;
    bool create = false; // never for the agency database: a missing file is an error
    bool durable = true; // WAL + synchronous=FULL; off for throw-away files
};

using Row = QList<Value>;

// The agency database on a server: where it is and who signs in.
struct ServerAddress {
    QString host = QStringLiteral("127.0.0.1");
    int port = 5432;
    QString database;
    QString user;
    QString password;
    int connectTimeoutSeconds = 10;
    // "user@host:port/database", never the password.
    QString describe() const { return QStringLiteral("%1@%2:%3/%4").arg(user, host).arg(port).arg(database); }
};

namespace detail {
class ServerEngine;
}

// What a dynaset does when no keyset can be built over its source (a join,
// a view, a grouping, a table without rowids): refuse with an error that says
// why, or read the whole result once as a read-only snapshot.
enum class ReadOnlyFallback { Refuse, Snapshot };

// One open agency database: an SQLite file, or a PostgreSQL server's database
// (the same calls, the same values, the same error numbers). Every file
// connection registers the case-insensitive LIKE and the Spanish collation
// "es"; the server's schema creates its own "es", so statements mean the same
// everywhere. What only the file can do (the backup API, ATTACH, the loadable
// extension) says so where it is declared.
class Database {
public:
    enum class Engine { File, Server };

    // Throws DbError(ErrCannotOpen) for a missing file (unless create), a file
    // that is not a database, or a path that cannot be opened.
    static std::unique_ptr<Database> open(const QString& path, const OpenOptions& options = {});
    // The connection to that file already open through shared(), or a new one
    // with the default options: the program and its record windows share one
    // connection per file (one transaction, one page cache, one memory map)
    // whatever their number. It closes when the last holder lets it go. For
    // the UI thread only; another thread opens its own.
    static std::shared_ptr<Database> shared(const QString& path);
    // Makes shared(name) give this connection while it lives: a seat on a
    // server shares its one connection under the installation's database path.
    static void shareAs(const QString& name, const std::shared_ptr<Database>& database);
    // A new connection to the same database, for another thread: the file
    // opened again with the options given, or the server signed in again.
    std::unique_ptr<Database> reopen(const OpenOptions& options = {}) const;
    // A connection to a server. Throws DbError ErrLoginRefused, ErrServerUnreachable
    // or ErrCannotOpen (no such database) with a plain Spanish description.
    static std::unique_ptr<Database> openServer(const ServerAddress& address);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The file's path, or the server's address (ServerAddress::describe).
    QString path() const { return path_; }
    Engine engine() const { return server_ ? Engine::Server : Engine::File; }
    bool onServer() const { return bool(server_); }
    // The file's SQLite handle; null on a server.
    sqlite3* handle() const { return db_; }
    detail::ServerEngine* server() const { return server_.get(); }

    // Dialect pieces a statement needs where the engines differ.
    // Appended to a SELECT that reads a row the transaction will change: on the
    // server it locks the row until commit; the file's write transaction
    // (BEGIN IMMEDIATE) already holds the whole database.
    QString forUpdate() const { return server_ ? QStringLiteral(" FOR UPDATE") : QString(); }

    // Runs one or more statements in order; values travel as bound parameters
    // ('?'), each statement taking the next ones. Not atomic by itself: use a
    // Transaction for that. Returns the number of rows changed by the last statement.
    int execute(const QString& sql, const Params& params = {});
    // Runs a script of several statements without parameters (schema DDL).
    void executeScript(const QString& sql);
    // Every row of a query, values converted by declared column type.
    QList<Row> query(const QString& sql, const Params& params = {});
    // First column of the first row, or null when there is no row.
    Value scalar(const QString& sql, const Params& params = {});

    // source: a table name, or a SELECT with '?' parameters (see Recordset.h).
    // The recordset must be closed or destroyed before this Database.
    // A dynaset over a source it cannot update throws ErrNotSupported unless
    // the caller accepts a read-only snapshot instead.
    std::unique_ptr<Recordset> openRecordset(const QString& source, RecordsetType type,
                                             const Params& params = {},
                                             ReadOnlyFallback fallback = ReadOnlyFallback::Refuse);

    int userVersion();
    void setUserVersion(int version);

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    qint64 lastInsertRowId() const;
    bool tableExists(const QString& name);

    // Consistent copy of the whole file (SQLite online backup). File only:
    // a server keeps its own backups (ErrNotSupported).
    void backupTo(const QString& targetPath);

private:
    Database(sqlite3* db, const QString& path);
    static QHash<QString, std::weak_ptr<Database>>& alive();
    sqlite3* db_;
    QString path_;
    std::optional<ServerAddress> address_;
    std::unique_ptr<detail::ServerEngine> server_;
};

} // namespace db
