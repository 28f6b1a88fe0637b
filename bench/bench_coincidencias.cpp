// Matching on a large agency: one client against every property (100,000 in
// the demo) to the scored list, and one property against every client (the
// demo makes 50,004), each the mean over a spread of 20 clients or properties. The floor is the same
// statement with the same values on a plain SQLite connection with the program's memory map, functions and
// collation, stepped to its end reading every column, interleaved with the program's runs. Not part of the
// test run.
//
//   build/bench_coincidencias [N] [runs]

#include "BenchSupport.h"
#include "platform/db/Database.h"
#include "search/Coincidencias.h"
#include "search/CoincidenciasFilas.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace co = orb::coincidencias;

namespace {

qint64 plain(sqlite3* h, const co::Consulta& c) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, c.sql.toUtf8().constData(), -1, &st, nullptr);
    for (int i = 0; i < c.params.size(); ++i) {
        const QVariant& v = c.params[i];
        if (v.isNull())
            sqlite3_bind_null(st, i + 1);
        else if (v.typeId() == QMetaType::Double)
            sqlite3_bind_double(st, i + 1, v.toDouble());
        else if (v.typeId() == QMetaType::QString) {
            const QByteArray b = v.toString().toUtf8();
            sqlite3_bind_text(st, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        } else
            sqlite3_bind_int64(st, i + 1, v.toLongLong());
    }
    qint64 n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        bench::readColumns(st);
        ++n;
    }
    sqlite3_finalize(st);
    return n;
}

// Every (size / n)-th item, n of them at most.
QStringList muestra(const QStringList& todos, qsizetype n) {
    QStringList elegidos;
    const qsizetype paso = std::max<qsizetype>(1, todos.size() / n);
    for (qsizetype i = 0; i < todos.size() && elegidos.size() < n; i += paso)
        elegidos << todos[i];
    return elegidos;
}

// A property as matching sees it, read the way the program reads it.
co::Oferta oferta(db::Database& base, const QString& cod) {
    namespace filas = co::filas;
    const auto f = base.query(QStringLiteral("SELECT %1 FROM Propiedades p %2WHERE p.Cod = ?")
                                  .arg(filas::ColumnasOferta(), filas::UnionesOferta),
                              {cod});
    return filas::leerOferta(f.first());
}

constexpr qsizetype Muestra = 20;

struct Medida {
    bench::Pair par; // the whole sample
    qint64 encajan = 0, filas = 0;
};

