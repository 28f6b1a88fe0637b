#pragma once

// The agency database on a PostgreSQL server, behind the same db::Database
// calls as the file: values typed as the file gives them, failures as the
// same DbError numbers. Inside of the data-access layer.

#include "DbError.h"
#include "Value.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

struct sqlite3;

namespace pg {
class Connection;
class PgError;
} // namespace pg

namespace db {

struct ServerAddress;
using Row = QList<Value>;

namespace detail {

// The DbError a server failure stands for; the server's own text stays after
// the plain cause, for the log.
class ServerEngine;
DbError errorFrom(const pg::PgError& e, const QString& context = {}, const ServerEngine* engine = nullptr);
// A value as the server returned it, in the types the file's fields give
// (whole numbers as qint64, a timestamp at midnight as its date).
Value fromServer(const QVariant& v);
// A value as the connection read it, typed as the file's field gives it:
// the same as fromStorage(toStorage(fromServer(v), type), type), in one step.
Value typedFromServer(const QVariant& v, FieldType type);
// The field a server column stands for, from its type as format_type spells it
// ("character varying(50)" → Text 50, "numeric(19,4)" → Currency).
FieldInfo fieldInfoFromServerType(const QString& type);
// The file's declared type for a field ("VARCHAR(50)"), for a copy of its rows in SQLite.
QString declTypeOf(const FieldInfo& f);

// A result read whole: its fields and its rows in the forms the file stores
// (dates as ISO text, Yes/No as 0/1), so that a recordset treats both alike.
struct ServerRows {
    QList<FieldInfo> fields;
    QList<Row> rows;
};

class ServerEngine {
public:
    static std::unique_ptr<ServerEngine> connect(const ServerAddress& address);
    // The session settings every seat's connection starts with (lock wait,
    // the database's own functions before pg_catalog's).
    static void prepareSession(pg::Connection& c);
    ~ServerEngine();

    int execute(const QString& sql, const Params& params);
    void executeScript(const QString& sql);
    QList<Row> query(const QString& sql, const Params& params);
    Value scalar(const QString& sql, const Params& params);
    int userVersion();
    void setUserVersion(int version);
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;
    qint64 lastInsertRowId();
    bool tableExists(const QString& name);
    pg::Connection& connection() { return *c_; }

    // The result of sql with its fields (base table and column, type, size);
    // fieldsOnly runs it with no row. asServed: rows as the connection reads
    // them, for a reader that converts each value once (typedFromServer).
    ServerRows read(const QString& sql, const Params& params, bool fieldsOnly = false, bool asServed = false);
    // A base table's name as the server keeps it, empty when there is none.
    QString tableNamed(const QString& name);
    // The table's columns in order, as fields, without the rowid every server table has.
    const QList<FieldInfo>& columnsOf(const QString& table);
    // What "*" stands for on the file: the table's columns, quoted as the
    // server keeps them (its "*" would add the rowid); "*" for a table it does not know.
    QString selectListOf(const QString& table);
    // A name as the agency's definitions spell it ("cod" → "Cod"); the server
    // folds every unquoted name to lower case.
    QString spelling(const QString& name);
    // The same from what was already read, without asking the server (whose
    // transaction may have failed): the name itself when not known yet.
    QString knownSpelling(const QString& name) const {
        return spellings_ ? spellings_->value(name, name) : name;
    }
    // Has the server check sql (one statement, its placeholders already $n)
    // without running it and gives its columns' names. Inside a transaction
    // a refusal leaves the transaction usable, as on the file.
    QStringList prepare(const QString& sql);
    // A private in-memory SQLite connection with the program's functions and
    // collation, where rows already read from the server are searched.
    sqlite3* scratch();

private:
    explicit ServerEngine(std::unique_ptr<pg::Connection> c);
    std::unique_ptr<pg::Connection> c_;
    QHash<QString, QList<FieldInfo>> columns_; // table (lower case) → its columns
    std::optional<QHash<QString, QString>> spellings_;
    sqlite3* scratch_ = nullptr;
};

// A Statement on the server: the query runs at the first step, its rows are
// then read one by one.
class ServerStatement {
public:
    // Checked by the server at once, as the file prepares it: bad SQL is refused here.
    ServerStatement(ServerEngine& engine, QString sql);
    void bind(const Params& params);
    void bind(int index, const Value& value);
    bool step();
    void reset();
    int execute(const Params& params);
    int columnCount();
    QString columnName(int column);
    Value value(int column) const;

private:
    ServerEngine& engine_;
    QString sql_; // placeholders numbered as the server writes them
    int valores_ = 0;
    Params params_;
    QList<QString> names_;
    QList<Row> rows_;
    qsizetype next_ = -1; // -1: not run yet
};

} // namespace detail
} // namespace db
