// The office export and import of a large office against their floor: the
// same rows copied between the same files by ATTACH + INSERT … SELECT, timed
// in the same run. Data only (no photographs). Median of several runs.
//
//   build/bench_exchange [N] [runs]

#include "BenchSupport.h"
#include "exchange/ExportacionOficina.h"
#include "exchange/ImportacionOficina.h"
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

using bench::medianMs;

std::unique_ptr<orb::AppContext> contexto(const QString& dir) {
    auto ctx = std::make_unique<orb::AppContext>();
    bench::openContext(*ctx, dir);
    return ctx;
}

QString columnas(db::Database& d, const QString& t) {
    return orb::ListaColumnas(orb::ColumnasTabla(d, "main", t));
}

void linea(const char* nombre, double ms, double suelo) {
    std::printf("%s: %.1f ms (%.2f× floor)\n", nombre, ms, ms / suelo);
    std::fflush(stdout);
}

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

    // Floor: a fresh template copy and one INSERT … SELECT per table, the same rows.
    const double sueloExport = medianMs(runs, [&] {
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
        d1.commit();
        d1.execute("DETACH DATABASE x");
    });
    const double exportar = medianMs(runs, [&] {
        orb::ExportacionOficina e(*uno, informe);
        if (!e.Exportar())
            qFatal("export failed");
    });

    // The import at office 02 of office 01's file, and its floor.
    QDir().mkpath(dosDir + "Exchange/01");
    QFile::remove(dosDir + "Exchange/01/Export.db");
    QFile::copy(exportDb, dosDir + "Exchange/01/Export.db");
    db::Database& d2 = dos->db();
    const double sueloImport = medianMs(runs, [&] {
        d2.execute("ATTACH DATABASE ? AS x", {dosDir + "Exchange/01/Export.db"});
        d2.beginTransaction();
        for (const QString& t : tablas) {
            const QString c = columnas(d2, t);
            const bool oficina = orb::TablasOficina().contains(t);
            const QString filtro = oficina ? " WHERE Agencia = ?" : "";
            const db::Params p = oficina ? db::Params{QStringLiteral("01")} : db::Params{};
            d2.execute(QStringLiteral("DELETE FROM main.\"%1\"%2").arg(t, filtro), p);
            d2.execute(
                QStringLiteral("INSERT INTO main.\"%1\" (%2) SELECT %2 FROM x.\"%1\"%3").arg(t, c, filtro),
                p);
        }
        d2.commit();
        d2.execute("DETACH DATABASE x");
    });
    const double importar = medianMs(runs, [&] {
        orb::ImportacionOficina i(*dos, informe);
        if (!i.Importar("01", "01"))
            qFatal("import failed");
    });

    std::printf("rows: %lld properties exported and imported, %lld log lines\n",
                d2.scalar("SELECT count(*) FROM Propiedades WHERE Agencia = '01'").toLongLong(), lineas);
    linea("export_floor_attach_insert_select", sueloExport, sueloExport);
    linea("export_office", exportar, sueloExport);
    linea("import_floor_attach_insert_select", sueloImport, sueloImport);
    linea("import_office", importar, sueloImport);
    return 0;
}
