#include "DiscoPequeno.h"
#include "platform/image/Picture.h"
#include "platform/image/PicturePool.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace image;

namespace {

// A photograph-like JPEG: left half red, right half blue, a green band at the top.
QString makeJpeg(const QString& path, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(0, 0, size.width() / 2, size.height(), QColor(220, 30, 30));
    p.fillRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height(), QColor(30, 30, 220));
    p.fillRect(0, 0, size.width(), size.height() / 10, QColor(30, 200, 30));
    p.end();
    if (!img.save(path, "JPEG", 90))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QSize sizeOf(const QString& path) {
    QImageReader r(path);
    return r.format() == "jpeg" ? r.size() : QSize();
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_Picture : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private Q_SLOTS:
    void fitRoundsAndRefusesAnEmptyBox_data() {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("panorama") << QSize(6000, 1000) << QSize(400, 300) << QSize(400, 67);
        QTest::newRow("empty box") << QSize(400, 300) << QSize(0, 60) << QSize();
    }
    void fitRoundsAndRefusesAnEmptyBox() {
        QFETCH(QSize, source);
        QFETCH(QSize, box);
        QFETCH(QSize, expected);
        QCOMPARE(fitInside(source, box), expected);
    }

    void webPictureAndThumbnail_data() {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("web");
        QTest::addColumn<QSize>("thumb");
        const QSize web(400, 300);
        QTest::newRow("landscape, reduced decode")
            << QSize(2400, 1800) << web << QSize(400, 300) << QSize(80, 60);
        QTest::newRow("portrait") << QSize(1200, 1600) << web << QSize(225, 300) << QSize(45, 60);
        QTest::newRow("odd sides") << QSize(1001, 751) << web << QSize(400, 300) << QSize(80, 60);
        QTest::newRow("smaller than web size") << QSize(320, 240) << web << QSize(320, 240) << QSize(80, 60);
        QTest::newRow("office size") << QSize(2000, 1500) << QSize(800, 600) << QSize(800, 600)
                                     << QSize(80, 60);
    }
    void webPictureAndThumbnail() {
        QFETCH(QSize, source);
        QFETCH(QSize, box);
        QFETCH(QSize, web);
        QFETCH(QSize, thumb);
        const QString src = makeJpeg(path("src.jpg"), source);
        const PictureSizes sizes{box, QSize(80, 60)};
        const PictureJob job{src, path("web.jpg"), path("thumb.jpg")};
        const PictureResult r = makePictures(job, sizes);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(sizeOf(job.webTarget), web);
        QCOMPARE(sizeOf(job.thumbTarget), thumb);
        // The picture is the whole photograph, scaled, not a corner of it.
        for (const QString& f : {job.webTarget, job.thumbTarget}) {
            const QImage out(f);
            QVERIFY(near(out.pixelColor(out.width() / 4, out.height() / 2), QColor(220, 30, 30)));
            QVERIFY(near(out.pixelColor(out.width() * 3 / 4, out.height() / 2), QColor(30, 30, 220)));
            QVERIFY(near(out.pixelColor(out.width() / 2, out.height() / 40), QColor(30, 200, 30)));
        }
    }

    void brokenFilesGiveAnErrorAndWriteNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Fault>("fault");
        QFile good(makeJpeg(path("bueno.jpg"), QSize(800, 600)));
        QVERIFY(good.open(QIODevice::ReadOnly));
        const QByteArray jpeg = good.readAll();
        QByteArray noise(20000, Qt::Uninitialized);
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        QTest::newRow("missing") << "falta.jpg" << QByteArray() << Fault::Missing;
        QTest::newRow("empty") << "vacia.jpg" << QByteArray("") << Fault::Damaged;
        QTest::newRow("header only") << "cabecera.jpg" << jpeg.left(300) << Fault::Damaged;
        QTest::newRow("random bytes") << "ruido.jpg" << noise << Fault::Damaged;
        QTest::newRow("text named jpg") << "texto.jpg" << QByteArray("no soy una foto\n") << Fault::Damaged;
        // There, but not a file that can be read: the decoder would say "File not found".
        QTest::newRow("folder named jpg") << "carpeta.jpg" << QByteArray() << Fault::CannotOpen;
    }
    void brokenFilesGiveAnErrorAndWriteNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(Fault, fault);
        if (!bytes.isNull())
            writeBytes(path(name), bytes);
        if (fault == Fault::CannotOpen)
            QVERIFY(QDir().mkpath(path(name)));
        const PictureJob job{path(name), path("w-" + name), path("t-" + name)};
        const PictureResult r = makePictures(job, {QSize(400, 300), QSize(80, 60)});
        QVERIFY(!r.ok);
        QCOMPARE(r.fault, fault);
        QCOMPARE(r.error, QString("No se puede leer la imagen %1: %2.").arg(job.source, faultText(fault)));
        QVERIFY(!QFile::exists(job.webTarget));
        QVERIFY(!QFile::exists(job.thumbTarget));
    }

    void unwritableTargetIsAnError() {
        const QString src = makeJpeg(path("destino.jpg"), QSize(800, 600));
        const PictureResult r =
            makePictures({src, path("no/existe/web.jpg"), {}}, {QSize(400, 300), QSize(80, 60)});
        QVERIFY(!r.ok);
        QCOMPARE(r.fault, Fault::CannotWrite);
        QVERIFY(r.error.contains("web.jpg"));
    }

    // A picture that cannot be made leaves the one already there, web
    // picture and thumbnail alike, and no temporary file.
    void failedJobKeepsTheOldPictures_data() {
        QTest::addColumn<bool>("brokenSource"); // else the thumbnail's folder is missing
        QTest::newRow("broken photograph") << true;
        QTest::newRow("thumbnail not writable") << false;
    }
    void failedJobKeepsTheOldPictures() {
        QFETCH(bool, brokenSource);
        QTemporaryDir out;
        const QString web = out.filePath("RB12-00001-1.jpg");
        const QString thumbs = out.filePath("thumbs");
        QDir().mkpath(thumbs);
        writeBytes(web, "antigua web");
        writeBytes(thumbs + "/RB12-00001-1.jpg", "antigua miniatura");
        const QString src = brokenSource ? path("rota-antigua.jpg") : makeJpeg(path("nueva.jpg"), {800, 600});
        if (brokenSource)
            writeBytes(src, "rota");
        else
            QVERIFY(QDir(thumbs).removeRecursively());
        const QString thumb = thumbs + "/RB12-00001-1.jpg";
        const PictureResult r = makePictures({src, web, thumb}, {QSize(400, 300), QSize(80, 60)});
        QVERIFY(!r.ok);
        QCOMPARE(readAll(web), QByteArray("antigua web"));
        if (brokenSource)
            QCOMPARE(readAll(thumb), QByteArray("antigua miniatura"));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"RB12-00001-1.jpg"});
    }

    // The real thing: a disk with no room left. The old file stays whole.
    void fullDiskIsToldAndKeepsTheOldFile() {
        QTemporaryDir out;
        ORB_REQUIRE_SMALL_DISK(disco, out.filePath("disco"), 256 * 1024);
        const QString target = out.filePath("disco/foto.jpg");
        writeBytes(target, "antigua");
        disco.llenar();
        const QImage picture = QImage(makeJpeg(path("llena.jpg"), {800, 600}));
        PictureError error;
        QVERIFY(!saveJpeg(picture, target, 85, &error));
        QCOMPARE(error.fault, Fault::DiskFull);
        QCOMPARE(error.text, QString("No se puede guardar la imagen %1: el disco está lleno.").arg(target));
        QCOMPARE(readAll(target), QByteArray("antigua"));
        QCOMPARE(QDir(out.filePath("disco")).entryList(QDir::Files | QDir::Hidden), QStringList{"foto.jpg"});
        disco.vaciar();
        QVERIFY2(saveJpeg(picture, target, 85, &error), qPrintable(error.text));
        QCOMPARE(sizeOf(target), QSize(800, 600));
    }

    void poolProcessesEveryJobInOrder() {
        QList<PictureJob> jobs;
        for (int i = 0; i < 12; ++i) {
            const QString src =
                i == 5 ? path("rota.jpg") : makeJpeg(path(QString("p%1.jpg").arg(i)), QSize(1200, 900));
            jobs << PictureJob{src, path(QString("w%1.jpg").arg(i)), path(QString("t%1.jpg").arg(i))};
        }
        writeBytes(path("rota.jpg"), "rota");
        QList<QPair<int, int>> progress;
        const QList<PictureResult> results =
            makeAllPictures(jobs, {QSize(400, 300), QSize(80, 60)}, 2,
                            [&](int done, int total) { progress << qMakePair(done, total); });
        QCOMPARE(results.size(), 12);
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(results[i].ok, i != 5);
            QCOMPARE(QFile::exists(jobs[i].webTarget), i != 5);
            QCOMPARE(QFile::exists(jobs[i].thumbTarget), i != 5);
        }
        QVERIFY(results[5].error.contains("rota.jpg"));
        QCOMPARE(progress.size(), 12);
        for (int i = 0; i < 12; ++i)
            QCOMPARE(progress[i], qMakePair(i + 1, 12));
    }

    void cancelledJobsWriteNothing() {
        const QString src = makeJpeg(path("grande.jpg"), QSize(2400, 1800));
        PicturePool pool({QSize(400, 300), QSize(80, 60)}, 1);
        QList<PictureJob> jobs;
        for (int i = 0; i < 20; ++i) {
            jobs << PictureJob{src, path(QString("cw%1.jpg").arg(i)), path(QString("ct%1.jpg").arg(i))};
            pool.submit(jobs.last());
        }
        pool.cancel();
        const QList<PictureResult> results = pool.waitForAll();
        QCOMPARE(results.size(), 20);
        QCOMPARE(pool.finished(), 20);
        int cancelled = 0;
        for (int i = 0; i < 20; ++i) {
            QVERIFY(results[i].ok != results[i].cancelled);
            if (results[i].cancelled) {
                ++cancelled;
                QVERIFY(!QFile::exists(jobs[i].webTarget));
            }
        }
        QVERIFY(cancelled >= 10);
    }
};

QTEST_GUILESS_MAIN(tst_Picture)
#include "tst_picture.moc"
