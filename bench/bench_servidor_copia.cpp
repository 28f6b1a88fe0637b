// An office of N properties carried onto the PostgreSQL server by the
// installer's copy (schema, COPY of every table, rows read back and compared)
// against its floor: the same rows read from the same file with bare SQLite
// and sent with bare libpq COPY into the same tables and indexes, in one
// transaction, over the same connection settings. Runs interleaved, each on
// a fresh database. Needs the servers of scripts/test-servers.sh.
//
//   build/bench_servidor_copia [N] [runs]

#include "BenchServidor.h"
#include "BenchSupport.h"
#include "TestServers.h"
#include "install/CopiaServidor.h"
#include "platform/pg/Connection.h"
#include "shell/SchemaServidor.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <libpq-fe.h>
#include <unistd.h>

namespace {

using Base = bench::BaseServidor;

void campo(QByteArray& linea, sqlite3_stmt* st, int i) {
    if (sqlite3_column_type(st, i) == SQLITE_NULL) {
        linea += "\\N";
        return;
    }
    const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    for (; *t; ++t) {
        if (*t == '\\' || *t == '\t' || *t == '\n' || *t == '\r') {
            linea += '\\';
            linea += *t == '\t' ? 't' : *t == '\n' ? 'n' : *t == '\r' ? 'r' : '\\';
        } else {
            linea += *t;
        }
    }
}

// The floor: every table's rows as SQLite gives their text, straight into COPY.
void suelo(const QString& archivo, pg::Connection& c) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(archivo.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    PGconn* conn = c.handle();
    c.begin();
    for (const orb::schema::TablaServidor& t : orb::schema::tablasServidor()) {
        QStringList cols{t.numeroFila};
        for (const orb::schema::CampoServidor& f : t.campos)
            cols << f.nombre;
        const QByteArray lista = cols.join(QStringLiteral(", ")).toUtf8();
        PQclear(PQexec(conn, "COPY " + t.nombre.toLower().toUtf8() + " (" + lista + ") FROM STDIN"));
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(
            db, "SELECT " + lista + " FROM \"" + t.nombre.toUtf8() + "\" ORDER BY " + t.numeroFila.toUtf8(),
            -1, &st, nullptr);
        QByteArray bloque;
        const int n = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i) {
                if (i)
                    bloque += '\t';
                campo(bloque, st, i);
            }
            bloque += '\n';
            if (bloque.size() > 256 * 1024) {
                PQputCopyData(conn, bloque.constData(), int(bloque.size()));
                bloque.clear();
            }
        }
        sqlite3_finalize(st);
        PQputCopyData(conn, bloque.constData(), int(bloque.size()));
        PQputCopyEnd(conn, nullptr);
        while (PGresult* r = PQgetResult(conn)) {
            if (PQresultStatus(r) != PGRES_COMMAND_OK)
                std::fprintf(stderr, "floor: %s", PQresultErrorMessage(r));
            PQclear(r);
        }
    }
    c.commit();
    sqlite3_close(db);
}

// CPU time the server's backend has spent, in ms: the wall time of a copy
// depends on what else the machine runs, this does not.
double cpuServidor(const pg::Connection& c) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(c.backendPid()));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = f.readAll();
    const QList<QByteArray> campos = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return (campos.value(11).toDouble() + campos.value(12).toDouble()) * 1000.0 /
           double(sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    const auto servidor = testservers::postgresServer();
    if (!servidor) {
        std::printf("servidor_copia: skipped (no server; source scripts/test-servers.sh first)\n");
        return 0;
    }
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QStringLiteral("/oficina/");
    bench::createDemo(dir, n);

    // One round is the floor then the program, each on a database of its own
    // made (untimed) just before; no warm-up round, each run copies every row.
    QList<double> cpuPrograma, cpuFloor;
    qint64 filas = 0;
    const bench::Pair copia = bench::compareTimed(
        runs,
        [&] {
            Base base(*servidor, QStringLiteral("bench_copia_suelo"));
            auto c = pg::Connection::connect(base.opciones());
            orb::schema::createServerSchema(*c); // the same tables and indexes, not timed
            const double antes = cpuServidor(*c);
            const double ms = bench::timeMs([&] { suelo(dir + QStringLiteral("Orbalia.db"), *c); });
            cpuFloor << cpuServidor(*c) - antes;
            if (c->scalar(QStringLiteral("SELECT count(*) FROM propiedades")).toInt() != n)
                std::fprintf(stderr, "servidor_copia: the floor lost rows\n");
            return ms;
        },
        [&] {
            Base base(*servidor, QStringLiteral("bench_copia"));
            auto c = pg::Connection::connect(base.opciones());
            const double antes = cpuServidor(*c);
            const double ms = bench::timeMs([&] { filas = orb::install::copiarOficina(dir, *c).filas(); });
            cpuPrograma << cpuServidor(*c) - antes;
            return ms;
        },
        0);
    std::printf("servidor_copia: %d propiedades, %lld filas en total\n", n, static_cast<long long>(filas));
    bench::figure("copia de la oficina al servidor", copia);
    bench::figure("CPU del servidor en la copia", bench::Sample{cpuPrograma}.median(), "ms",
                  bench::Sample{cpuFloor}.median());
    return 0;
}
