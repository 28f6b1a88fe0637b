// Grids over a large agency: the owner lookup and a model over every
// property open at once and hold memory only for the rows read. Floors: the
// same statement's first screen of rows on plain SQLite with the program's
// connection, interleaved with the program's runs.
//
//   bench_grids [N properties] [runs]

#include "BenchSupport.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/QueryTableModel.h"
#include "search/frmConsultaPropietario.h"
#include "shell/AppContext.h"
#include "shell/Installation.h"

#include <QApplication>
#include <QTableView>
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
    bench::openContext(ctx, root);
    sqlite3* raw = ctx.db().handle();
    const int screen = 30; // rows a grid shows at once
    std::printf("demo: %d properties, %lld sales owners\n", n,
                ctx.db().scalar("select count(*) from Propietarios where Alquiler = 0").toLongLong());

    // Owner lookup: the real dialog, loaded and shown.
    const char* ownersSql = "select Cod,Nombre from Propietarios where Alquiler = ? order by Cod";
    orb::frmConsultaPropietario lookup(ctx);
    const double rssBeforeLookup = bench::rssMb();
    const auto owners = bench::interleave(runs, {[&] { bench::plainSteps(raw, ownersSql, screen, 0); },
                                                 [&] {
                                                     lookup.cargar(false);
                                                     lookup.show();
                                                     QApplication::processEvents();
                                                     lookup.hide();
                                                 },
                                                 // The way it was: every owner copied into a snapshot, then
                                                 // into the model.
                                                 [&] {
                                                     auto rs = ctx.db().openRecordset(
                                                         ownersSql, db::RecordsetType::Snapshot, {0});
                                                     QList<QList<QVariant>> rows;
                                                     for (; !rs->isEOF(); rs->moveNext())
                                                         rows << QList<QVariant>{rs->value(0), rs->value(1)};
                                                     ui::QueryTableModel m;
                                                     m.setRows({"Cod", "Nombre"}, rows);
                                                 }});
    figure("owner lookup open (sales side)", bench::Pair{owners[0], owners[1]});
    figure("owner lookup memory", bench::rssMb() - rssBeforeLookup, "MB", 0);
    figure("owner lookup as a full copy (before)", bench::Pair{owners[0], owners[2]});

    // A model over every property, in a shown grid.
    const char* allSql = "select * from Propiedades";
    QTableView view;
    view.resize(800, 600);
    view.show();
    const auto all = bench::interleave(runs, {[&] { bench::plainSteps(raw, allSql, screen); },
                                              [&] {
                                                  ui::QueryTableModel model;
                                                  model.setQuery(ctx.db(), allSql);
                                              },
                                              [&] {
                                                  ui::QueryTableModel model;
                                                  model.setQuery(ctx.db(), allSql);
                                                  view.setModel(&model);
                                                  QApplication::processEvents();
                                                  view.setModel(nullptr);
                                              }});
    figure("select * from Propiedades model open (no view)", bench::Pair{all[0], all[1]});
    figure("select * from Propiedades grid open", bench::Pair{all[0], all[2]});

    // Memory held by the open model: the same for all rows as for 1,000,
    // and growing only with the rows the user scrolls through.
    auto held = [&](const QString& sql, int scrollTo) {
        const double before = bench::rssMb();
        auto model = std::make_unique<ui::QueryTableModel>();
        model->setQuery(ctx.db(), sql);
        while (model->rowCount() < scrollTo && model->canFetchMore({}))
            model->fetchMore({});
        const double after = bench::rssMb();
        return after - before;
    };
    const double limited = held("select * from Propiedades limit 1000", 0);
    figure("model memory, 1,000-row result", limited, "MB", 0);
    figure("model memory, all-property result", held(allSql, 0), "MB", 0);
    figure("model memory, all properties scrolled to row 10,000", held(allSql, 10000), "MB", 0);
    return 0;
}
