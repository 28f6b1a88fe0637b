#pragma once

#include "platform/db/Cursor.h"

#include <QByteArray>
#include <QList>
#include <QVariant>
#include <vector>

namespace mysql {

using Params = QVariantList;

// Rows gathered column by column for array-bound executions
// (Statement::executeBulk): values go from their source straight into the
// buffers the client library sends, with no per-value QVariant. Texts are
// UTF-8, copied once into one arena per column.
class BulkRows {
public:
    explicit BulkRows(int columns);

    int columnCount() const { return int(columns_.size()); }
    int rowCount() const { return rows_; }
    // The data the rows hold, for closing a batch before the server's packet limit.
    qsizetype bytes() const { return bytes_; }
    void clear();

    // The next value of the row being added, in column order.
    void addNull();
    void addInteger(qint64 v);
    void addReal(double v);
    void addText(const char* utf8, qsizetype size);
    void addText(const QString& text);
    // A value read from SQLite, as the data-access layer would convert it for
    // its declared type (a BOOLEAN reads as 0/1, a CURRENCY as a real).
    void add(const db::Cell& cell, db::FieldType declared);
    // Closes the row: every column must have had one value.
    void endRow();

    // The rows as values, for the one-by-one path (a MySQL server, a refused row searched).
    QList<Params> toParams() const;
    Params row(int r) const;

private:
    friend class Statement;
    enum class Kind : char { Null, Integer, Real, Text };
    struct Column {
        std::vector<Kind> kinds;
        std::vector<long long> ints;
        std::vector<double> reals;
        std::vector<qsizetype> offsets; // into arena, for texts
        std::vector<unsigned long> lengths;
        QByteArray arena;
    };
    Column& next();
    QVariant valueAt(const Column& c, int r) const;

    std::vector<Column> columns_;
    int rows_ = 0;
    int filled_ = 0; // columns given a value in the row being added
    qsizetype bytes_ = 0;
};

} // namespace mysql
