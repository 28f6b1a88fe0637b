// The platform pieces the web export and the office exchange stand on, each
// against its floor measured in the same run:
//   - camera photos (4000×3000 JPEG) to a web picture and its thumbnail, per
//     photo, against decoding the same JPEG at 1/8 scale and nothing else;
//   - the worker pool's throughput against one thread;
//   - 10,000 rows sent by array binding to the MariaDB server of the test
//     fixture (scripts/test-servers.sh), against the same rows inserted one
//     prepared execution at a time (skipped without the server).
//
//   build/bench_webplatform [photos] [runs]

#include "BenchSupport.h"
#include "TestServers.h"
#include "platform/image/PicturePool.h"
#include "platform/mysql/Connection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using bench::medianMs;

// Something with the detail of a real photograph, so the JPEG is of a real size.
void makePhoto(const QString& path, int seed) {
    QImage img(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    QPainter p(&img);
    QLinearGradient sky(0, 0, 0, 3000);
    sky.setColorAt(0, QColor(90, 150, 230));
    sky.setColorAt(1, QColor(240, 220, 180));
    p.fillRect(img.rect(), sky);
    for (int i = 0; i < 3000; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(rng.bounded(256), rng.bounded(256), rng.bounded(256)));
        p.drawEllipse(QPoint(rng.bounded(4000), rng.bounded(3000)), rng.bounded(5, 80), rng.bounded(5, 80));
    }
    p.end();
    img.save(path, "JPEG", 90);
}

void line(const char* name, double value, const char* unit, double floor) {
    std::printf("%s: %.2f %s (%.2f× floor)\n", name, value, unit, value / floor);
}

void benchPictures(int photos, int runs) {
    QTemporaryDir dir;
    QList<image::PictureJob> jobs;
    for (int i = 0; i < photos; ++i) {
        const QString src = dir.filePath(QString("foto%1.jpg").arg(i));
        makePhoto(src, i);
        jobs << image::PictureJob{src, dir.filePath(QString("w%1.jpg").arg(i)),
                                  dir.filePath(QString("t%1.jpg").arg(i))};
    }
    const image::PictureSizes sizes{QSize(400, 300), QSize(80, 60)};

    const double floorMs = medianMs(runs,
                                    [&] {
                                        for (const auto& job : jobs) {
                                            QImageReader reader(job.source);
                                            reader.setScaledSize(QSize(500, 375));
                                            if (reader.read().isNull())
                                                std::printf("decode failed: %s\n", qPrintable(job.source));
                                        }
                                    }) /
                           photos;
    const double oneMs = medianMs(runs,
                                  [&] {
                                      for (const auto& job : jobs)
                                          if (!image::makePictures(job, sizes).ok)
                                              std::printf("picture failed: %s\n", qPrintable(job.source));
                                  }) /
                         photos;
    std::printf("decode 4000x3000 JPEG at 1/8 (floor): %.2f ms/photo\n", floorMs);
    line("web 400x300 + thumbnail 80x60 per photo", oneMs, "ms/photo", floorMs);

    const int threads = std::max(1, QThread::idealThreadCount());
    const double singleMs = medianMs(runs, [&] { image::makeAllPictures(jobs, sizes, 1); });
    const double poolMs = medianMs(runs, [&] { image::makeAllPictures(jobs, sizes, threads); });
    const double single = photos / (singleMs / 1000), pool = photos / (poolMs / 1000);
    std::printf("pool of 1 thread (floor): %.1f photos/s\n", single);
    char name[64];
    std::snprintf(name, sizeof name, "pool of %d threads", threads);
    line(name, pool, "photos/s", single);
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
    auto run = [&](bool bulk) {
        c->execute("TRUNCATE TABLE bench_filas");
        mysql::Transaction t(*c);
        auto s = c->prepare(insert);
        if (bulk)
            s->executeMany(rows);
        else
            for (const auto& r : rows)
                s->execute(r);
        t.commit();
    };
    const double oneByOne = medianMs(runs, [&] { run(false); });
    const double bulk = medianMs(runs, [&] { run(true); });
    std::printf("mysql %d rows, one execution per row (peer): %.1f ms\n", n, oneByOne);
    std::printf("mysql %d rows, array binding: %.1f ms (%.2f× peer)\n", n, bulk, bulk / oneByOne);
    std::printf("mysql array binding throughput: %.0f rows/s\n", n / (bulk / 1000));
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
