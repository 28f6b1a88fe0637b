#pragma once

// What the benchmarks on the PostgreSQL server share: a database of their own
// per run, and the floor's bare libpq statements.

#include "TestServers.h"
#include "platform/db/Database.h"
#include "platform/db/ServerEngine.h"
#include "platform/pg/Connection.h"

#include <QDate>
#include <QVariant>
#include <atomic>
#include <libpq-fe.h>
#include <vector>

namespace bench {

// A fresh database, made and dropped by the superuser on its socket.
class BaseServidor {
public:
    BaseServidor(const testservers::Postgres& s, const QString& nombre) : opciones_(s.options) {
        admin_.host = s.socket;
        admin_.port = s.options.port;
        admin_.user = QStringLiteral("postgres");
        admin_.database = QStringLiteral("postgres");
        opciones_.database = nombre;
        auto a = pg::Connection::connect(admin_);
        a->execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(nombre));
        a->execute(
            QStringLiteral("CREATE DATABASE %1 OWNER %2 TEMPLATE template0").arg(nombre, s.options.user));
    }
    ~BaseServidor() {
        // Kept for a look with psql after the run.
        if (qEnvironmentVariableIsSet("ORBALIA_BENCH_CONSERVAR"))
            return;
        auto a = pg::Connection::connect(admin_);
        a->execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(opciones_.database));
    }
    const pg::ConnectOptions& opciones() const { return opciones_; }
    // Where a seat signs in to this database.
    db::ServerAddress direccion() const {
        db::ServerAddress a;
        a.host = opciones_.host;
        a.port = int(opciones_.port);
        a.database = opciones_.database;
        a.user = opciones_.user;
        a.password = opciones_.password;
        return a;
    }
    // The floor's bare connection, with the seat's session settings.
    std::unique_ptr<pg::Connection> conexionSuelo() const {
        auto c = pg::Connection::connect(opciones_);
        db::detail::ServerEngine::prepareSession(*c);
        return c;
    }

private:
    pg::ConnectOptions admin_, opciones_;
};

// The floor's statement: the SQL with '?' numbered, the values as text (a
// fraction as a numeric, as the program sends it), every value of every row
// read. Returns the rows.
// The rows of one statement through bare libpq, every value read; with keys,
// also the first column of each row, as text.
inline qint64 pqFilas(PGconn* conn, const QString& sql, const QVariantList& params = {},
                      QStringList* keys = nullptr) {
    const QByteArray texto = pg::Connection::numberPlaceholders(sql).toUtf8();
    std::vector<QByteArray> datos(size_t(params.size()));
    std::vector<const char*> valores(size_t(params.size()), nullptr);
    std::vector<Oid> tipos(size_t(params.size()), 0);
    for (qsizetype i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        const size_t k = size_t(i);
        if (!v.isValid() || v.isNull())
            continue;
        if (v.typeId() == QMetaType::Bool)
            datos[k] = v.toBool() ? "true" : "false";
        else if (v.typeId() == QMetaType::Double) {
            datos[k] = QByteArray::number(v.toDouble(), 'g', 17);
            tipos[k] = 1700;
        } else if (v.typeId() == QMetaType::QDate)
            datos[k] = v.toDate().toString(Qt::ISODate).toLatin1();
        else
            datos[k] = v.toString().toUtf8();
        valores[k] = datos[k].constData();
    }
    PGresult* r = PQexecParams(conn, texto.constData(), int(params.size()), tipos.data(), valores.data(),
                               nullptr, nullptr, 0);
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
        std::fprintf(stderr, "floor: %s\n", PQresultErrorMessage(r));
        PQclear(r);
        return -1;
    }
    const int filas = PQntuples(r), cols = PQnfields(r);
    int suma = 0;
    for (int f = 0; f < filas; ++f) {
        for (int c = 0; c < cols; ++c)
            suma += PQgetlength(r, f, c) + (PQgetisnull(r, f, c) ? 0 : *PQgetvalue(r, f, c));
        if (keys)
            *keys << QString::fromUtf8(PQgetvalue(r, f, 0), PQgetlength(r, f, 0));
    }
    PQclear(r);
    static std::atomic<int> leido;
    leido.store(suma, std::memory_order_relaxed); // every value was read, and kept
    return filas;
}

} // namespace bench
