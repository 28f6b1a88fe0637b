#include "Database.h"

#include "FileLocks.h"
#include "Recordset.h"
#include "ServerEngine.h"
#include "SqliteSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace db {

using detail::Stmt;
using detail::throwError;

Database::Database(sqlite3* db, const QString& path) : db_(db), path_(path) {}

Database::~Database() {
    if (db_)
        sqlite3_close_v2(db_);
}

std::unique_ptr<Database> Database::openServer(const ServerAddress& address) {
    if (address.database.isEmpty() || address.user.isEmpty())
        throw DbError(ErrCannotOpen, QCoreApplication::translate(
                                         "db::Database", "Falta la base de datos o el usuario del servidor"));
    std::unique_ptr<Database> db(new Database(nullptr, address.describe()));
    db->server_ = detail::ServerEngine::connect(address);
    db->address_ = address;
    return db;
}

std::unique_ptr<Database> Database::open(const QString& path, const OpenOptions& options) {
    if (path.isEmpty())
        throw DbError(ErrCannotOpen,
                      QCoreApplication::translate("db::Database", "No se ha indicado la base de datos"));
    if (!options.create && !QFileInfo(path).isFile())
        throw DbError(
            ErrCannotOpen,
            QCoreApplication::translate("db::Database", "No se encuentra el archivo '%1'").arg(path));
    detail::guardFileLocks();
    int flags = options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (options.create && !options.readOnly)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3* handle = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<Database> db(new Database(handle, path));
    if (rc != SQLITE_OK)
        throw DbError(
            ErrCannotOpen,
            QCoreApplication::translate("db::Database", "No se puede abrir la base de datos '%1': %2")
                .arg(path, QString::fromUtf8(handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc))),
            rc);
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, 5000);
    detail::registerFunctions(handle);
    try {
        // Reading the schema proves the file is a database at all.
        db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        db->execute(QStringLiteral("PRAGMA foreign_keys = ON"));
        // Reading through the OS page cache keeps scans of large tables (the
        // keyset of a dynaset over every property) fast without a big private cache.
        db->scalar(QStringLiteral("PRAGMA mmap_size = 268435456"));
        if (!options.readOnly) {
            if (options.durable) {
                db->scalar(QStringLiteral("PRAGMA journal_mode = WAL"));
                db->execute(QStringLiteral("PRAGMA synchronous = FULL"));
            } else {
                db->execute(QStringLiteral("PRAGMA synchronous = OFF"));
            }
        }
    } catch (const DbError& e) {
        throw DbError(
            ErrCannotOpen,
            QCoreApplication::translate("db::Database", "No se puede abrir la base de datos '%1': %2")
                .arg(path, e.description()),
            e.engineCode());
    }
    return db;
}

QHash<QString, std::weak_ptr<Database>>& Database::alive() {
    static QHash<QString, std::weak_ptr<Database>> connections;
    return connections;
}

std::shared_ptr<Database> Database::shared(const QString& path) {
    if (std::shared_ptr<Database> db = alive().value(QStringLiteral("=") + path).lock())
        return db;
    const QString key = QFileInfo(path).canonicalFilePath(); // one file under any of its names
    if (!key.isEmpty())
        if (std::shared_ptr<Database> db = alive().value(key).lock())
            return db;
    std::shared_ptr<Database> db = open(path);
    alive().insert(QFileInfo(path).canonicalFilePath(), db);
    return db;
}

void Database::shareAs(const QString& name, const std::shared_ptr<Database>& database) {
    alive().insert(QStringLiteral("=") + name, database);
}

std::unique_ptr<Database> Database::reopen(const OpenOptions& options) const {
    if (address_)
        return openServer(*address_);
    return open(path_, options);
}

