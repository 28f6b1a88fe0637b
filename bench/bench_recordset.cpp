// How the data-access layer copes with a large agency: a demo installation of
// N properties (100,000 by default), then the operations a user waits for.
// Prints the median of several runs of each (the keyset's figures interleaved
// with their floor); not part of the test run.
//
//   build/bench_recordset [N] [runs]

#include "BenchSupport.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using bench::figure;
using bench::medianMs;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    QTemporaryDir dir;
    QElapsedTimer t;
    t.start();
    bench::createDemo(dir.path() + "/", n);
    figure("demo installation", double(t.elapsed()), "ms", 0);

    auto database = db::Database::open(dir.path() + "/Orbalia.db");
    const QString ventas = "select * from Propiedades where Alquiler = 0 order by Agencia,QuickID";
    // The floor: the keyset's rowids in index order on the same connection.
    qint64 count = 0;
    QString lastCod;
    const auto s = bench::interleave(
        runs,
        {[&] {
             bench::plainSteps(database->handle(),
                               "select rowid from Propiedades where Alquiler = 0 order by Agencia, QuickID");
         },
         [&] {
             auto rs = database->openRecordset(ventas, db::RecordsetType::Dynaset);
             count = rs->recordCount();
         },
         [&] {
             auto rs = database->openRecordset(ventas, db::RecordsetType::Dynaset);
             rs->moveLast();
             lastCod = rs->value("Cod").toString();
         }});
    std::printf("sales dynaset: %lld rows, last %s\n", count, qPrintable(lastCod));
    figure("sales dynaset open", bench::Pair{s[0], s[1]});
    figure("sales dynaset open + moveLast", bench::Pair{s[0], s[2]});

    auto rs = database->openRecordset(ventas, db::RecordsetType::Dynaset);
    bool found = false;
    const double find = medianMs(runs, [&] {
        auto clone = rs->clone();
        found = clone->findFirst("Cod = ?", {lastCod});
    });
    if (!found)
        std::printf("findFirst did not find %s\n", qPrintable(lastCod));
    figure("clone + findFirst by code", find, "ms", 0);

    const double walk = medianMs(runs, [&] {
        rs->moveFirst();
        for (int i = 0; i < 1000 && !rs->isEOF(); ++i) {
            rs->value("Cod");
            rs->moveNext();
        }
    });
    figure("1,000 moveNext with a field read", walk, "ms", 0);

    const double edit = medianMs(runs, [&] {
        rs->moveLast();
        rs->edit();
        rs->setValue("Observaciones", QStringLiteral("Revisada"));
        rs->update();
    });
    figure("edit + update of one property", edit, "ms", 0);

    const double search = medianMs(runs, [&] {
        database->query("select Cod from Propiedades where Estado = ? and Alquiler = 0 and Dormitorios >= ? "
                        "order by Cod",
                        {QStringLiteral("En Venta"), 3});
    });
    figure("typical search (state, side, bedrooms)", search, "ms", 0);
    return 0;
}
