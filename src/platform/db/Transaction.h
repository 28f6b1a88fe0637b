#pragma once

#include <QString>
#include <functional>

namespace db {

class Database;

// Commits on commit(); rolls back when it goes out of scope first. A rollback
// that fails there cannot be thrown (the scope is usually left by another
// exception): it is told to the log function instead.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& db_;
    bool done_ = false;
};

// Runs fn inside a transaction, or inside the caller's when it already holds one.
void runInTransaction(Database& db, const std::function<void()>& fn);

// Where the data layer tells what it cannot throw. The platform keeps no log
// of its own: the program points this at its log; until then lines go to qWarning.
using LogFunction = void (*)(const QString& line);
void setLogFunction(LogFunction log);
void logLine(const QString& line);

} // namespace db