// Ours matching every item of the sample, and the floor stepping each one's statement.
Medida medir(int runs, sqlite3* h, const QStringList& muestra, const QList<co::Consulta>& consultas,
             const std::function<qsizetype(const QString&)>& encajar) {
    Medida m;
    m.par = bench::compare(
        runs,
        [&] {
            m.filas = 0;
            for (const co::Consulta& c : consultas)
                m.filas += plain(h, c);
        },
        [&] {
            m.encajan = 0;
            for (const QString& cod : muestra)
                m.encajan += encajar(cod);
        });
    return m;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    QTemporaryDir dir;
    const QString carpeta = dir.path() + u'/';
    bench::createDemo(carpeta, n);
    auto base = db::Database::open(carpeta + QStringLiteral("Orbalia.db"));
    sqlite3* h = bench::openPlain(carpeta + QStringLiteral("Orbalia.db"));
    const double tolerancia = co::LeerTolerancia(*base);
    std::printf("properties: %d, clients: %d\n",
                base->scalar(QStringLiteral("SELECT count(*) FROM Propiedades")).toInt(),
                base->scalar(QStringLiteral("SELECT count(*) FROM Clientes")).toInt());

    // Typical waiting sales clients, a spread of them: a budget, a place and
    // bedrooms wished. Each run matches every one of them once.
    QStringList clientes;
    for (const db::Row& r : base->query(
             QStringLiteral("SELECT c.Cod FROM Clientes c WHERE c.Estado = 'Buscando' AND c.Alquiler = 0 "
                            "AND c.Presupuesto > 0 AND c.DormitoriosMinimo > 0 AND EXISTS "
                            "(SELECT 1 FROM ClientesZonas z WHERE z.CodCliente = c.Cod) ORDER BY c.Cod")))
        clientes << r[0].toString();
    clientes = muestra(clientes, Muestra);
    QList<co::Consulta> qc;
    for (const QString& cod : clientes) {
        co::Deseos deseos;
        co::LeerDeseos(*base, cod, &deseos);
        qc << co::SqlPropiedadesParaCliente(deseos, tolerancia, false);
    }
    const Medida mc = medir(runs, h, clientes, qc, [&](const QString& cod) {
        return co::PropiedadesParaCliente(*base, cod).size();
    });
    std::printf("%lld clients: %lld rows read, %lld matches\n", qint64(clientes.size()), mc.filas,
                mc.encajan);
    bench::printPlan(h, qc.first().sql);
    bench::figure("one client against every property", mc.par, "ms", double(clientes.size()));

    // Properties on offer on both sides, a spread of them.
    QStringList propiedades;
    for (const db::Row& r : base->query(
             QStringLiteral("SELECT Cod FROM Propiedades WHERE (Estado = 'En Venta' AND Alquiler = 0) OR "
                            "(Estado = 'Libre' AND Alquiler = 1) ORDER BY Cod")))
        propiedades << r[0].toString();
    propiedades = muestra(propiedades, Muestra);
    QList<co::Consulta> qp;
    for (const QString& cod : propiedades)
        qp << co::SqlClientesParaPropiedad(oferta(*base, cod), tolerancia);
    const Medida mp = medir(runs, h, propiedades, qp,
                            [&](const QString& cod) { return co::ClientesParaPropiedad(*base, cod).size(); });
    std::printf("%lld properties: %lld rows read, %lld matches\n", qint64(propiedades.size()), mp.filas,
                mp.encajan);
    bench::printPlan(h, qp.first().sql);
    bench::figure("one property against every client", mp.par, "ms", double(propiedades.size()));

    // Start-up's count: every waiting client against every property on offer.
    // The floor steps, on plain SQLite, the three statements it cannot do without.
    qsizetype conNovedades = 0;
    const QList<co::Consulta> lecturas{
        {QStringLiteral(
             "SELECT Cod, Alquiler, Estado, Precio, PrecioAlquiler, CodTipo, CodLocalidad, CodArea, "
             "Dormitorios, Piscina, Garaje, PlazasGaraje, Ascensor, Terrazas FROM Propiedades WHERE "
             "(Estado = 'En Venta' AND Alquiler = 0) OR (Estado = 'Libre' AND Alquiler = 1)"),
         {}},
        {QStringLiteral("SELECT c.Cod, c.Alquiler, c.Presupuesto, c.PresupuestoMinimo, c.DormitoriosMinimo, "
                        "c.CodTipo, c.QuierePiscina, c.QuiereGaraje, c.QuiereAscensor, c.QuiereTerraza, "
                        "(SELECT group_concat(ifnull(z.CodArea, 0) || ':' || ifnull(z.CodLocalidad, 0)) FROM "
                        "ClientesZonas z WHERE z.CodCliente = c.Cod) FROM Clientes c WHERE c.Estado = "
                        "'Buscando' ORDER BY c.Cod"),
         {}},
        {QStringLiteral(
             "SELECT CodCliente, CodPropiedad FROM PropiedadesVistas UNION ALL SELECT CodCliente, "
             "CodPropiedad FROM PropiedadesEnviadas UNION ALL SELECT CodCliente, CodPropiedad FROM "
             "PropiedadesDescartadas"),
         {}}};
    const bench::Pair novedades = bench::compare(
        std::max(3, runs / 3),
        [&] {
            for (const co::Consulta& c : lecturas)
                plain(h, c);
        },
        [&] { conNovedades = co::ClientesConNovedades(*base).size(); });
    std::printf("%lld waiting clients with new matches\n", qint64(conNovedades));
    bench::figure("waiting clients with new matches", novedades);
    sqlite3_close(h);
    return 0;
}
