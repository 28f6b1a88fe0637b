// The main window's quick search, one keystroke at a time, on an agency of
// 100,000 properties and 80,000 owners and clients: the statements of each
// typed text run and their rows read, as the box does between keys. The
// floor is the same statements on a plain SQLite connection to the same file
// with the program's settings, functions and collation (the same rows),
// skipping as the box does the statements of a kind that already has its
// eight records, run interleaved with the program's. Also measured: the same with the read-only
// connection the box opens for each search, and the statements of a database
// without the text index (a server's, over the tables' indexes). With the
// servers of scripts/test-servers.sh, the same keys on a seat on the
// PostgreSQL server over loopback, against the same statements through bare
// libpq, with the trigram indexes and without them. Not part of the test run.
//
//   build/bench_busquedarapida [N] [runs]   (N properties and 4N/5 people; N = 100,000)

#include "BenchServidor.h"
#include "BenchSupport.h"
#include "install/CopiaServidor.h"
#include "platform/db/Database.h"
#include "search/BusquedaRapida.h"
#include "shell/SchemaBusquedaRapida.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace {

// One statement on plain SQLite, every column read; the first column's text
// of each row in keys (what tells one record from another).
int Plano(sqlite3* db, const orb::ConsultaRapida& c, QStringList& keys) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, c.sql.toUtf8().constData(), -1, &s, nullptr) != SQLITE_OK) {
        std::printf("floor: %s\n", sqlite3_errmsg(db));
        return -1;
    }
    QList<QByteArray> textos;
    for (int i = 0; i < c.params.size(); ++i) {
        const QVariant& v = c.params[i];
        if (v.typeId() == QMetaType::QString) {
            textos << v.toString().toUtf8();
            sqlite3_bind_text(s, i + 1, textos.last().constData(), -1, SQLITE_STATIC);
        } else {
            sqlite3_bind_int64(s, i + 1, v.toLongLong());
        }
    }
    int filas = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        bench::readColumns(s);
        keys << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)),
                                  sqlite3_column_bytes(s, 0));
        ++filas;
    }
    sqlite3_finalize(s);
    return filas;
}

// A keystroke's statements as the box runs them: in order, each kind's
// statements until that kind has limite different records (the box skips the
// rest). rows(c, keys) runs one; the records found are counted.
template <class Filas>
qint64 ComoLaCaja(const QList<orb::ConsultaRapida>& consultas, int limite, Filas rows) {
    QHash<int, QSet<QString>> porClase;
    qint64 encontrados = 0;
    for (const orb::ConsultaRapida& c : consultas) {
        QSet<QString>& vistos = porClase[int(c.clase)];
        if (vistos.size() >= limite)
            continue;
        QStringList keys;
        rows(c, keys);
        for (const QString& k : keys)
            if (vistos.size() < limite && !vistos.contains(k)) {
                vistos.insert(k);
                ++encontrados;
            }
    }
    return encontrados;
}

int PlanoTodas(sqlite3* db, const QList<orb::ConsultaRapida>& consultas) {
    return int(
        ComoLaCaja(consultas, 8, [db](const orb::ConsultaRapida& c, QStringList& k) { Plano(db, c, k); }));
}

double Percentil(QList<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.at(std::min<qsizetype>(v.size() - 1, qsizetype(p * double(v.size()))));
}

