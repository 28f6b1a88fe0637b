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

void Cursor::finish() {
    stmt_.reset();
}

} // namespace db
