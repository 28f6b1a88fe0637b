#pragma once

// Internal helpers shared by the data-access layer's sources.

#include "DbError.h"
#include "Value.h"

#include <QString>
#include <sqlite3.h>

namespace db::detail {

// Throws the DbError that matches an SQLite failure (duplicate key → 3022…).
[[noreturn]] void throwError(sqlite3* db, int rc, const QString& context = {});

// Owning prepared statement.
class Stmt {
public:
    Stmt(sqlite3* db, const QString& sql);
    Stmt(sqlite3* db, sqlite3_stmt* prepared) : db_(db), s_(prepared) {} // takes ownership
    ~Stmt();
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    void bind(const Params& params);
    void bind(int index, const QVariant& storageValue); // 1-based
    bool step();                                        // true while a row is ready; throws on failure
    void reset();
    int columnCount() const;
    QString columnName(int i) const;
    QString columnDeclType(int i) const;
    QString columnTable(int i) const;
    QString columnOrigin(int i) const;
    QVariant raw(int i) const; // as stored: qint64, double, QString, QByteArray or null
    sqlite3_stmt* get() const { return s_; }

private:
    sqlite3* db_;
    sqlite3_stmt* s_ = nullptr;
};

void registerFunctions(sqlite3* db);

} // namespace db::detail
