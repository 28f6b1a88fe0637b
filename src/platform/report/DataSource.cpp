#include "DataSource.h"

#include "platform/db/Cursor.h"

namespace report {

int DataSource::indexOf(const QString& name) const {
    const QStringList cols = columns();
    auto find = [&](const QString& n) {
        for (int i = 0; i < cols.size(); ++i)
            if (cols[i].compare(n, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    int i = find(name);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (i < 0 && dot > 0) {
        i = find(name.left(dot) + name.mid(dot + 1));
        if (i < 0)
            i = find(name.mid(dot + 1));
    }
    return i;
}

QueryDataSource::QueryDataSource(db::Database& db, const QString& sql, const QVariantList& params)
    : cursor_(std::make_unique<db::Cursor>(db, sql, params)) {}

QueryDataSource::~QueryDataSource() = default;

QStringList QueryDataSource::columns() const {
    return cursor_->columnNames();
}

bool QueryDataSource::next() {
    return cursor_->next();
}

QVariant QueryDataSource::value(int column) const {
    return cursor_->value(column);
}

} // namespace report
