// orbalia-updatedb as the program starts it: a real process on a real file.

#include "TestInstallation.h"
#include "platform/db/Database.h"
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
        dir = QStringLiteral(ORBALIA_BINARY_DIR);
    return QDir(dir).filePath(QStringLiteral("orbalia-updatedb"));
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runUpgrader(const QString& home, const QStringList& args = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORBALIA_HOME"), home);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(home);
    p.start(upgrader(), args);
    if (!p.waitForFinished(60000))
        return {};
    Run r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A database as an older program left it.
void writeOldDatabase(const QString& path, int version, bool withOfficeCodes = true) {
    auto d = db::Database::open(path, {.create = true, .durable = false});
    d->executeScript(QStringLiteral(
        "CREATE TABLE Config (Grupo VARCHAR(50), Variable VARCHAR(50), Valor VARCHAR(255));"
        "CREATE TABLE Propiedades (Cod VARCHAR(20), Agencia VARCHAR(10), QuickID INTEGER, Precio CURRENCY);"
        "INSERT INTO Config VALUES ('CONTADORES', 'PROPIEDADES', '3');"
        "INSERT INTO Propiedades VALUES ('0100003', '01', 3, 99000);"));
    if (withOfficeCodes)
        d->executeScript(
            QStringLiteral("CREATE TABLE Clientes (Cod VARCHAR(20), Agencia VARCHAR(10), Nombre VARCHAR(50));"
                           "INSERT INTO Clientes VALUES ('0100001', '01', 'Ana Peña');"));
    else
        d->executeScript(QStringLiteral("CREATE TABLE Clientes (Cod VARCHAR(20), Nombre VARCHAR(50));"
                                        "INSERT INTO Clientes VALUES ('0100001', 'Ana Peña');"));
    d->setUserVersion(version);
}

QStringList backups(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("Orbalia-*.db")}, QDir::Files);
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
        const QString path = home.filePath(QStringLiteral("Orbalia.db"));
        QVERIFY(QFileInfo(path).isFile());
        QCOMPARE(versionOf(path), 10);
        QVERIFY(r.out.contains(QStringLiteral("versión 10")));
        QVERIFY(backups(home.path()).isEmpty()); // nothing existed to keep
        auto d = db::Database::open(path);
        QVERIFY(d->tableExists(QStringLiteral("Propiedades")));
        QVERIFY(d->tableExists(QStringLiteral("fichapropiedades")));
    }

    void migratesAnOldDatabaseAfterADatedBackup() {
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("Orbalia.db"));
        writeOldDatabase(path, 9);
        const Run r = runUpgrader(home.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(versionOf(path), 10);
        auto d = db::Database::open(path);
        QCOMPARE(d->scalar(QStringLiteral("SELECT Precio FROM Propiedades WHERE Cod = '0100003'")).toDouble(),
                 99000.0);
        QCOMPARE(d->scalar(QStringLiteral("SELECT Nombre FROM Clientes")).toString(),
                 QStringLiteral("Ana Peña"));

        const QStringList copies = backups(home.path());
        QCOMPARE(copies.size(), 1);
        QVERIFY2(
            QRegularExpression(QStringLiteral("^Orbalia-\\d{8}-\\d{6}\\.db$")).match(copies[0]).hasMatch(),
            qPrintable(copies[0]));
        QVERIFY(r.out.contains(copies[0]));
        // The copy is the database as it was before.
        const QString copy = home.filePath(copies[0]);
        QCOMPARE(versionOf(copy), 9);
        auto old = db::Database::open(copy, {.durable = false});
        QVERIFY(!old->tableExists(QStringLiteral("Actividades")));
        QCOMPARE(old->scalar(QStringLiteral("SELECT QuickID FROM Propiedades")).toInt(), 3);
    }

    void currentDatabaseIsLeftAlone() {
        TestInstallation inst;
        const Run r = runUpgrader(inst.path());
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains(QStringLiteral("nada que actualizar")));
        QVERIFY(backups(inst.path()).isEmpty());
        QCOMPARE(versionOf(inst.file(QStringLiteral("Orbalia.db"))), 10);
    }

    void officeArgumentOfVersion5() {
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("Orbalia.db"));
        writeOldDatabase(path, 5, false);
        const Run r = runUpgrader(home.path(), {QStringLiteral("0200000")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(versionOf(path), 10);
        auto d = db::Database::open(path);
        QCOMPARE(d->scalar(QStringLiteral("SELECT Agencia FROM Clientes WHERE Cod = '0100001'")).toString(),
                 QStringLiteral("02"));
        // Office codes that were there are kept.
        QCOMPARE(d->scalar(QStringLiteral("SELECT Agencia FROM Propiedades")).toString(),
                 QStringLiteral("01"));
    }

    void wrongArgumentsAreRefused() {
        QTemporaryDir home;
        const Run r = runUpgrader(home.path(), {QStringLiteral("--borrar-todo")});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains(QStringLiteral("Uso:")));
        QVERIFY(!QFileInfo::exists(home.filePath(QStringLiteral("Orbalia.db"))));
    }

    void unreadableDatabaseFailsWithAMessage() {
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("Orbalia.db"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray junk(8192, 'x');
        f.write(junk);
        f.close();
        const Run r = runUpgrader(home.path());
        QVERIFY(r.exitCode != 0);
        QVERIFY2(r.err.contains(QStringLiteral("Error")), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("no se ha actualizado")));
        QFile again(path);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), junk);
    }

    void duplicateCodesStopTheMigration() {
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("Orbalia.db"));
        writeOldDatabase(path, 9);
        db::Database::open(path)->execute(
            QStringLiteral("INSERT INTO Propiedades VALUES ('0100003', '01', 3, 1)"));
        const Run r = runUpgrader(home.path());
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains(QStringLiteral("3022")));
        QCOMPARE(versionOf(path), 9);
        QCOMPARE(backups(home.path()).size(), 1);
    }

    // Search order, without processes: home alone when set; otherwise the
    // executable's folder, then the working directory.
    void databaseSearchOrder() {
        QTemporaryDir home, program, cwd;
        auto touch = [](const QTemporaryDir& d) {
            QFile f(d.filePath(QStringLiteral("Orbalia.db")));
            QVERIFY(f.open(QIODevice::WriteOnly));
        };
        using orb::upgrade::locateDatabase;
        const QString inHome = QDir(home.path()).filePath(QStringLiteral("Orbalia.db"));
        const QString inProgram = QDir(program.path()).filePath(QStringLiteral("Orbalia.db"));
        const QString inCwd = QDir(cwd.path()).filePath(QStringLiteral("Orbalia.db"));

        // Nothing anywhere: created in the installation folder.
        QCOMPARE(locateDatabase({home.path(), program.path(), cwd.path()}), inHome);
        QCOMPARE(locateDatabase({QString(), program.path(), cwd.path()}), inProgram);
        touch(cwd);
        QCOMPARE(locateDatabase({QString(), program.path(), cwd.path()}), inCwd);
        QCOMPARE(locateDatabase({home.path(), program.path(), cwd.path()}), inHome);
        touch(program);
        QCOMPARE(locateDatabase({QString(), program.path(), cwd.path()}), inProgram);
    }

    void backupNamesNeverClash() {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("Orbalia.db"));
        const QDateTime when(QDate(2026, 3, 9), QTime(8, 5, 7));
        const QString first = orb::upgrade::backupPath(db, when);
        QCOMPARE(QFileInfo(first).fileName(), QStringLiteral("Orbalia-20260309-080507.db"));
        QFile f(first);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(QFileInfo(orb::upgrade::backupPath(db, when)).fileName(),
                 QStringLiteral("Orbalia-20260309-080507-2.db"));
    }

    void officeArgument() {
        QString code;
        QVERIFY(orb::upgrade::parseOfficeArgument(QStringLiteral("0100000"), &code));
        QCOMPARE(code, QStringLiteral("01"));
        QVERIFY(orb::upgrade::parseOfficeArgument(QStringLiteral("00000"), &code));
        QCOMPARE(code, QString());
        QVERIFY(!orb::upgrade::parseOfficeArgument(QStringLiteral("01"), &code));
        QVERIFY(!orb::upgrade::parseOfficeArgument(QStringLiteral("-x00000"), &code));
    }
};

QTEST_GUILESS_MAIN(TestUpdateDb)
#include "tst_updatedb.moc"
