#include "Cursor.h"

#include "SqliteSupport.h"

namespace db {

struct Cursor::Stmt : detail::Stmt {
    using detail::Stmt::Stmt;
};

Cursor::Cursor(Database& database, const QString& sql, const Params& params)
    : stmt_(std::make_unique<Stmt>(database.handle(), sql)) {
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
}

} // namespace db
