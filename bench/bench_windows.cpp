// Record windows on a large agency: their sources read in index order, and
// one connection per file whatever the number of open windows. Floors: the
// sources' rowids stepped in index order on the same connection; for the
// window, those rowids plus the same window over a ten-owner agency.
// Interleaved with the program's runs.
//
//   bench_windows [N properties] [runs]

#include "BenchSupport.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/DialogService.h"
#include "records/FichaPersona.h"
#include "shell/AppContext.h"
#include "shell/Installation.h"

#include "search/AvisoCoincidencias.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>
#include <ctime>

using bench::figure;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    QTemporaryDir dir;
    const QString root = dir.path() + "/";
    bench::createDemo(root, n);

    orb::AppContext ctx;
    ui::ScriptedDialogService dialogs;
    ctx.dialogs = &dialogs;
    bench::openContext(ctx, root);
    db::Database& database = ctx.db();
    sqlite3* raw = database.handle();

    // For profiling the owner window alone (perf record): its wall and processor time per opening.
    if (qEnvironmentVariableIsSet("BENCH_PROFILE_WINDOW")) {
        const int veces = std::max(20, qEnvironmentVariableIntValue("BENCH_PROFILE_WINDOW"));
        for (int i = 0; i < veces; ++i) {
            timespec c0{}, c1{};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c0);
            QElapsedTimer t;
            t.start();
            orb::frmPropietarios w(ctx, false);
            const double ctor = t.nsecsElapsed() / 1e6;
            w.show();
            QApplication::processEvents();
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c1);
            if (i >= veces - 20)
                std::printf("wall %.1f ms (ctor %.1f), cpu %.1f ms\n", t.nsecsElapsed() / 1e6, ctor,
                            (c1.tv_sec - c0.tv_sec) * 1e3 + (c1.tv_nsec - c0.tv_nsec) / 1e6);
        }
        return 0;
    }
    // Each record source against its rowids read in index order with plain SQLite.
    struct Source {
        const char* name;
        const char* table;
    };
    for (const Source& s : {Source{"owners", "Propietarios"}, Source{"sales properties", "Propiedades"}}) {
        const QString source =
            QStringLiteral("select * from %1 where Alquiler = ? order by Agencia,QuickID").arg(s.table);
        const QByteArray floorSql =
            QStringLiteral("select rowid from %1 where Alquiler = 0 order by Agencia, QuickID")
                .arg(s.table)
                .toUtf8();
        std::printf("%s source: %s\n", s.name, qPrintable(source));
        bench::printPlan(raw, source.toUtf8().replace("?", "0"));
        qint64 rows = 0;
        const auto t = bench::interleave(
            runs, {[&] { rows = bench::plainSteps(raw, floorSql.constData()); },
                   [&] {
                       auto rs = database.openRecordset(source, db::RecordsetType::Dynaset, {0});
                       rs->value(0);
                   },
                   [&] {
                       auto rs = database.openRecordset(
                           QStringLiteral("select * from %1 where not alquiler order by Agencia,QuickID")
                               .arg(s.table),
                           db::RecordsetType::Dynaset);
                       rs->value(0);
                   }});
        std::printf("%s: %lld rows\n", s.name, rows);
        figure(qPrintable(QStringLiteral("%1 dynaset open (Alquiler = ?)").arg(s.name)),
               bench::Pair{t[0], t[1]});
        figure(qPrintable(QStringLiteral("%1 dynaset open (not alquiler, before)").arg(s.name)),
               bench::Pair{t[0], t[2]});
    }

    // The real owner window, opened and shown; timed until it is painted, not
    // while it is destroyed (closing is not part of opening). Its floor does the
    // same two things at their least: the same window built and painted over an
    // agency of ten owners (its widgets, layout and first paint, which no window
    // can skip), plus the large agency's rowids stepped in index order with plain
    // SQLite (the least a source that knows its rows must read).
    const auto abrirEn = [](orb::AppContext& c) {
        QElapsedTimer t;
        t.start();
        orb::frmPropietarios w(c, false);
        w.show();
        QApplication::processEvents();
        return double(t.nsecsElapsed()) / 1e6;
    };
    const auto abrirVentana = [&] { return abrirEn(ctx); };
    const char* floorOwners = "select rowid from Propietarios where Alquiler = 0 order by Agencia, QuickID";
    {
        QTemporaryDir chica;
        bench::createDemo(chica.path() + "/", 10);
        orb::AppContext ctxChica;
        ctxChica.dialogs = &dialogs;
        bench::openContext(ctxChica, chica.path() + "/");
        const auto s = bench::interleaveTimed(
            runs,
            {[&] { return abrirEn(ctxChica) + bench::timeMs([&] { bench::plainSteps(raw, floorOwners); }); },
             abrirVentana, [&] { return abrirEn(ctxChica); },
             [&] { return bench::timeMs([&] { bench::plainSteps(raw, floorOwners); }); }});
        figure("owner window open and shown", bench::Pair{s[0], s[1]});
        std::printf("  of the floor: the window over ten owners %.2f ms, the rowids %.2f ms\n", s[2].median(),
                    s[3].median());
    }
    // The start-up count of clients with new matches runs on a thread of its
    // own while the user opens a window: that window against itself alone.
    {
        QMainWindow principal;
        principal.menuBar();
        principal.statusBar();
        orb::AvisoCoincidencias aviso(ctx, principal);
        bool contando = true;
        QObject::connect(&aviso, &orb::AvisoCoincidencias::cuentaTerminada, [&] { contando = false; });
        QElapsedTimer cuenta;
        cuenta.start();
        while (contando)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        std::printf("start-up count alone: %.0f ms, %lld clients\n", double(cuenta.elapsed()),
                    qint64(aviso.clientes().size()));
        const bench::Pair p = bench::compareTimed(runs, abrirVentana, [&] {
            contando = true;
            aviso.actualizar();
            QThread::msleep(30); // the count under way
            const double ms = abrirVentana();
            while (contando)
                QApplication::processEvents(QEventLoop::AllEvents, 10);
            return ms;
        });
        figure("owner window opened during the start-up count, against the window alone", p, "ms", 1, "peer");
    }

    // Memory with one and with four record windows open (they share one connection).
    const double rss0 = bench::rssMb();
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<orb::frmPropietarios>(ctx, false));
    windows.back()->show();
    QApplication::processEvents();
    const double rss1 = bench::rssMb();
    windows.push_back(std::make_unique<orb::frmPropietarios>(ctx, true));
    windows.push_back(std::make_unique<orb::frmClientes>(ctx, false));
    windows.push_back(std::make_unique<orb::frmClientes>(ctx, true));
    for (auto& w : windows)
        w->show();
    QApplication::processEvents();
    const double rss4 = bench::rssMb();
    figure("RSS with 1 record window", rss1, "MB", rss0);
    figure("RSS with 4 record windows", rss4, "MB", rss1);

    // The layer alone, four cursors over every sale property walked end to end:
    // on one shared connection, then on four connections of their own (as before).
    auto walk = [](db::Database& d) {
        auto rs = d.openRecordset("select * from Propiedades where Alquiler = ? order by Agencia,QuickID",
                                  db::RecordsetType::Dynaset, {0});
        for (int i = 0; i < 2000 && !rs->isEOF(); ++i)
            rs->moveNext();
        rs->moveLast();
        return rs;
    };
    const double before = bench::rssMb();
    std::vector<std::unique_ptr<db::Recordset>> cursors;
    auto shared = db::Database::shared(ctx.RutaBaseDatos);
    for (int i = 0; i < 4; ++i)
        cursors.push_back(walk(*shared));
    const double sharedMb = bench::rssMb() - before;
    std::vector<std::unique_ptr<db::Database>> own;
    const double before2 = bench::rssMb();
    for (int i = 0; i < 4; ++i) {
        own.push_back(db::Database::open(ctx.RutaBaseDatos));
        cursors.push_back(walk(*own.back()));
    }
    const double ownMb = bench::rssMb() - before2;
    figure("4 property dynasets on one shared connection", sharedMb, "MB extra", 0);
    figure("4 property dynasets on 4 connections (before)", ownMb, "MB extra", sharedMb);
    cursors.clear();
    return 0;
}
