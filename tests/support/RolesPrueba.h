#pragma once

// Login roles on the test cluster: they are the cluster's, not one
// database's, so each run names its own and drops them when it ends.

#include "BaseServidorPrueba.h"
#include "platform/db/Database.h"

#include <QRandomGenerator>
#include <QStringList>
#include <memory>

struct RolesPrueba {
    testservers::Postgres server;
    QStringList nombres;

    QString nuevo(const QString& base) {
        nombres << QStringLiteral("%1_%2").arg(base).arg(QRandomGenerator::global()->generate(), 8, 16,
                                                         QLatin1Char('0'));
        return nombres.last();
    }
    ~RolesPrueba() {
        try {
            pg::ConnectOptions o;
            o.host = server.socket;
            o.port = server.options.port;
            o.user = QStringLiteral("postgres");
            o.database = QStringLiteral("postgres");
            auto c = pg::Connection::connect(o);
            for (const QString& n : nombres)
                c->execute(QStringLiteral("DROP ROLE IF EXISTS \"%1\"").arg(n));
        } catch (...) {
        }
    }
};

// The database as an agent's seat reaches it, with that agent's role.
inline std::shared_ptr<db::Database> comoAgente(const BaseServidorPrueba& base, const QString& usuario,
                                                const QString& clave) {
    db::ServerAddress a;
    a.host = base.options().host;
    a.port = int(base.options().port);
    a.database = base.nombre();
    a.user = usuario;
    a.password = clave;
    return db::Database::openServer(a);
}
