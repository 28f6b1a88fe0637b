#include "TestServers.h"

#include <QDir>
#include <QProcessEnvironment>

namespace testservers {

namespace {

QString env(const char* name) {
    return qEnvironmentVariable(name);
}

bool missing(const QStringList& names, const QString& server, QString* reason) {
    QStringList absent;
    for (const QString& n : names)
        if (qEnvironmentVariableIsEmpty(n.toLatin1().constData()))
            absent << n;
    if (absent.isEmpty())
        return false;
    if (reason)
        *reason = QStringLiteral("Sin servidor %1 de prueba (%2 sin definir): ejecute las pruebas con "
                                 "scripts/test.sh, que lo arranca, o cargue scripts/test-servers.sh")
                      .arg(server, absent.join(QStringLiteral(", ")));
    return true;
}

} // namespace

bool underCi() {
    return env("CI").compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

std::optional<Mysql> mysqlServer(QString* reason) {
    if (missing({"ORBALIA_TEST_MYSQL_HOST", "ORBALIA_TEST_MYSQL_PORT", "ORBALIA_TEST_MYSQL_USER",
                 "ORBALIA_TEST_MYSQL_PASSWORD", "ORBALIA_TEST_MYSQL_DB"},
                QStringLiteral("MariaDB"), reason))
        return std::nullopt;
    Mysql m;
    m.options.host = env("ORBALIA_TEST_MYSQL_HOST");
    m.options.port = env("ORBALIA_TEST_MYSQL_PORT").toUInt();
    m.options.user = env("ORBALIA_TEST_MYSQL_USER");
    m.options.password = env("ORBALIA_TEST_MYSQL_PASSWORD");
    m.options.database = env("ORBALIA_TEST_MYSQL_DB");
    m.socket = env("ORBALIA_TEST_MYSQL_SOCKET");
    return m;
}

std::optional<Rsync> rsyncServer(QString* reason) {
    if (missing({"ORBALIA_TEST_RSYNC_HOST", "ORBALIA_TEST_RSYNC_PORT", "ORBALIA_TEST_RSYNC_ROOT"},
                QStringLiteral("rsync"), reason))
        return std::nullopt;
    Rsync r;
    r.host = env("ORBALIA_TEST_RSYNC_HOST");
    r.port = env("ORBALIA_TEST_RSYNC_PORT").toInt();
    r.root = env("ORBALIA_TEST_RSYNC_ROOT");
    r.webModules = env("ORBALIA_TEST_RSYNC_WEB_MODULES").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    r.users = env("ORBALIA_TEST_RSYNC_USERS").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    r.password = env("ORBALIA_TEST_RSYNC_PASSWORD");
    if (!QDir(r.root).exists()) {
        if (reason)
            *reason = QStringLiteral("La carpeta de módulos rsync %1 no existe").arg(r.root);
        return std::nullopt;
    }
    return r;
}

std::optional<Postgres> postgresServer(QString* reason) {
    if (missing({"ORBALIA_TEST_PG_HOST", "ORBALIA_TEST_PG_PORT", "ORBALIA_TEST_PG_USER",
                 "ORBALIA_TEST_PG_PASSWORD", "ORBALIA_TEST_PG_DB"},
                QStringLiteral("PostgreSQL"), reason))
        return std::nullopt;
    Postgres p;
    p.options.host = env("ORBALIA_TEST_PG_HOST");
    p.options.port = env("ORBALIA_TEST_PG_PORT").toUInt();
    p.options.user = env("ORBALIA_TEST_PG_USER");
    p.options.password = env("ORBALIA_TEST_PG_PASSWORD");
    p.options.database = env("ORBALIA_TEST_PG_DB");
    p.socket = env("ORBALIA_TEST_PG_SOCKET");
    return p;
}

} // namespace testservers
