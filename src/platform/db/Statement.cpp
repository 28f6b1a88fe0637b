#include "Statement.h"

#include "Database.h"
#include "ServerEngine.h"
#include "SqliteSupport.h"

#include <QCoreApplication>

namespace db {

Statement::Statement(Database& db, const QString& sql) : db_(&db) {
    if (db.onServer()) {
        server_ = std::make_unique<detail::ServerStatement>(*db.server(), sql);
        return;
    }
    st_ = std::make_unique<detail::Stmt>(db.handle(), sql);
    const int n = st_->columnCount();
    types_.reserve(n);
    for (int i = 0; i < n; ++i)
        types_ << fieldInfoFromDeclType(st_->columnDeclType(i)).type;
}

Statement::~Statement() = default;
Statement::Statement(Statement&&) noexcept = default;
Statement& Statement::operator=(Statement&&) noexcept = default;

void Statement::bind(const Params& params) {
    if (server_)
        return server_->bind(params);
    st_->bind(params);
}

void Statement::bind(int index, const Value& value) {
    if (server_)
        return server_->bind(index, value);
    st_->bind(index, toStorage(value, FieldType::Unknown));
}

bool Statement::step() {
    if (server_)
        return server_->step();
    return st_->step();
}

void Statement::reset() {
    if (server_)
        return server_->reset();
    st_->reset();
}

int Statement::execute(const Params& params) {
    if (server_)
        return server_->execute(params);
    st_->reset();
    st_->bind(params);
    while (st_->step()) {
    }
    return sqlite3_changes(db_->handle());
}

int Statement::columnCount() const {
    if (server_)
        return server_->columnCount();
    return int(types_.size());
}

QString Statement::columnName(int column) const {
    if (server_)
        return server_->columnName(column);
    return st_->columnName(column);
}

Value Statement::value(int column) const {
    if (server_)
        return server_->value(column);
    if (column < 0 || column >= types_.size())
        throw DbError(ErrItemNotFound,
                      QCoreApplication::translate("db::Statement", "No existe la columna %1 en el resultado")
                          .arg(column));
    return fromStorage(st_->raw(column), types_[column]);
}

Row Statement::row() const {
    if (server_) {
        Row r;
        for (int i = 0, n = server_->columnCount(); i < n; ++i)
            r << server_->value(i);
        return r;
    }
    Row r;
    r.reserve(types_.size());
    for (int i = 0; i < types_.size(); ++i)
        r << fromStorage(st_->raw(i), types_[i]);
    return r;
}

} // namespace db
