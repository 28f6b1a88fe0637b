#pragma once

#include "Value.h"

#include <QList>
#include <QString>
#include <memory>

namespace db {

class Database;
using Row = QList<Value>;

namespace detail {
class Stmt;
class ServerStatement;
} // namespace detail

// One statement prepared once and run as often as needed: bind the '?'
// parameters, step through the rows, reset, bind again. For loops that write
// or read many rows with the same SQL. Values are bound, never spliced.
// Must be destroyed before its Database.
class Statement {
public:
    // Throws DbError (ErrSyntax…) when the SQL does not prepare; one statement only.
    Statement(Database& db, const QString& sql);
    ~Statement();
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;

    // Every parameter in order; their number must be the statement's.
    void bind(const Params& params);
    // One parameter, 1-based; the others keep what they had.
    void bind(int index, const Value& value);
    // Runs to the next row: true while one is ready, false once done. On a
    // failure it throws the matching DbError and is ready to run again.
    bool step();
    // Back to the start with every parameter null, for the next run.
    void reset();
    // reset, bind and run to the end: the number of rows the statement changed.
    int execute(const Params& params = {});

    int columnCount() const;
    QString columnName(int column) const;
    // Column of the current row, converted by its declared type as Database::query does.
    Value value(int column) const;
    Row row() const;

private:
    Database* db_;
    std::unique_ptr<detail::Stmt> st_;
    std::unique_ptr<detail::ServerStatement> server_;
    QList<FieldType> types_;
};

} // namespace db
