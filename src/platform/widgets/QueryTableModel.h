#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace db {
class Cursor;
class Database;
} // namespace db

namespace ui {

// Read-only table for grids: over a statement whose rows are read in blocks
// as the view scrolls to them (setQuery), or over rows given whole (setRows).
// DisplayRole gives text in the program's fixed conventions (dates dd/MM/yyyy);
// EditRole gives the stored value untouched, so callers read codes with their type.
class QueryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Row = QList<QVariant>;
    using Formatter = std::function<QString(const QVariant&)>;

    explicit QueryTableModel(QObject* parent = nullptr);
    ~QueryTableModel() override;

    // Rows read per block; the first block is read by setQuery.
    static constexpr int BlockSize = 256;

    // Replaces headers and rows in one reset. Rows shorter than the headers
    // read as null in the missing columns; longer ones are cut.
    void setRows(const QStringList& headers, const QList<Row>& rows);
    // The rows of a SELECT with '?' parameters, field names as headers. Reads
    // the first block now and the rest on demand (fetchMore). Throws
    // db::DbError when the statement cannot run; the model is then empty.
    void setQuery(db::Database& database, const QString& sql, const QList<QVariant>& params = {});
    // Stops reading the statement, keeping the rows read so far, so it holds
    // no read snapshot of the file (a dialog being hidden calls it).
    void finishFetching();
    // Why reading the next block failed (it then stops); empty when it did not.
    QString fetchError() const { return fetchError_; }
    void clear();

    // Caption of one column (the field name until changed).
    void setHeader(int column, const QString& caption);
    QStringList headers() const { return headers_; }
    // Display text of one column, for codes or amounts with their own format.
    void setFormatter(int column, Formatter f);

    // Stored value, or null outside the table.
    QVariant value(int row, int column) const;
    // Stored value by header (case-insensitive), or null when unknown.
    QVariant value(int row, const QString& header) const;
    int columnOf(const QString& header) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    QStringList headers_;
    QList<Row> rows_;
    QList<Formatter> formatters_;
    std::unique_ptr<db::Cursor> cursor_;
    QString fetchError_;
    bool fetching_ = false;
};

} // namespace ui
