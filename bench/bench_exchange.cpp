// The office export and import of a large office against their floor: the
// same rows (the three catalogues, the office's properties, owners, clients,
// the clients' places and the office's visits) copied between the same files
// by ATTACH + one DELETE and one INSERT … SELECT per table, on the program's
// connection with the page cache the program gives that run, interleaved
// with the program's runs. An import keeps the rows its file brings
// unchanged and offers only the others, as the program does; it is measured
// daily (every row here already) and first (none here: every row stored).
// Data only (no photographs).
//
//   build/bench_exchange [N] [runs]

#include "BenchSupport.h"
#include "exchange/ExportacionOficina.h"
#include "exchange/ImportacionOficina.h"
#include "exchange/Intercambio.h"
#include "install/Installer.h"
#include "shell/AppContext.h"
#include "shell/Installation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

std::unique_ptr<orb::AppContext> contexto(const QString& dir) {
    auto ctx = std::make_unique<orb::AppContext>();
    bench::openContext(*ctx, dir);
    return ctx;
}

// The columns that travel: the row version is each database's own.
QStringList viajan(db::Database& d, const QString& t) {
    QStringList c = orb::ColumnasTabla(d, "main", t);
    c.removeIf([](const QString& x) { return x.compare(u"Version", Qt::CaseInsensitive) == 0; });
    return c;
}

QString columnas(db::Database& d, const QString& t) {
    return orb::ListaColumnas(viajan(d, t));
}

// The page cache of main for one floor run, as the program sets it for its own.
struct Cache {
    db::Database& d;
    qint64 antes;
    Cache(db::Database& base, int kib) : d(base), antes(base.scalar("PRAGMA main.cache_size").toLongLong()) {
        if (kib > 0)
            d.execute(QStringLiteral("PRAGMA main.cache_size = %1").arg(-kib));
    }
    ~Cache() { d.execute(QStringLiteral("PRAGMA main.cache_size = %1").arg(antes)); }
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;

    QTemporaryDir tmp;
    const QString unoDir = tmp.path() + "/uno/";
    const QString dosDir = tmp.path() + "/dos/";
    orb::install::InstallOptions o;
    o.facts = orb::install::demoFacts();
    o.demoProperties = n;
    o.demoPhotos = false;
    orb::install::createInstallation(unoDir, o);
    o.facts.CodigoOficina = "02";
    o.facts.OficinaPrincipal = false;
    o.demoProperties = 10;
    orb::install::createInstallation(dosDir, o);

    auto uno = contexto(unoDir);
    auto dos = contexto(dosDir);
    db::Database& d1 = uno->db();
    const QString exportDb = unoDir + "Exchange/01/Export.db";
    QDir().mkpath(unoDir + "Exchange/01");
    const QStringList tablas = orb::TablasCatalogo() + orb::TablasOficina();

    qint64 lineas = 0;
    orb::InformeIntercambio informe;
    informe.log = [&lineas](const QString&) { ++lineas; };

    // The row number of a place is each database's own, as the program copies them.
    QStringList zonas = orb::ColumnasTabla(d1, "main", "ClientesZonas");
    zonas.removeAll(QStringLiteral("Cod"));
    const QString zonasCols = orb::ListaColumnas(zonas);
    QStringList visitas = orb::ColumnasTabla(d1, "main", "Visitas");
    visitas.removeAll(QStringLiteral("Cod"));
    const QString visitasCols = orb::ListaColumnas(visitas);
    const QString deOficina =
        QStringLiteral(" WHERE CodCliente IN (SELECT Cod FROM %1.Clientes WHERE Agencia = ?)");
    // Floor: a fresh template copy and one INSERT … SELECT per table, the same rows.
    const auto sueloExport = [&] {
        QFile::remove(exportDb);
        QFile::copy(unoDir + "ExportSchema.db", exportDb);
        d1.execute("ATTACH DATABASE ? AS x", {exportDb});
        d1.execute("PRAGMA x.journal_mode = OFF");
        d1.execute("PRAGMA x.synchronous = OFF");
        d1.beginTransaction();
        for (const QString& t : tablas) {
            const QString c = columnas(d1, t);
            const bool oficina = orb::TablasOficina().contains(t);
            d1.execute(QStringLiteral("INSERT INTO x.\"%1\" (%2) SELECT %2 FROM main.\"%1\"%3")
                           .arg(t, c, oficina ? " WHERE Agencia = ?" : ""),
                       oficina ? db::Params{QStringLiteral("01")} : db::Params{});
        }
        d1.execute(QStringLiteral("INSERT INTO x.ClientesZonas (%1) SELECT %1 FROM main.ClientesZonas%2")
                       .arg(columnas(d1, "ClientesZonas"), deOficina.arg("main")),
                   {QStringLiteral("01")});
        d1.execute(QStringLiteral("INSERT INTO x.Visitas (%1) SELECT %1 FROM main.Visitas WHERE Agencia = ?")
                       .arg(columnas(d1, "Visitas")),
                   {QStringLiteral("01")});
        d1.commit();
        d1.execute("DETACH DATABASE x");
    };
    const auto exportar = [&] {
        orb::ExportacionOficina e(*uno, informe);
        if (!e.Exportar())
            qFatal("export failed");
    };
    const bench::Pair exportacion = bench::compare(runs, sueloExport, exportar);

