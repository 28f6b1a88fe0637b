// The platform pieces the web export and the office exchange stand on, each
// against its floor, interleaved round by round:
//   - photographic camera photos (4000×3000 JPEG, bench::photographicJpeg) to
//     a web picture and its thumbnail, per photo, against decoding the same
//     JPEG at 1/8 scale and nothing else;
//   - the worker pool on two threads against that floor on two threads, and
//     its speed-up over itself on one thread;
//   - 10,000 rows sent by the program's array binding (executeMany) to the
//     MariaDB server of the test fixture (scripts/test-servers.sh), against
//     bare Connector/C array binding of the same rows from ready arrays
//     (skipped without the server).
//
//   build/bench_webplatform [photos] [runs]

#include "BenchSupport.h"
#include "TestServers.h"
#include "platform/image/PicturePool.h"
#include "platform/mysql/Connection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <mysql.h>

namespace {

// The floor's work for one photo: the decode at 1/8 scale.
void decodeEighth(const QString& path) {
    QImageReader reader(path);
    reader.setScaledSize(QSize(500, 375));
    if (reader.read().isNull())
        std::printf("decode failed: %s\n", qPrintable(path));
}

void benchPictures(int photos, int runs) {
    QTemporaryDir dir;
    QList<image::PictureJob> jobs;
    const QStringList sources = bench::photographicJpegs(dir.path(), QStringLiteral("foto"), photos);
    for (int i = 0; i < photos; ++i)
        jobs << image::PictureJob{sources[i], dir.filePath(QString("w%1.jpg").arg(i)),
                                  dir.filePath(QString("t%1.jpg").arg(i))};
    const image::PictureSizes sizes{QSize(400, 300), QSize(80, 60)};
    std::printf("photos: %d of %lld KB on average\n", photos,
                (QFileInfo(sources.value(0)).size() + QFileInfo(sources.value(1)).size()) / 2048);

    const int threads = std::max(1, QThread::idealThreadCount());
    QThreadPool floorPool;
    floorPool.setMaxThreadCount(threads);
    QList<double> cpuOne, cpuPool;
    const auto s = bench::interleave(
        runs, {
                  [&] {
                      for (const auto& job : jobs)
                          decodeEighth(job.source);
                  },
                  [&] {
                      for (const auto& job : jobs)
                          if (!image::makePictures(job, sizes).ok)
                              std::printf("picture failed: %s\n", qPrintable(job.source));
                  },
                  [&] {
                      for (const auto& job : jobs)
                          floorPool.start([src = job.source] { decodeEighth(src); });
                      floorPool.waitForDone();
                  },
                  bench::withCpu([&] { image::makeAllPictures(jobs, sizes, 1); }, cpuOne),
                  bench::withCpu([&] { image::makeAllPictures(jobs, sizes, threads); }, cpuPool),
              });
    bench::floorLine("decode 4000x3000 JPEG at 1/8", s[0], "ms/photo", photos);
    bench::figure("web 400x300 + thumbnail 80x60 per photo", bench::Pair{s[0], s[1]}, "ms/photo", photos);
    const auto rate = [&](const bench::Sample& x) { return photos / (x.median() / 1000); };
    char name[96];
    std::snprintf(name, sizeof name, "pool of %d threads", threads);
    std::printf("floor on %d threads: %.1f photos/s; pool of 1 thread: %.1f photos/s\n", threads, rate(s[2]),
                rate(s[3]));
    // Time per photo against the floor's on as many threads (a ratio above 1 is the pool's cost).
    bench::figure(name, bench::Pair{s[2], s[4]}, "ms/photo", photos);
    std::snprintf(name, sizeof name, "pool of %d threads against itself on 1 (speed-up)", threads);
    bench::figure(name, rate(s[4]), "photos/s", rate(s[3]), "one thread");
    // Equal processor time with little speed-up: the workers wait for each other; more time: they compete.
    const double cpu = bench::Sample{cpuPool.mid(1)}.median();
    std::printf(
        "  processor time per photo: %.1f ms on %d threads (%.2f cores busy), %.1f ms on one (medians, "
        "warm-up left out; load %.2f)\n",
        cpu / photos, threads, cpu / s[4].median(), bench::Sample{cpuOne.mid(1)}.median() / photos,
        bench::loadAverage());
}

void benchMysql(int runs) {
    const auto servidor = testservers::mysqlServer();
    if (!servidor) {
        std::printf("mysql: skipped (no server; source scripts/test-servers.sh first)\n");
        return;
    }
    const mysql::ConnectOptions& o = servidor->options;
    auto c = mysql::Connection::connect(o);
    c->execute("DROP TABLE IF EXISTS bench_filas");
    c->execute("CREATE TABLE bench_filas (ident VARCHAR(20) PRIMARY KEY, quickid INT, agency VARCHAR(10), "
               "typees VARCHAR(50), cityes VARCHAR(50), priceeur DOUBLE, mtsbuilt DOUBLE, bedrooms INT, "
               "pool TINYINT, descriptes TEXT) ENGINE=InnoDB");
    const int n = 10000;
    QList<mysql::Params> rows;
    for (int i = 0; i < n; ++i)
        rows << mysql::Params{QString("RCSOL-%1").arg(i, 5, 10, QChar('0')),
                              i,
                              "CSOL",
                              "Ático",
                              "Marbella",
                              150000.0 + i,
                              90.5,
                              i % 5,
                              i % 2,
                              QString("Luminoso ático con vistas al mar, cerca de la playa. Nº %1").arg(i)};
    const QString insert = "INSERT INTO bench_filas VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    auto run = [&] {
        c->execute("TRUNCATE TABLE bench_filas");
        mysql::Transaction t(*c);
        c->prepare(insert)->executeMany(rows);
        t.commit();
    };
    // The floor: the same rows from ready column arrays, bound and sent by Connector/C itself.
    std::vector<QByteArray> texts[10];
    std::vector<const char*> pointers[10];
    std::vector<unsigned long> lengths[10];
    std::vector<long long> ints[10];
    std::vector<double> reals[10];
    std::vector<char> indicators(std::size_t(n), STMT_INDICATOR_NONE);
    MYSQL_BIND binds[10] = {};
    for (int col = 0; col < 10; ++col) {
        MYSQL_BIND& b = binds[col];
        b.u.indicator = indicators.data();
        const int t = rows[0][col].typeId();
        for (const auto& r : rows) {
            if (t == QMetaType::Int)
                ints[col].push_back(r[col].toLongLong());
            else if (t == QMetaType::Double)
                reals[col].push_back(r[col].toDouble());
            else
                texts[col].push_back(r[col].toString().toUtf8());
        }
        if (t == QMetaType::Int) {
            b.buffer_type = MYSQL_TYPE_LONGLONG;
            b.buffer = ints[col].data();
        } else if (t == QMetaType::Double) {
            b.buffer_type = MYSQL_TYPE_DOUBLE;
            b.buffer = reals[col].data();
        } else {
            for (const QByteArray& x : texts[col]) {
                pointers[col].push_back(x.constData());
                lengths[col].push_back(static_cast<unsigned long>(x.size()));
            }
            b.buffer_type = MYSQL_TYPE_STRING;
            b.buffer = pointers[col].data();
            b.length = lengths[col].data();
        }
    }
    MYSQL* m = c->handle();
    auto bare = [&] {
        c->execute("TRUNCATE TABLE bench_filas");
        mysql_query(m, "START TRANSACTION");
        MYSQL_STMT* st = mysql_stmt_init(m);
        const QByteArray sql = insert.toUtf8();
        mysql_stmt_prepare(st, sql.constData(), sql.size());
        unsigned size = unsigned(n);
        mysql_stmt_attr_set(st, STMT_ATTR_ARRAY_SIZE, &size);
        mysql_stmt_bind_param(st, binds);
        if (mysql_stmt_execute(st) != 0)
            std::printf("bare insert: %s\n", mysql_stmt_error(st));
        mysql_stmt_close(st);
        mysql_query(m, "COMMIT");
    };
    const bench::Pair p = bench::compare(runs, bare, run);
    std::printf("mysql %d rows: %s in the table\n", n,
                qPrintable(c->scalar("SELECT count(*) FROM bench_filas").toString()));
    char name[64];
    std::snprintf(name, sizeof name, "mysql %d rows, array binding (executeMany)", n);
    bench::figure(name, p);
    std::printf("mysql array binding throughput: %.0f rows/s\n", n / (p.program.median() / 1000));
    c->execute("DROP TABLE bench_filas");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int photos = argc > 1 ? std::max(1, atoi(argv[1])) : 8;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    benchPictures(photos, runs);
    try {
        benchMysql(runs);
    } catch (const mysql::MysqlError& e) {
        std::printf("mysql: %s\n", qPrintable(e.describe()));
        return 1;
    }
    return 0;
}
