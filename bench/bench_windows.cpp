// Record windows on a large agency: their sources read in index order, and
// one connection per file whatever the number of open windows. Floors: the
// sources' rowids stepped in index order on the same connection, interleaved
// with the program's runs.
//
//   bench_windows [N properties] [runs]

#include "BenchSupport.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/DialogService.h"
#include "records/FichaPersona.h"
#include "shell/AppContext.h"
#include "shell/Installation.h"

#include <QApplication>
#include <QTemporaryDir>

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

    // The real owner window, opened and shown.
    const char* floorOwners = "select rowid from Propietarios where Alquiler = 0 order by Agencia, QuickID";
    const bench::Pair ventana = bench::compare(
        runs, [&] { bench::plainSteps(raw, floorOwners); },
        [&] {
            orb::frmPropietarios w(ctx, false);
            w.show();
            QApplication::processEvents();
        });
    figure("owner window open and shown", ventana);

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
