#include "TestServers.h"
#include "platform/process/ProcessRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

QStringList filesUnder(const QString& root) {
    QStringList out;
    QDir dir(root);
    const auto entries = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& e : entries) {
        if (e.isDir())
            for (const QString& f : filesUnder(e.filePath()))
                out << e.fileName() + "/" + f;
        else
            out << e.fileName();
    }
    return out;
}

} // namespace

// The upload the web export and the office exchange rely on, against the
// real daemon: what arrives, and what a mirror removes.
class tst_RsyncDaemon : public QObject {
    Q_OBJECT

    static int push(const testservers::Rsync& s, const QString& from, const QString& to, QStringList* log) {
        proc::ProcessRunner runner;
        return runner.run("rsync",
                          {QString("--port=%1").arg(s.port), "-rt", "--delete", "--verbose", from, to},
                          [log](const QString& l) { log->append(l); });
    }

private Q_SLOTS:
    void mirrorsAFolderToTheWebModule() {
        ORB_REQUIRE_RSYNC(server);
        QVERIFY(server.webModules.contains("xwebTEST"));
        const QString module = server.moduleDir("xwebTEST");
        QTemporaryDir local;
        const QString web = local.filePath("Web/");
        writeFile(web + "RTEST-00001-1.jpg", "foto 1");
        writeFile(web + "RTEST-00002-4.jpg", "foto 2");
        writeFile(web + "thumbs/RTEST-00001-1.jpg", "mini 1");
        writeFile(web + "thumbs/RTEST-00002-4.jpg", "mini 2");

        QStringList log;
        const QString target = server.host + "::xwebTEST";
        QCOMPARE(push(server, web, target, &log), 0);
        QCOMPARE(filesUnder(module), QStringList({"RTEST-00001-1.jpg", "RTEST-00002-4.jpg",
                                                  "thumbs/RTEST-00001-1.jpg", "thumbs/RTEST-00002-4.jpg"}));
        QVERIFY(log.contains("thumbs/RTEST-00002-4.jpg"));

        // A property gone from the local folder is gone from the server after the next push.
        QVERIFY(QFile::remove(web + "RTEST-00002-4.jpg"));
        QVERIFY(QFile::remove(web + "thumbs/RTEST-00002-4.jpg"));
        log.clear();
        QCOMPARE(push(server, web, target, &log), 0);
        QCOMPARE(filesUnder(module), QStringList({"RTEST-00001-1.jpg", "thumbs/RTEST-00001-1.jpg"}));
        QVERIFY(log.contains("deleting RTEST-00002-4.jpg"));
    }

    void exchangeModulesNeedTheUsersPassword() {
        ORB_REQUIRE_RSYNC(server);
        QVERIFY(!server.users.isEmpty());
        const QString user = server.users.first();
        QTemporaryDir local;
        writeFile(local.filePath("1/Export.db"), "datos");
        const QString target = user + "@" + server.host + "::" + user + "/1/";

        QStringList log;
        qputenv("RSYNC_PASSWORD", "clave-equivocada");
        QCOMPARE(push(server, local.filePath("1/"), target, &log), 5);
        QVERIFY(log.join('\n').contains("auth failed"));
        QVERIFY(!QFile::exists(server.moduleDir(user) + "/1/Export.db"));

        qputenv("RSYNC_PASSWORD", server.password.toUtf8());
        QCOMPARE(push(server, local.filePath("1/"), target, &log), 0);
        qunsetenv("RSYNC_PASSWORD");
        QFile arrived(server.moduleDir(user) + "/1/Export.db");
        QVERIFY(arrived.open(QIODevice::ReadOnly));
        QCOMPARE(arrived.readAll(), QByteArray("datos"));
    }
};

QTEST_GUILESS_MAIN(tst_RsyncDaemon)
#include "tst_rsyncdaemon.moc"
