#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace db {
class Cursor;
class Database;
} // namespace db

namespace report {

// Rows a report reads one at a time, forward only, so a long listing never
// holds all its rows.
class DataSource {
public:
    virtual ~DataSource() = default;
    virtual QStringList columns() const = 0;
    // Moves to the next row; false when there are no more.
    virtual bool next() = 0;
    // Value of a column of the current row.
    virtual QVariant value(int column) const = 0;

    // Position of a column by name, case-insensitive, or -1. "Tabla.Campo"
    // also finds "TablaCampo" and then "Campo", as views name such columns.
    int indexOf(const QString& name) const;
};

// A SELECT with bound values over an open database, read row by row.
class QueryDataSource : public DataSource {
public:
    // Throws db::DbError when the statement does not prepare.
    QueryDataSource(db::Database& db, const QString& sql, const QVariantList& params = {});
    ~QueryDataSource() override;
    QStringList columns() const override;
    bool next() override;
    QVariant value(int column) const override;

private:
    std::unique_ptr<db::Cursor> cursor_;
};

// Rows the caller already has.
class RowsDataSource : public DataSource {
public:
    RowsDataSource(const QStringList& columns, const QList<QVariantList>& rows)
        : columns_(columns), rows_(rows) {}
    QStringList columns() const override { return columns_; }
    bool next() override { return ++current_ < rows_.size(); }
    QVariant value(int column) const override {
        return current_ >= 0 && current_ < rows_.size() ? rows_[current_].value(column) : QVariant();
    }

private:
    QStringList columns_;
    QList<QVariantList> rows_;
    qsizetype current_ = -1;
};

} // namespace report