    // The import at office 02 of office 01's file, and its floor.
    QDir().mkpath(dosDir + "Exchange/01");
    QFile::remove(dosDir + "Exchange/01/Export.db");
    QFile::copy(exportDb, dosDir + "Exchange/01/Export.db");
    db::Database& d2 = dos->db();
    const auto sueloImport = [&] {
        Cache cache(d2, orb::CacheImportacionKiB);
        d2.execute("ATTACH DATABASE ? AS x", {dosDir + "Exchange/01/Export.db"});
        d2.beginTransaction();
        for (const QString& t : tablas) {
            const QString c = columnas(d2, t);
            const bool oficina = orb::TablasOficina().contains(t);
            const QString filtro = oficina ? " WHERE Agencia = ?" : "";
            const db::Params p = oficina ? db::Params{QStringLiteral("01")} : db::Params{};
            if (t == "Clientes")
                d2.execute(QStringLiteral("DELETE FROM main.ClientesZonas%1").arg(deOficina.arg("main")), p);
            // Rows the file brings unchanged stay; the rest are deleted and stored again.
            d2.execute(
                QStringLiteral("DELETE FROM main.\"%1\" WHERE rowid NOT IN (SELECT m.rowid FROM x.\"%1\" y "
                               "JOIN main.\"%1\" m ON m.Cod = y.Cod AND %2%3)%4")
                    .arg(t, orb::MismosValores(viajan(d2, t), "m", "y"),
                         oficina ? " WHERE y.Agencia = ?" : "", oficina ? " AND Agencia = ?" : ""),
                oficina ? db::Params{QStringLiteral("01"), QStringLiteral("01")} : db::Params{});
            // A code here already is a row kept: it is not offered again.
            d2.execute(
                QStringLiteral("INSERT OR IGNORE INTO main.\"%1\" (%2) SELECT %2 FROM x.\"%1\" y WHERE "
                               "%3NOT EXISTS (SELECT 1 FROM main.\"%1\" m WHERE m.Cod = y.Cod)")
                    .arg(t, c, oficina ? "y.Agencia = ? AND " : ""),
                p);
            if (t == "Clientes")
                d2.execute(
                    QStringLiteral("INSERT INTO main.ClientesZonas (%1) SELECT %1 FROM x.ClientesZonas%2")
                        .arg(zonasCols, deOficina.arg("x")),
                    p);
        }
        d2.execute("DELETE FROM main.Visitas WHERE Agencia = ?", {QStringLiteral("01")});
        d2.execute(QStringLiteral("INSERT INTO main.Visitas (%1) SELECT %1 FROM x.Visitas WHERE Agencia = ?")
                       .arg(visitasCols),
                   {QStringLiteral("01")});
        d2.commit();
        d2.execute("DETACH DATABASE x");
    };
    const auto importar = [&] {
        orb::ImportacionOficina i(*dos, informe);
        if (!i.Importar("01", "01"))
            qFatal("import failed");
    };
    // With the processor time of each run: the part of the wall time that is work, not waiting for the disk.
    // The daily import: the file brings the rows this office holds already.
    QList<double> cpuSuelo, cpuPrograma;
    const bench::Pair importacion =
        bench::compare(runs, bench::withCpu(sueloImport, cpuSuelo), bench::withCpu(importar, cpuPrograma));

    // The first import: none of the office's rows is here, so every one is stored.
    const auto vaciar = [&] {
        const db::Params p{QStringLiteral("01")};
        d2.beginTransaction();
        d2.execute(QStringLiteral("DELETE FROM main.ClientesZonas%1").arg(deOficina.arg("main")), p);
        for (const QString& t : orb::TablasOficina())
            d2.execute(QStringLiteral("DELETE FROM main.\"%1\" WHERE Agencia = ?").arg(t), p);
        d2.execute("DELETE FROM main.Visitas WHERE Agencia = ?", p);
        d2.commit();
    };
    const auto trasVaciar = [&](const std::function<void()>& trabajo) -> bench::Timed {
        return [&vaciar, trabajo] {
            vaciar();
            return bench::timeMs(trabajo);
        };
    };
    const bench::Pair primera = bench::compareTimed(runs, trasVaciar(sueloImport), trasVaciar(importar));

    std::printf("rows: %lld properties exported and imported, %lld log lines\n",
                d2.scalar("SELECT count(*) FROM Propiedades WHERE Agencia = '01'").toLongLong(), lineas);
    std::printf("visits: %lld copied\n",
                d2.scalar("SELECT count(*) FROM Visitas WHERE Agencia = '01'").toLongLong());
    std::printf("client places: %lld copied\n",
                d2.scalar("SELECT count(*) FROM ClientesZonas WHERE CodCliente IN (SELECT Cod FROM Clientes "
                          "WHERE Agencia = '01')")
                    .toLongLong());
    bench::floorLine("export_attach_insert_select", exportacion.floor);
    bench::figure("export_office", exportacion);
    bench::floorLine("import_attach_insert_select", importacion.floor);
    bench::figure("import_office", importacion);
    std::printf("  processor time: %.0f ms / %.0f ms (program / floor, medians, warm-up left out)\n",
                bench::Sample{cpuPrograma.mid(1)}.median(), bench::Sample{cpuSuelo.mid(1)}.median());
    bench::floorLine("import_all_new_attach_insert_select", primera.floor);
    bench::figure("import_office_all_new", primera);
    return 0;
}
