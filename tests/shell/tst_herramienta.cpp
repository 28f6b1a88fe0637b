// The command-line tools' last word: one plain Spanish line, the engine's
// own words in Orbalia.log, never an abort.

#include "DiscoPequeno.h"
#include "TestInstallation.h"
#include "platform/db/DbError.h"
#include "platform/mysql/MysqlError.h"
#include "shell/Herramienta.h"
#include "shell/Log.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>
#include <system_error>

using namespace orb;

namespace {

QString tool(const QString& name) {
    return qEnvironmentVariable("ORBALIA_BIN_DIR", ORBALIA_BINARY_DIR) + "/" + name;
}

struct Run {
    int exitCode = -1;
    QString out, err;
};

Run run(const QString& program, const QStringList& args, const QString& home) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORBALIA_HOME", home);
    p.setProcessEnvironment(env);
    p.start(tool(program), args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : 128 + p.exitCode(),
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QString contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

template <typename E> std::exception_ptr thrown(const E& e) {
    return std::make_exception_ptr(e);
}

} // namespace

class tst_Herramienta : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void explainsTheCauseAndLogsTheDetail_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("logged");
        QTest::newRow("full disk") << 0 << "El disco está lleno."
                                   << "database or disk is full";
        QTest::newRow("damaged file") << 1 << "El archivo no es una base de datos de Orbalia o está dañado."
                                      << "file is not a database";
        QTest::newRow("system error") << 2 << "El disco está lleno."
                                      << "No space left on device";
        QTest::newRow("own refusal") << 3 << "No se puede crear la carpeta '/x'"
                                     << "No se puede crear";
        QTest::newRow("web server") << 4 << "El servidor MySQL ha devuelto un error."
                                    << "Access denied";
        QTest::newRow("anything else") << 5 << "Error interno."
                                       << "tipo desconocido";
    }
    void explainsTheCauseAndLogsTheDetail() {
        QFETCH(int, kind);
        QFETCH(QString, said);
        QFETCH(QString, logged);
        QTemporaryDir dir;
        IniciarLog(dir.path());
        const std::exception_ptr errors[] = {
            thrown(db::DbError(db::ErrGeneric, "Error (COMMIT): database or disk is full", SQLITE_FULL)),
            thrown(db::DbError(db::ErrCannotOpen,
                               "(SELECT count(*) FROM sqlite_master): file is not a database",
                               SQLITE_NOTADB)),
            thrown(std::system_error(std::make_error_code(std::errc::no_space_on_device))),
            thrown(std::runtime_error("No se puede crear la carpeta '/x'")),
            thrown(mysql::MysqlError(1045, "28000", "Access denied for user 'web'@'localhost'")),
            std::make_exception_ptr(42),
        };
        QCOMPARE(ExplicarError(errors[kind]), said);
        QVERIFY2(contents(RutaLog()).contains(logged, Qt::CaseInsensitive), qPrintable(contents(RutaLog())));
        IniciarLog({});
    }

    // A database file that is not one: each tool says so in plain words and
    // keeps the engine's text for Orbalia.log.
    void damagedDatabaseIsToldPlainly_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("orbalia-webexport") << "orbalia-webexport" << QStringList{"--no-upload"};
        QTest::newRow("orbalia-exchange") << "orbalia-exchange" << QStringList{"export"};
        QTest::newRow("orbalia-updatedb") << "orbalia-updatedb" << QStringList{};
    }
    void damagedDatabaseIsToldPlainly() {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        orb::install::InstallOptions oficina;
        oficina.facts.CodigoOficina = "01"; // an office, so the tools get as far as the database
        TestInstallation inst(oficina);
        QFile db(inst.file("Orbalia.db"));
        QVERIFY(db.open(QIODevice::WriteOnly | QIODevice::Truncate));
        db.write(QByteArray(8192, '\x5a'));
        db.close();
        const Run r = run(program, args, inst.path());
        QVERIFY2(r.exitCode == 1 || r.exitCode == 2, qPrintable(QString::number(r.exitCode)));
        const QString output = r.out + r.err;
        QVERIFY2(output.contains("El archivo no es una base de datos de Orbalia o está dañado."),
                 qPrintable(output));
        for (const char* motor : {"sqlite_master", "file is not a database", "3024", "terminate"})
            QVERIFY2(!output.contains(QLatin1String(motor)), qPrintable(output));
        QVERIFY(contents(inst.file("Orbalia.log")).contains("file is not a database"));
    }

    // orbalia-install on a disk that fills up while the database is made.
    void fullDiskInstallIsToldPlainly() {
        QTemporaryDir base;
        ORB_REQUIRE_SMALL_DISK(disco, base.filePath("disco"), 96 * 1024);
        const QString dir = base.filePath("disco/inst");
        const Run r = run("orbalia-install", {dir}, dir);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.err,
                 QString("Error: No se han podido crear las bases de datos en %1: El disco está lleno. Los "
                         "detalles se han guardado en %1/Orbalia.log.\n")
                     .arg(dir));
        QVERIFY(contents(dir + "/Orbalia.log").contains("database or disk is full"));
    }
};

QTEST_GUILESS_MAIN(tst_Herramienta)
#include "tst_herramienta.moc"
