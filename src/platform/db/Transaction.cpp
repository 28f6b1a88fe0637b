#include "Transaction.h"

#include "Database.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <atomic>
#include <optional>

namespace db {

namespace {

void warn(const QString& line) {
    qWarning("%s", qUtf8Printable(line));
}

std::atomic<LogFunction> logFunction{&warn};

} // namespace

void setLogFunction(LogFunction function) {
    logFunction.store(function ? function : &warn);
}

void logLine(const QString& line) {
    logFunction.load()(line);
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.beginTransaction();
}

Transaction::~Transaction() {
    if (done_)
        return;
    try {
        db_.rollback();
    } catch (const DbError& e) {
        logLine(QCoreApplication::translate("db::Transaction",
                                            "No se pudo deshacer la transacción en '%1': error %2 (%3)")
                    .arg(db_.path(), QString::number(e.number()), e.description()));
    } catch (const std::exception& e) {
        logLine(
            QCoreApplication::translate("db::Transaction", "No se pudo deshacer la transacción en '%1': %2")
                .arg(db_.path(), QString::fromLocal8Bit(e.what())));
    }
}

void Transaction::commit() {
    db_.commit();
    done_ = true;
}

void runInTransaction(Database& db, const std::function<void()>& fn) {
    std::optional<Transaction> tx;
    if (!db.inTransaction())
        tx.emplace(db);
    fn();
    if (tx)
        tx->commit();
}

} // namespace db
