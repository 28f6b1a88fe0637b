#include "Cursor.h"

#include "SqliteSupport.h"

namespace db {

Cursor::Cursor(Database& db, const QString& sql, const Params& params)
    : st_(std::make_unique<detail::Stmt>(db.handle(), sql)) {
    st_->bind(params);
    const int n = st_->columnCount();
    for (int i = 0; i < n; ++i) {
        names_ << st_->columnName(i);
        types_ << fieldInfoFromDeclType(st_->columnDeclType(i)).type;
    }
}

Cursor::~Cursor() = default;

bool Cursor::next() {
    onRow_ = st_->step();
    return onRow_;
}

Value Cursor::value(int column) const {
    if (!onRow_ || column < 0 || column >= types_.size())
        return {};
    return fromStorage(st_->raw(column), types_[column]);
}

} // namespace db