// Median and p95 of each keystroke's time, program against floor.
void Figuras(const char* nombre, const std::vector<bench::Sample>& s) {
    const QString n = QString::fromLatin1(nombre);
    bench::figure(qPrintable(n + QStringLiteral(" median")), Percentil(s[1].ms, 0.5), "ms",
                  Percentil(s[0].ms, 0.5));
    bench::figure(qPrintable(n + QStringLiteral(" p95")), Percentil(s[1].ms, 0.95), "ms",
                  Percentil(s[0].ms, 0.95));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int propiedades = argc > 1 ? std::max(10, atoi(argv[1])) : 100000;
    const int personas = propiedades * 4 / 5;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    QTemporaryDir dir;
    const QString carpeta = dir.path() + "/";
    bench::createDemo(carpeta, propiedades);
    orb::AppContext ctx;
    bench::openContext(ctx, carpeta);
    // The demo makes about one owner and one client per two properties: half the people each.
    for (const char* t : {"Propietarios", "Clientes"})
        ctx.db().execute(
            QString("DELETE FROM %1 WHERE rowid NOT IN (SELECT rowid FROM %1 ORDER BY rowid LIMIT ?)")
                .arg(QLatin1String(t)),
            {personas / 2});
    std::printf("%lld properties, %lld people\n",
                ctx.db().scalar("SELECT count(*) FROM Propiedades").toLongLong(),
                ctx.db()
                    .scalar("SELECT (SELECT count(*) FROM Propietarios) + (SELECT count(*) FROM Clientes)")
                    .toLongLong());

    sqlite3* plano = bench::openPlain(ctx.RutaBaseDatos);

    // What agents type, one key at a time: an address, a name, a mobile, a reference, an e-mail.
    const QString a = ctx.db().scalar("SELECT Direccion FROM Propiedades LIMIT 1 OFFSET 4321").toString();
    const QString n = ctx.db().scalar("SELECT Nombre FROM Clientes LIMIT 1 OFFSET 1234").toString();
    const QString m =
        ctx.db().scalar("SELECT Movil FROM Propietarios WHERE Movil <> '' LIMIT 1 OFFSET 777").toString();
    const QString r = ctx.db().scalar("SELECT Cod FROM Propiedades LIMIT 1 OFFSET 55555").toString();
    const QString e =
        ctx.db().scalar("SELECT Email FROM Clientes WHERE Email <> '' LIMIT 1 OFFSET 999").toString();
    QStringList teclas;
    for (const QString& texto : {a.left(14), n.left(12), m.left(9), r, e.left(10), QStringLiteral("zzzz")})
        for (int i = 2; i <= texto.size(); ++i)
            teclas << texto.left(i);

    for (const QString& t : {a.left(6), m.left(6), QStringLiteral("X1234567L")})
        for (const orb::ConsultaRapida& c : orb::ConsultasRapidas(t, 8)) {
            std::printf("%s\n", qPrintable(c.sql.left(120)));
            for (const db::Row& row : ctx.db().query("EXPLAIN QUERY PLAN " + c.sql, c.params))
                std::printf("  plan: %s\n", qPrintable(row.value(3).toString()));
        }

    // Each keystroke once per round, as typing meets them; the floor and
    // the program through the shared loop, after one untimed pass.
    const QString ruta = ctx.RutaBaseDatos;
    qint64 filas = 0, filasPlano = 0;
    std::vector<bench::Sample> indice(2), conexion(2), tablas(2);
    for (int k = 0; k < runs + 1; ++k) {
        // The first round warms up.
        const auto medir = [&](std::vector<bench::Sample>& a, const std::vector<std::function<void()>>& w) {
            const auto s = bench::interleave(1, w, 0);
            if (k > 0)
                for (std::size_t i = 0; i < a.size(); ++i)
                    a[i].ms += s[i].ms;
        };
        for (const QString& t : teclas) {
            const QList<orb::ConsultaRapida> consultas = orb::ConsultasRapidas(t, 8);
            const QList<orb::ConsultaRapida> sinIndice =
                orb::ConsultasRapidas(t, 8, orb::FormaRapida::Tablas);
            medir(indice, {[&] { filasPlano += PlanoTodas(plano, consultas); },
                           [&] { filas += orb::BuscarRapido(ctx.db(), t).size(); }});
            medir(conexion, {[&] {
                                 sqlite3* propio = bench::openPlain(ruta);
                                 PlanoTodas(propio, consultas);
                                 sqlite3_close(propio);
                             },
                             [&] {
                                 const auto propia = db::Database::open(ruta, {.readOnly = true});
                                 orb::BuscarRapido(*propia, t);
                             }});
            medir(tablas, {[&] { PlanoTodas(plano, sinIndice); },
                           [&] {
                               orb::FilasRapidas(ctx.db(),
                                                 orb::ConsultasRapidas(t, 8, orb::FormaRapida::Tablas), 8);
                           }});
        }
    }
    std::printf("%lld keystrokes: %lld rows by the program, %lld by the floor\n", qint64(indice[1].ms.size()),
                filas, filasPlano);
    Figuras("quick search per keystroke", indice);
    Figuras("quick search per keystroke with its own connection", conexion);
    Figuras("quick search per keystroke without the text index", tablas);
    sqlite3_close(plano);

    QString porque;
    const auto servidor = testservers::postgresServer(&porque);
    if (!servidor) {
        std::printf("server: %s\n", qPrintable(porque));
        return 0;
    }
    bench::BaseServidor base(*servidor, QStringLiteral("bench_rapida"));
    {
        auto c = pg::Connection::connect(base.opciones());
        orb::install::copiarOficina(carpeta, *c);
    }
    const auto puesto = db::Database::openServer(base.direccion());
    auto suelo = base.conexionSuelo();
    PGconn* pq = suelo->handle();
    const auto enServidor = [&](const char* nombre) {
        std::vector<bench::Sample> s(2);
        qint64 programa = 0, delSuelo = 0;
        for (int k = 0; k < runs + 1; ++k)
            for (const QString& t : teclas) {
                const QList<orb::ConsultaRapida> consultas =
                    orb::ConsultasRapidas(t, 8, orb::FormaRapida::Servidor);
                const auto r = bench::interleave(
                    1,
                    {[&] {
                         delSuelo +=
                             ComoLaCaja(consultas, 8, [pq](const orb::ConsultaRapida& c, QStringList& k) {
                                 bench::pqFilas(pq, c.sql, c.params, &k);
                             });
                     },
                     [&] { programa += orb::BuscarRapido(*puesto, t).size(); }},
                    0);
                if (k > 0)
                    for (std::size_t i = 0; i < s.size(); ++i)
                        s[i].ms += r[i].ms;
            }
        std::printf("%s: %lld rows by the program, %lld by the floor\n", nombre, programa, delSuelo);
        Figuras(nombre, s);
    };
    enServidor("server: quick search per keystroke");
    // What the trigram indexes pay: the same without them.
    for (const orb::schema::IndiceTexto& i : orb::schema::indicesTexto())
        suelo->execute(QStringLiteral("DROP INDEX %1_trigramas").arg(i.nombre.toLower()));
    enServidor("server: quick search per keystroke without the trigram indexes");
    return 0;
}
