#pragma once

#include "Database.h"

#include <QStringList>
#include <memory>

namespace db {

// One value of the current row as SQLite holds it, valid until the next step.
struct Cell {
    enum class Kind { Null, Integer, Real, Text, Blob };
    Kind kind = Kind::Null;
    qint64 integer = 0;
    double real = 0;
    const char* data = nullptr; // UTF-8 text or blob bytes
    int size = 0;
};

// A forward-only reader over one SELECT: rows come from the statement as the
// caller asks for them, so a grid over 100,000 rows costs only what it shows.
// On a server the result is read whole at the start (libpq keeps one result
// per connection busy until it is read, and grids keep several open).
// The statement holds a read snapshot of the file until it reaches its end
// or finish() is called: readers that stop early call finish().
class Cursor {
public:
    // Prepares the statement and binds the values; throws DbError.
    Cursor(Database& database, const QString& sql, const Params& params = {});
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    int fieldCount() const { return int(fields_.size()); }
    const FieldInfo& field(int i) const { return fields_.at(i); }

    // Appends up to max rows (values converted by declared column type) and
    // returns how many were added. A failure while reading ends the cursor
    // and throws DbError; the rows read before stay valid.
    int fetch(QList<Row>& out, int max);
    bool atEnd() const { return !stmt_ && !served_; }

    // Row by row, for readers that take one row at a time (reports).
    QStringList columnNames() const;
    // Advances to the next row; false past the last one.
    bool next();
    // Value of a column of the current row (null before the first row or past the last).
    Value value(int column) const;
    // The whole current row (empty before the first row or past the last).
    const Row& row() const { return current_; }
    // Advances without converting the row, for readers that pass each value
    // straight on (cell()); row() and value() stay empty. False past the last row.
    bool step();
    Cell cell(int column) const;
    // Ends the statement early, releasing its read snapshot.
    void finish();

private:
    struct Stmt;
    struct Served; // a server's result, read whole, handed out in order
    std::unique_ptr<Stmt> stmt_;
    std::unique_ptr<Served> served_;
    QList<FieldInfo> fields_;
    Row current_;
};

} // namespace db
