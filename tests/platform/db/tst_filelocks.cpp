// The agency database stays locked however else the process touches its
// files: a file dialog or a copy that opens and closes Orbalia.db, -wal or
// -shm must not hand the file over to another process, which would delete
// the WAL and with it every change confirmed since.

#include "dbtestutil.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

using namespace db;

class tst_FileLocks : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString file() const { return dir.filePath("Orbalia.db"); }

    // The sqlite3 tool as another process on the file: its output, or "ERROR: …".
    static QString otherProcess(const QString& path, const QString& sql) {
        const QString tool = QStandardPaths::findExecutable("sqlite3");
        if (tool.isEmpty())
            return QStringLiteral("ERROR: sqlite3 no está instalado");
        QProcess p;
        p.start(tool, {"-batch", path, sql});
        if (!p.waitForFinished(30000))
            return QStringLiteral("ERROR: sqlite3 no termina");
        const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
        return p.exitCode() == 0 && err.isEmpty() ? out : QStringLiteral("ERROR: ") + err;
    }
    // What a file dialog guessing the file types does.
    static void peek(const QString& path) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            f.read(64);
            f.close();
        }
    }

private Q_SLOTS:
    void init() {
        QVERIFY(dir.isValid());
        if (QStandardPaths::findExecutable("sqlite3").isEmpty())
            QSKIP("sqlite3 no está instalado (paquete sqlite3)");
        auto db = Database::open(file(), {.create = true});
        db->execute("CREATE TABLE t (x INTEGER)");
    }
    void cleanup() {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(file() + suffix);
    }

    void changesSurviveTheFilesBeingReadBehindTheDatabase() {
        auto a = Database::open(file());
        auto b = Database::open(file()); // windows and the context hold connections of their own
        a->execute("INSERT INTO t VALUES (1)");
        QCOMPARE(b->scalar("SELECT count(*) FROM t").toInt(), 1);
        for (const char* suffix : {"", "-wal", "-shm"})
            peek(file() + suffix);
        // The other process must still see a database in use: it neither
        // checkpoints nor removes the WAL when it ends.
        QCOMPARE(otherProcess(file(), "SELECT count(*) FROM t;"), QString("1"));
        QVERIFY(QFile::exists(file() + "-wal"));
        a->execute("INSERT INTO t VALUES (2)");
        QCOMPARE(otherProcess(file(), "SELECT count(*) FROM t;"), QString("2"));
        a.reset();
        b.reset();
        auto fresh = Database::open(file());
        QCOMPARE(fresh->scalar("SELECT count(*) FROM t").toInt(), 2);
    }

    void otherProcessesWaitWhileWeWriteAndGetTheFileWhenWeClose() {
        auto a = Database::open(file());
        auto b = Database::open(file());
        peek(file());
        {
            Transaction tr(*a);
            a->execute("INSERT INTO t VALUES (1)");
            QVERIFY(otherProcess(file(), "INSERT INTO t VALUES (9);").contains("locked"));
            tr.commit();
        }
        QCOMPARE(otherProcess(file(), "INSERT INTO t VALUES (2);"), QString());
        QCOMPARE(b->scalar("SELECT group_concat(x) FROM t").toString(), QString("1,2"));
        // Once the last connection is closed no lock is left behind: another
        // process takes the whole file (leaving WAL needs it alone).
        a.reset();
        QVERIFY(otherProcess(file(), "PRAGMA journal_mode = DELETE;").startsWith("ERROR"));
        b.reset();
        QCOMPARE(otherProcess(file(), "PRAGMA journal_mode = DELETE;"), QString("delete"));
        QVERIFY(!QFile::exists(file() + "-wal"));

        // Nor a descriptor: a run opens and closes exchange and export files by the hundred.
        const auto descriptores = [] {
            return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size();
        };
        const qsizetype antes = descriptores();
        for (int i = 0; i < 20; ++i)
            Database::open(file())->execute("INSERT INTO t VALUES (3)");
        QCOMPARE(descriptores(), antes);
    }
};

QTEST_GUILESS_MAIN(tst_FileLocks)
#include "tst_filelocks.moc"
