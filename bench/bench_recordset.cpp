// How the data-access layer copes with a large agency: a demo installation of
// N properties (100,000 by default), then the operations a user waits for.
// Prints the median of several runs of each; not part of the test run.
//
//   build/bench_recordset [N] [runs]

#include "install/Installer.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double medianMs(int runs, const std::function<void()>& work) {
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times << t.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    QTemporaryDir dir;
    QElapsedTimer t;
    t.start();
    orb::install::InstallOptions options;
    options.demoProperties = n;
    options.demoPhotos = false;
    options.facts = orb::install::demoFacts();
    orb::install::createInstallation(dir.path() + "/", options);
    std::printf("installation with %d properties: %.0f ms\n", n, double(t.elapsed()));

    auto database = db::Database::open(dir.path() + "/Orbalia.db");
    const QString ventas = "select * from Propiedades where not alquiler order by Agencia,QuickID";
    qint64 count = 0;
    QString lastCod;

    const double open = medianMs(runs, [&] {
        auto rs = database->openRecordset(ventas, db::RecordsetType::Dynaset);
        count = rs->recordCount();
    });
    const double openLast = medianMs(runs, [&] {
        auto rs = database->openRecordset(ventas, db::RecordsetType::Dynaset);
        rs->moveLast();
        lastCod = rs->value("Cod").toString();
    });
    std::printf("sales dynaset (%lld rows): open %.1f ms, open + moveLast %.1f ms (last %s)\n", count, open,
                openLast, qPrintable(lastCod));

    auto rs = database->openRecordset(ventas, db::RecordsetType::Dynaset);
    bool found = false;
    const double find = medianMs(runs, [&] {
        auto clone = rs->clone();
        found = clone->findFirst("Cod = ?", {lastCod});
    });
    if (!found)
        std::printf("findFirst did not find %s\n", qPrintable(lastCod));
    std::printf("clone + findFirst by code: %.1f ms\n", find);

    const double walk = medianMs(runs, [&] {
        rs->moveFirst();
        for (int i = 0; i < 1000 && !rs->isEOF(); ++i) {
            rs->value("Cod");
            rs->moveNext();
        }
    });
    std::printf("1,000 moveNext with a field read: %.1f ms\n", walk);

    const double edit = medianMs(runs, [&] {
        rs->moveLast();
        rs->edit();
        rs->setValue("Observaciones", QStringLiteral("Revisada"));
        rs->update();
    });
    std::printf("edit + update of one property: %.1f ms\n", edit);

    const double search = medianMs(runs, [&] {
        database->query("select Cod from Propiedades where Estado = ? and Alquiler = 0 and Dormitorios >= ? "
                        "order by Cod",
                        {QStringLiteral("En Venta"), 3});
    });
    std::printf("typical search (state, side, bedrooms): %.1f ms\n", search);
    return 0;
}
