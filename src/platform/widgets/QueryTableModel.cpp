#include "QueryTableModel.h"

#include "DisplayText.h"

#include "platform/db/Cursor.h"
#include "platform/db/DbError.h"

#include <QDate>
#include <QDateTime>
#include <QScopedValueRollback>

namespace ui {

namespace {

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

QueryTableModel::QueryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

QueryTableModel::~QueryTableModel() = default;

void QueryTableModel::setRows(const QStringList& headers, const QList<Row>& rows) {
    beginResetModel();
    cursor_.reset();
    fetchError_.clear();
    headers_ = headers;
    rows_ = rows;
    for (Row& r : rows_)
        r.resize(headers_.size());
    formatters_ = QList<Formatter>(headers_.size());
    endResetModel();
}

void QueryTableModel::setQuery(db::Database& database, const QString& sql, const QList<QVariant>& params) {
    beginResetModel();
    cursor_.reset();
    fetchError_.clear();
    headers_.clear();
    rows_.clear();
    formatters_.clear();
    try {
        auto cursor = std::make_unique<db::Cursor>(database, sql, params);
        for (int i = 0; i < cursor->fieldCount(); ++i)
            headers_ << cursor->field(i).name;
        cursor->fetch(rows_, BlockSize);
        cursor_ = std::move(cursor);
    } catch (...) {
        headers_.clear();
        rows_.clear();
        endResetModel();
        throw;
    }
    formatters_ = QList<Formatter>(headers_.size());
    // Handlers of modelReset may ask for more rows; they get them after the reset.
    const QScopedValueRollback<bool> guard(fetching_, true);
    endResetModel();
}

void QueryTableModel::finishFetching() {
    cursor_.reset();
}

bool QueryTableModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && cursor_ && !cursor_->atEnd();
}

void QueryTableModel::fetchMore(const QModelIndex& parent) {
    // Views and testers may ask again from a rowsInserted handler: one block at a time.
    if (fetching_ || !canFetchMore(parent))
        return;
    const QScopedValueRollback<bool> guard(fetching_, true);
    QList<Row> block;
    try {
        cursor_->fetch(block, BlockSize);
    } catch (const db::DbError& e) {
        // Rows already shown stay; the grid just ends here.
        fetchError_ = e.description();
    }
    if (cursor_->atEnd())
        cursor_.reset();
    if (block.isEmpty())
        return;
    const int first = int(rows_.size());
    beginInsertRows({}, first, first + int(block.size()) - 1);
    rows_ << block;
    endInsertRows();
}

void QueryTableModel::clear() {
    setRows({}, {});
}

void QueryTableModel::setHeader(int column, const QString& caption) {
    if (column < 0 || column >= headers_.size())
        return;
    headers_[column] = caption;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void QueryTableModel::setFormatter(int column, Formatter f) {
    if (column < 0 || column >= formatters_.size())
        return;
    formatters_[column] = std::move(f);
    if (!rows_.isEmpty())
        Q_EMIT dataChanged(index(0, column), index(int(rows_.size()) - 1, column), {Qt::DisplayRole});
}

QVariant QueryTableModel::value(int row, int column) const {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= headers_.size())
        return {};
    return rows_[row][column];
}

QVariant QueryTableModel::value(int row, const QString& header) const {
    return value(row, columnOf(header));
}

int QueryTableModel::columnOf(const QString& header) const {
    for (int i = 0; i < headers_.size(); ++i)
        if (headers_[i].compare(header, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int QueryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int QueryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(headers_.size());
}

QVariant QueryTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const QVariant& v = rows_[index.row()][index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        if (v.typeId() == QMetaType::Bool)
            return QVariant();
        if (const Formatter& f = formatters_[index.column()])
            return f(v);
        return ui::displayText(v);
    case Qt::EditRole:
        return v;
    case Qt::CheckStateRole:
        if (v.typeId() == QMetaType::Bool)
            return int(v.toBool() ? Qt::Checked : Qt::Unchecked);
        return {};
    case Qt::TextAlignmentRole:
        if (isNumber(v))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant QueryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < headers_.size() ? QVariant(headers_[section]) : QVariant();
    return section >= 0 && section < rows_.size() ? QVariant(section + 1) : QVariant();
}

Qt::ItemFlags QueryTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace ui
