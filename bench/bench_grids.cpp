// Grids over a large agency: the owner lookup and a model over every
// property open at once and hold memory only for the rows read. Floors: the
// same statement's first block of rows (what the model reads before it is
// shown) on plain SQLite with the program's connection, every column held as
// a value in a bare table model; for a shown grid, also shown in a bare
// QTableView of the same size. Interleaved with the program's runs.
//
//   bench_grids [N properties] [runs]

#include "BenchSupport.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/QueryTableModel.h"
#include "search/frmConsultaPropietario.h"
#include "shell/AppContext.h"
#include "shell/Installation.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>

using bench::figure;

namespace {

// The least a Qt grid needs: the rows' values, and the two calls a view asks.
class PlainModel : public QAbstractTableModel {
public:
    std::vector<std::vector<QVariant>> rows;
    int columns = 0;
    int rowCount(const QModelIndex& = {}) const override { return int(rows.size()); }
    int columnCount(const QModelIndex& = {}) const override { return columns; }
    QVariant data(const QModelIndex& i, int role) const override {
        return role == Qt::DisplayRole ? rows[std::size_t(i.row())][std::size_t(i.column())] : QVariant();
    }
};

// The statement's first block on the plain handle, every column as a value.
void plainBlock(sqlite3* db, const char* sql, PlainModel& m, int bound = -1) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (bound >= 0)
        sqlite3_bind_int(st, 1, bound);
    m.columns = sqlite3_column_count(st);
    m.rows.clear();
    while (int(m.rows.size()) < ui::QueryTableModel::BlockSize && sqlite3_step(st) == SQLITE_ROW) {
        std::vector<QVariant> r(std::size_t(m.columns));
        for (int c = 0; c < m.columns; ++c)
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
                r[std::size_t(c)] = sqlite3_column_int64(st, c);
                break;
            case SQLITE_FLOAT:
                r[std::size_t(c)] = sqlite3_column_double(st, c);
                break;
            case SQLITE_NULL:
                break;
            default:
                r[std::size_t(c)] = QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
            }
        m.rows.push_back(std::move(r));
    }
    sqlite3_finalize(st);
}

} // namespace

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
    std::printf("demo: %d properties, %lld sales owners\n", n,
                ctx.db().scalar("select count(*) from Propietarios where Alquiler = 0").toLongLong());

    // Owner lookup: the real dialog, loaded and shown.
    const char* ownersSql = "select Cod,Nombre from Propietarios where Alquiler = ? order by Cod";
    orb::frmConsultaPropietario lookup(ctx);
    const double rssBeforeLookup = bench::rssMb();
    QTableView plainLookup;
    plainLookup.resize(lookup.size());
    const auto owners = bench::interleave(runs, {[&] {
                                                     PlainModel m;
                                                     plainBlock(raw, ownersSql, m, 0);
                                                     plainLookup.setModel(&m);
                                                     plainLookup.show();
                                                     QApplication::processEvents();
                                                     plainLookup.hide();
                                                     plainLookup.setModel(nullptr);
                                                 },
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
    QTableView plainView;
    plainView.resize(view.size());
    plainView.show();
    const auto all = bench::interleave(runs, {[&] {
                                                  PlainModel m;
                                                  plainBlock(raw, allSql, m);
                                              },
                                              [&] {
                                                  PlainModel m;
                                                  plainBlock(raw, allSql, m);
                                                  plainView.setModel(&m);
                                                  QApplication::processEvents();
                                                  plainView.setModel(nullptr);
                                              },
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
    figure("select * from Propiedades model open (no view)", bench::Pair{all[0], all[2]});
    figure("select * from Propiedades grid open", bench::Pair{all[1], all[3]});

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
