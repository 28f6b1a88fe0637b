#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace db {
class Recordset;
}

namespace ui {

// Read-only table over rows already fetched (a query's result), for grids.
// DisplayRole gives text in the program's fixed conventions (dates dd/MM/yyyy);
// EditRole gives the stored value untouched, so callers read codes with their type.
class QueryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Row = QList<QVariant>;
    using Formatter = std::function<QString(const QVariant&)>;

    explicit QueryTableModel(QObject* parent = nullptr);

    // Replaces headers and rows in one reset. Rows shorter than the headers
    // read as null in the missing columns; longer ones are cut.
    void setRows(const QStringList& headers, const QList<Row>& rows);
    // Every row of the recordset from the first, field names as headers. The
    // recordset is left past its last row.
    void load(db::Recordset& rs);
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

private:
    QStringList headers_;
    QList<Row> rows_;
    QList<Formatter> formatters_;
};

} // namespace ui
