#include "Cursor.h"

#include "ServerEngine.h"
#include "SqliteSupport.h"

namespace db {

struct Cursor::Stmt : detail::Stmt {
    using detail::Stmt::Stmt;
};

struct Cursor::Served {
    QList<Row> rows; // as the server's connection read them
    qsizetype next = 0;
    qsizetype at = -1;
    QList<QByteArray> bytes; // the current row's texts while cell() hands them out
};

Cursor::Cursor(Database& database, const QString& sql, const Params& params) {
    if (database.onServer()) {
        detail::ServerRows r = database.server()->read(sql, params, false, true);
        fields_ = std::move(r.fields);
        served_ = std::make_unique<Served>();
        served_->rows = std::move(r.rows);
        return;
    }
    stmt_ = std::make_unique<Stmt>(database.handle(), sql);
    stmt_->bind(params);
    for (int c = 0; c < stmt_->columnCount(); ++c) {
        FieldInfo f = fieldInfoFromDeclType(stmt_->columnDeclType(c));
        f.name = stmt_->columnName(c);
        f.table = stmt_->columnTable(c);
        f.column = stmt_->columnOrigin(c);
        fields_ << f;
    }
}

Cursor::~Cursor() = default;

int Cursor::fetch(QList<Row>& out, int max) {
    int added = 0;
    const int n = fieldCount();
    if (served_) {
        for (; added < max && served_->next < served_->rows.size(); ++added) {
            const Row& stored = served_->rows[served_->next++];
            Row row;
            row.reserve(n);
            for (int c = 0; c < n; ++c)
                row << detail::typedFromServer(stored[c], fields_[c].type);
            out << row;
        }
        if (served_->next >= served_->rows.size())
            finish();
        return added;
    }
    while (stmt_ && added < max) {
        bool more = false;
        try {
            more = stmt_->step();
        } catch (...) {
            finish();
            throw;
        }
        if (!more) {
            finish();
            break;
        }
        Row row;
        row.reserve(n);
        for (int c = 0; c < n; ++c)
            row << fromStorage(stmt_->raw(c), fields_[c].type);
        out << row;
        ++added;
    }
    return added;
}

QStringList Cursor::columnNames() const {
    QStringList names;
    for (const FieldInfo& f : fields_)
        names << f.name;
    return names;
}

bool Cursor::next() {
    QList<Row> one;
    if (fetch(one, 1) == 1) {
        current_ = one.first();
        return true;
    }
    current_.clear();
    return false;
}

Value Cursor::value(int column) const {
    if (column < 0 || column >= current_.size())
        return {};
    return current_.at(column);
}

bool Cursor::step() {
    current_.clear();
    if (served_) {
        if (served_->next >= served_->rows.size()) {
            finish();
            return false;
        }
        served_->at = served_->next++;
        served_->bytes.clear();
        return true;
    }
    if (!stmt_)
        return false;
    bool more = false;
    try {
        more = stmt_->step();
    } catch (...) {
        finish();
        throw;
    }
    if (!more)
        finish();
    return more;
}

Cell Cursor::cell(int column) const {
    Cell c;
    if (served_ && served_->at >= 0 && column >= 0 && column < fieldCount()) {
        const QVariant v =
            toStorage(detail::fromServer(served_->rows[served_->at][column]), fields_[column].type);
        switch (v.typeId()) {
        case QMetaType::LongLong:
            c.kind = Cell::Kind::Integer;
            c.integer = v.toLongLong();
            break;
        case QMetaType::Double:
            c.kind = Cell::Kind::Real;
            c.real = v.toDouble();
            break;
        case QMetaType::QByteArray:
        case QMetaType::QString: {
            const bool blob = v.typeId() == QMetaType::QByteArray;
            served_->bytes << (blob ? v.toByteArray() : v.toString().toUtf8());
            c.kind = blob ? Cell::Kind::Blob : Cell::Kind::Text;
            c.data = served_->bytes.last().constData();
            c.size = int(served_->bytes.last().size());
            break;
        }
        default:
            break;
        }
        return c;
    }
    if (!stmt_ || column < 0 || column >= fieldCount())
        return c;
    sqlite3_stmt* s = stmt_->get();
    switch (sqlite3_column_type(s, column)) {
    case SQLITE_INTEGER:
        c.kind = Cell::Kind::Integer;
        c.integer = sqlite3_column_int64(s, column);
        break;
    case SQLITE_FLOAT:
        c.kind = Cell::Kind::Real;
        c.real = sqlite3_column_double(s, column);
        break;
    case SQLITE_TEXT:
        c.kind = Cell::Kind::Text;
        c.data = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
        c.size = sqlite3_column_bytes(s, column);
        break;
    case SQLITE_BLOB:
        c.kind = Cell::Kind::Blob;
        c.data = static_cast<const char*>(sqlite3_column_blob(s, column));
        c.size = sqlite3_column_bytes(s, column);
        break;
    default:
        break;
    }
    return c;
}

void Cursor::finish() {
    stmt_.reset();
    served_.reset();
}

} // namespace db
