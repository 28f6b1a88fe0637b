// orbalia-updatedb as the program starts it: a real process on a real file.

#include "TestInstallation.h"
#include "platform/db/Database.h"
#include "shell/Schema.h"
#include "shell/Upgrade.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString upgrader() {
    QString dir = qEnvironmentVariable("ORBALIA_BIN_DIR");
    if (dir.isEmpty())
        dir = ORBALIA_BINARY_DIR;
    return QDir(dir).filePath("orbalia-updatedb");
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runUpgrader(const QString& home, const QStringList& args = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORBALIA_HOME", home);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(home);
    p.start(upgrader(), args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// A database as an older program left it; a version-5 one has no office codes on clients.
QString writeOldDatabase(const QTemporaryDir& home, int version) {
    const QString path = home.filePath("Orbalia.db");
    auto d = db::Database::open(path, {.create = true, .durable = false});
    d->executeScript(
        QString("CREATE TABLE Config (Grupo VARCHAR(50), Variable VARCHAR(50), Valor VARCHAR(255));"
                "CREATE TABLE Propiedades (Cod VARCHAR(20), Agencia VARCHAR(10), QuickID INTEGER, "
                "Precio CURRENCY);"
                "CREATE TABLE Clientes (Cod VARCHAR(20), Nombre VARCHAR(50) %1);"
                "INSERT INTO Config VALUES ('CONTADORES', 'PROPIEDADES', '3');"
                "INSERT INTO Propiedades VALUES ('0100003', '01', 3, 99000);"
                "INSERT INTO Clientes (Cod, Nombre) VALUES ('0100001', 'Ana Peña');")
            .arg(version > 5 ? QString(", Agencia VARCHAR(10)") : QString()));
    d->setUserVersion(version);
    return path;
}

QStringList backups(const QString& folder) {
    return QDir(folder).entryList({"Orbalia-*.db"}, QDir::Files);
}

int versionOf(const QString& path) {
    return db::Database::open(path, {.durable = false})->userVersion();
}

} // namespace

class TestUpdateDb : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QFileInfo(upgrader()).isExecutable(), qPrintable(upgrader())); }

    void createsAMissingDatabase() {
        QTemporaryDir home;
        const Run r = runUpgrader(home.path());
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains(QString("versión %1").arg(orb::schema::CurrentVersion)));
        const QString path = home.filePath("Orbalia.db");
        QCOMPARE(versionOf(path), orb::schema::CurrentVersion);
        QVERIFY(db::Database::open(path)->tableExists("fichapropiedades"));
        QVERIFY(backups(home.path()).isEmpty()); // nothing existed to keep
    }

    void migratesAnOldDatabaseAndTemplateAfterADatedBackup() {
        QTemporaryDir home;
        const QString path = writeOldDatabase(home, 9);
        const QString plantilla = home.filePath("ExportSchema.db");
        {
            // A version-10 exchange template: clients without wishes, no wanted places.
            auto t = db::Database::open(plantilla, {.create = true, .durable = false});
            t->executeScript("CREATE TABLE Clientes (Cod VARCHAR(20), Agencia VARCHAR(10));");
            t->setUserVersion(10);
        }
        const Run r = runUpgrader(home.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(versionOf(path), orb::schema::CurrentVersion);
        auto d = db::Database::open(path);
        QCOMPARE(d->scalar("SELECT Precio FROM Propiedades").toDouble(), 99000.0);
        QCOMPARE(d->scalar("SELECT Nombre FROM Clientes").toString(), "Ana Peña");

        const QStringList copies = backups(home.path());
        QCOMPARE(copies.size(), 1);
        QVERIFY2(QRegularExpression("^Orbalia-\\d{8}-\\d{6}\\.db$").match(copies[0]).hasMatch(),
                 qPrintable(copies[0]));
        QVERIFY(r.out.contains(copies[0]));
        // The copy is the database as it was before.
        QCOMPARE(versionOf(home.filePath(copies[0])), 9);
        QVERIFY(!db::Database::open(home.filePath(copies[0]))->tableExists("Actividades"));

        // The template is written again, whole, in place.
        QVERIFY2(r.out.contains("ExportSchema.db"), qPrintable(r.out));
        auto t = db::Database::open(plantilla, {.readOnly = true, .durable = false});
        QCOMPARE(t->userVersion(), orb::schema::CurrentVersion);
        QVERIFY(t->tableExists("ClientesZonas"));
        QCOMPARE(
            t->scalar("SELECT count(*) FROM pragma_table_info('Clientes') WHERE name = 'PresupuestoMinimo'")
                .toInt(),
            1);
        QVERIFY(!QFileInfo::exists(plantilla + ".new"));

        // Run again: nothing to do, no new copy.
        const Run again = runUpgrader(home.path());
        QCOMPARE(again.exitCode, 0);
        QVERIFY(again.out.contains("nada que actualizar"));
        QCOMPARE(backups(home.path()), copies);
    }

    void officeArgumentOfVersion5_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QVariant>("agencia");
        QTest::newRow("office 02") << "0200000" << QVariant("02");
        QTest::newRow("no office") << "00000" << QVariant();
    }
    void officeArgumentOfVersion5() {
        QFETCH(QString, argument);
        QFETCH(QVariant, agencia);
        QTemporaryDir home;
        const QString path = writeOldDatabase(home, 5);
        QCOMPARE(runUpgrader(home.path(), {argument}).exitCode, 0);
        QCOMPARE(versionOf(path), orb::schema::CurrentVersion);
        auto d = db::Database::open(path);
        QCOMPARE(d->scalar("SELECT Agencia FROM Clientes"), agencia);
        // Office codes that were there are kept.
        QCOMPARE(d->scalar("SELECT Agencia FROM Propiedades").toString(), "01");
    }

    void wrongArgumentsAreRefused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("option") << QStringList{"--borrar-todo"};
        QTest::newRow("office without 00000") << QStringList{"01"};
        QTest::newRow("not an office") << QStringList{"-x00000"};
        QTest::newRow("two") << QStringList{"0100000", "0100000"};
    }
    void wrongArgumentsAreRefused() {
        QFETCH(QStringList, arguments);
        QTemporaryDir home;
        const Run r = runUpgrader(home.path(), arguments);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains("Uso:"));
        QVERIFY(!QFileInfo::exists(home.filePath("Orbalia.db")));
    }

    void failuresLeaveTheDatabaseAsItWas() {
        QTemporaryDir home;
        const QString path = home.filePath("Orbalia.db");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray junk(8192, 'x');
        f.write(junk);
        f.close();
        Run r = runUpgrader(home.path());
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("Error") && r.err.contains("no se ha actualizado"), qPrintable(r.err));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), junk);
        f.close();

        // Two properties with one code: the unique index cannot be built.
        QVERIFY(f.remove());
        writeOldDatabase(home, 9);
        db::Database::open(path)->execute("INSERT INTO Propiedades VALUES ('0100003', '01', 3, 1)");
        r = runUpgrader(home.path());
        QCOMPARE(r.exitCode, 1);
        // The cause in plain words, the engine's text kept for Orbalia.log.
        QVERIFY2(r.err.startsWith("Error: Ya existe un registro con los mismos datos. Los detalles se han "
                                  "guardado en "),
                 qPrintable(r.err));
        QVERIFY(!r.err.contains("UNIQUE constraint failed"));
        QVERIFY(QFile(home.filePath("Orbalia.log")).size() > 0);
        QCOMPARE(versionOf(path), 9);
        QCOMPARE(backups(home.path()).size(), 1);
    }

    // Search order, without processes: home alone when set; otherwise the
    // executable's folder, then the working directory.
    void databaseSearchOrder() {
        QTemporaryDir home, program, cwd;
        auto touch = [](const QTemporaryDir& d) {
            QFile f(d.filePath("Orbalia.db"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        };
        auto in = [](const QTemporaryDir& d) { return QDir(d.path()).filePath("Orbalia.db"); };
        using orb::upgrade::locateDatabase;
        // Nothing anywhere: created in the installation folder.
        QCOMPARE(locateDatabase({home.path(), program.path(), cwd.path()}), in(home));
        QCOMPARE(locateDatabase({QString(), program.path(), cwd.path()}), in(program));
        touch(cwd);
        QCOMPARE(locateDatabase({QString(), program.path(), cwd.path()}), in(cwd));
        QCOMPARE(locateDatabase({home.path(), program.path(), cwd.path()}), in(home));
        touch(program);
        QCOMPARE(locateDatabase({QString(), program.path(), cwd.path()}), in(program));
    }

    void backupNamesNeverClash() {
        QTemporaryDir dir;
        const QString db = dir.filePath("Orbalia.db");
        const QDateTime when(QDate(2026, 3, 9), QTime(8, 5, 7));
        const QString first = orb::upgrade::backupPath(db, when);
        QCOMPARE(QFileInfo(first).fileName(), "Orbalia-20260309-080507.db");
        QFile f(first);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(QFileInfo(orb::upgrade::backupPath(db, when)).fileName(), "Orbalia-20260309-080507-2.db");
    }
};

QTEST_GUILESS_MAIN(TestUpdateDb)
#include "tst_updatedb.moc"
