#pragma once

#include "Database.h"

#include <QStringList>
#include <memory>

namespace db {

namespace detail {
class Stmt;
}

// Forward-only reading of a SELECT, one row at a time, values converted by
// declared column type. Unlike query() it never holds more than the current
// row, so a report over 10,000 rows does not keep them all.
class Cursor {
public:
    // Prepares and binds; throws DbError for bad SQL or a wrong parameter count.
    Cursor(Database& db, const QString& sql, const Params& params = {});
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    QStringList columnNames() const { return names_; }
    // Advances to the next row; false past the last one.
    bool next();
    // Value of a column of the current row (null before the first row or past the last).
    Value value(int column) const;

private:
    std::unique_ptr<detail::Stmt> st_;
    QStringList names_;
    QList<FieldType> types_;
    bool onRow_ = false;
};

} // namespace db
