#pragma once

// The agency database on a PostgreSQL server, behind the same db::Database
// calls as the file: values typed as the file gives them, failures as the
// same DbError numbers. Inside of the data-access layer.

#include "DbError.h"
#include "Value.h"

#include <QList>
#include <QString>
#include <memory>

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
DbError errorFrom(const pg::PgError& e, const QString& context = {});
// A value as the server returned it, in the types the file's fields give
// (whole numbers as qint64, a timestamp at midnight as its date).
Value fromServer(const QVariant& v);

class ServerEngine {
public:
    static std::unique_ptr<ServerEngine> connect(const ServerAddress& address);
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

private:
    explicit ServerEngine(std::unique_ptr<pg::Connection> c);
    std::unique_ptr<pg::Connection> c_;
};

// A Statement on the server: the query runs at the first step, its rows are
// then read one by one.
class ServerStatement {
public:
    ServerStatement(ServerEngine& engine, QString sql) : engine_(engine), sql_(std::move(sql)) {}
    void bind(const Params& params);
    void bind(int index, const Value& value);
    bool step();
    void reset();
    int execute(const Params& params);
    int columnCount();
    QString columnName(int column);
    Value value(int column) const;

private:
    void describe();
    ServerEngine& engine_;
    QString sql_;
    Params params_;
    QList<QString> names_;
    bool described_ = false;
    QList<Row> rows_;
    qsizetype next_ = -1; // -1: not run yet
};

} // namespace detail
} // namespace db