int Database::execute(const QString& sql, const Params& params) {
    if (server_)
        return server_->execute(sql, params);
    // Each statement takes the next parameters, as many as it has '?'.
    const QByteArray utf8 = sql.toUtf8();
    const char* p = utf8.constData();
    const char* const end = p + utf8.size();
    qsizetype used = 0;
    int changes = -1;
    while (p < end) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(db_, p, int(end - p), &raw, &tail);
        if (rc != SQLITE_OK)
            throwError(db_, rc, sql);
        p = tail;
        if (!raw)
            continue; // only blanks or comments left
        Stmt st(db_, raw);
        const int n = sqlite3_bind_parameter_count(raw);
        const bool last = QByteArray(tail, int(end - tail)).trimmed().isEmpty();
        if (used + n > params.size() || (last && used + n != params.size()))
            throw DbError(ErrSyntax, QCoreApplication::translate(
                                         "db::Database", "La instrucción espera %1 parámetros y recibió %2")
                                         .arg(used + n)
                                         .arg(params.size()));
        st.bind(params.mid(used, n));
        used += n;
        while (st.step()) {
        }
        changes = sqlite3_changes(db_);
    }
    if (changes < 0)
        throw DbError(ErrSyntax, QCoreApplication::translate("db::Database", "Instrucción SQL vacía"));
    if (used != params.size())
        throw DbError(ErrSyntax,
                      QCoreApplication::translate("db::Database",
                                                  "Las instrucciones esperan %1 parámetros y recibieron %2")
                          .arg(used)
                          .arg(params.size()));
    return changes;
}

void Database::executeScript(const QString& sql) {
    if (server_)
        return server_->executeScript(sql);
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = err ? QString::fromUtf8(err) : QString();
        sqlite3_free(err);
        throwError(db_, rc, msg);
    }
}

QList<Row> Database::query(const QString& sql, const Params& params) {
    if (server_)
        return server_->query(sql, params);
    Stmt st(db_, sql);
    st.bind(params);
    const int n = st.columnCount();
    QList<FieldType> types;
    for (int i = 0; i < n; ++i)
        types << fieldInfoFromDeclType(st.columnDeclType(i)).type;
    QList<Row> rows;
    while (st.step()) {
        Row row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row << fromStorage(st.raw(i), types[i]);
        rows << row;
    }
    return rows;
}

Value Database::scalar(const QString& sql, const Params& params) {
    if (server_)
        return server_->scalar(sql, params);
    Stmt st(db_, sql);
    st.bind(params);
    if (!st.step() || st.columnCount() == 0)
        return {};
    return fromStorage(st.raw(0), fieldInfoFromDeclType(st.columnDeclType(0)).type);
}

int Database::userVersion() {
    if (server_)
        return server_->userVersion();
    return scalar(QStringLiteral("PRAGMA user_version")).toInt();
}

void Database::setUserVersion(int version) {
    if (server_)
        return server_->setUserVersion(version);
    execute(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

void Database::beginTransaction() {
    if (server_)
        return server_->begin();
    execute(QStringLiteral("BEGIN IMMEDIATE"));
}
void Database::commit() {
    if (server_)
        return server_->commit();
    execute(QStringLiteral("COMMIT"));
}
void Database::rollback() {
    if (server_)
        return server_->rollback();
    execute(QStringLiteral("ROLLBACK"));
}
bool Database::inTransaction() const {
    if (server_)
        return server_->inTransaction();
    return sqlite3_get_autocommit(db_) == 0;
}

qint64 Database::lastInsertRowId() const {
    if (server_)
        return server_->lastInsertRowId();
    return sqlite3_last_insert_rowid(db_);
}

bool Database::tableExists(const QString& name) {
    if (server_)
        return server_->tableExists(name);
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type IN ('table','view') AND "
                                 "name = ? COLLATE NOCASE"),
                  {name})
               .toInt() > 0;
}

void Database::backupTo(const QString& targetPath) {
    if (server_)
        throw DbError(ErrNotSupported,
                      QCoreApplication::translate("db::Database",
                                                  "La copia de seguridad de una base de datos del servidor "
                                                  "la hace el propio servidor"));
    sqlite3* target = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(targetPath).constData(), &target,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(target);
        throw DbError(
            ErrCannotOpen,
            QCoreApplication::translate("db::Database", "No se puede crear la copia '%1'").arg(targetPath));
    }
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", db_, "main");
    if (!backup) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(target));
        sqlite3_close_v2(target);
        throw DbError(
            ErrGeneric,
            QCoreApplication::translate("db::Database", "No se puede copiar la base de datos: %1").arg(msg));
    }
    rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    sqlite3_close_v2(target);
    if (rc != SQLITE_DONE)
        throw DbError(ErrGeneric,
                      QCoreApplication::translate(
                          "db::Database", "No se pudo completar la copia de la base de datos '%1': %2")
                          .arg(targetPath, QString::fromUtf8(sqlite3_errstr(rc))));
}

} // namespace db
