#pragma once

#include "platform/db/Database.h"
#include "platform/mysql/Connection.h"
#include "platform/pg/Connection.h"

#include <QString>
#include <QStringList>
#include <optional>

// Where the servers started by scripts/test-servers.sh listen, read from the
// environment. When a server is missing, a test calls requireServer(): it
// skips with the reason, or fails when CI=true (CI must run every test).
namespace testservers {

struct Mysql {
    mysql::ConnectOptions options; // host, port, database, user, password
    QString socket;                // root's socket, for tests that stop the server
};

struct Rsync {
    QString host;
    int port = 0;
    QString root; // a module's files are in root/<module>
    QStringList webModules;
    QStringList users; // one module per exchange user, named after it
    QString password;  // every exchange user's password

    QString moduleDir(const QString& module) const { return root + QLatin1Char('/') + module; }
};

struct Postgres {
    pg::ConnectOptions options; // host, port, database, user (owner of the database), password
    QString socket;             // the superuser postgres's socket folder, for administration

    // The same server as the program's data-access layer reaches it.
    db::ServerAddress address() const {
        db::ServerAddress a;
        a.host = options.host;
        a.port = int(options.port);
        a.database = options.database;
        a.user = options.user;
        a.password = options.password;
        return a;
    }
};

// Empty with why in reason when the variables are not set.
std::optional<Mysql> mysqlServer(QString* reason = nullptr);
std::optional<Rsync> rsyncServer(QString* reason = nullptr);
std::optional<Postgres> postgresServer(QString* reason = nullptr);

bool underCi();

// True in the run of a suite that proves both engines on the test cluster
// (ORBALIA_MOTOR=servidor; ctest registers it as <suite>_servidor).
inline bool onServer() {
    return qEnvironmentVariable("ORBALIA_MOTOR") == QLatin1String("servidor");
}

} // namespace testservers

// Inside a test function: gets the server or skips/fails (see above).
#define ORB_REQUIRE_MYSQL(var)                                                                               \
    QString var##Why;                                                                                        \
    const auto var##Opt = testservers::mysqlServer(&var##Why);                                               \
    if (!var##Opt) {                                                                                         \
        if (testservers::underCi())                                                                          \
            QFAIL(qPrintable(var##Why));                                                                     \
        QSKIP(qPrintable(var##Why));                                                                         \
    }                                                                                                        \
    const testservers::Mysql& var = *var##Opt

#define ORB_REQUIRE_RSYNC(var)                                                                               \
    QString var##Why;                                                                                        \
    const auto var##Opt = testservers::rsyncServer(&var##Why);                                               \
    if (!var##Opt) {                                                                                         \
        if (testservers::underCi())                                                                          \
            QFAIL(qPrintable(var##Why));                                                                     \
        QSKIP(qPrintable(var##Why));                                                                         \
    }                                                                                                        \
    const testservers::Rsync& var = *var##Opt

#define ORB_REQUIRE_PG(var)                                                                                  \
    QString var##Why;                                                                                        \
    const auto var##Opt = testservers::postgresServer(&var##Why);                                            \
    if (!var##Opt) {                                                                                         \
        if (testservers::underCi())                                                                          \
            QFAIL(qPrintable(var##Why));                                                                     \
        QSKIP(qPrintable(var##Why));                                                                         \
    }                                                                                                        \
    const testservers::Postgres& var = *var##Opt

// In initTestCase of a suite that runs on both engines: the server run needs
// the cluster (a failure under CI). Its presence in a file makes ctest run
// the suite a second time on the server.
#define ORB_MOTOR_DISPONIBLE()                                                                               \
    if (testservers::onServer()) {                                                                           \
        ORB_REQUIRE_PG(pgMotor);                                                                             \
        Q_UNUSED(pgMotor);                                                                                   \
    }

// In a test function: what only the file can do is skipped on the server.
#define ORB_SOLO_ARCHIVO(why)                                                                                \
    if (testservers::onServer())                                                                             \
    QSKIP(why)
