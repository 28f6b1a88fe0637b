#include "BaseServidorPrueba.h"

#include <QRandomGenerator>
#include <stdexcept>

BaseServidorPrueba::BaseServidorPrueba(const testservers::Postgres& server) : options_(server.options) {
    // The test role may not create databases: the superuser does, on its socket.
    admin_.host = server.socket;
    admin_.port = server.options.port;
    admin_.user = QStringLiteral("postgres");
    admin_.database = QStringLiteral("postgres");
    options_.database =
        QStringLiteral("t_%1").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    auto c = pg::Connection::connect(admin_);
    c->execute(QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' TEMPLATE template0")
                   .arg(options_.database, server.options.user));
}

BaseServidorPrueba::~BaseServidorPrueba() {
    try {
        auto c = pg::Connection::connect(admin_);
        c->execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(options_.database));
    } catch (...) {
        // A cluster that is gone takes its databases with it.
    }
}
