#include "TestInstallation.h"
#include "TestServers.h"
#include "platform/db/Database.h"
#include "shell/ConfigStore.h"
#include "shell/Numeros.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace orb;

namespace {

// An installed agency database (a seat on the server in the server run)
// with its settings table emptied.
struct ConfigDb {
    TestInstallation inst;
    QTemporaryDir dir;
    db::Database* database = &inst.context().db();
    std::unique_ptr<db::Database> propia; // a connection of the test's own, when it takes one

    ConfigDb() { database->execute("DELETE FROM Config"); }
    db::Database& operator*() { return *database; }
    QString read(const QString& g, const QString& v) { return LeerConfig(*database, g, v).toString(); }
    int rows() { return database->scalar("SELECT count(*) FROM Config").toInt(); }
    // "storage class:value" of the stored row, "" when there is none. The
    // server's column holds text only; the file keeps whatever it is given.
    QString stored(const QString& g, const QString& v) {
        const QString clase =
            database->onServer() ? "CASE WHEN Valor IS NULL THEN 'null' ELSE 'text' END" : "typeof(Valor)";
        return database
            ->scalar("SELECT " + clase +
                         " || ':' || ifnull(Valor, '') FROM Config WHERE Grupo = ? AND "
                         "Variable = ?",
                     {g, v})
            .toString();
    }
    // Another connection to the same database, as another seat has.
    std::unique_ptr<db::Database> otra() { return database->reopen(); }
    // This seat from now on on a connection that cannot write.
    void soloLectura() {
        if (database->onServer()) {
            propia = database->reopen();
            propia->execute("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY");
        } else {
            propia = db::Database::open(database->path(), {.readOnly = true});
        }
        database = propia.get();
    }
};

} // namespace

class TestConfigStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void missingSettingReadsItsDefault_data() {
        QTest::addColumn<QString>("grupo");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QVariant>("expected");
        auto row = [](const char* g, const char* v, const QVariant& e) {
            QTest::addRow("%s/%s", g, v) << QString(g) << QString(v) << e;
        };
        row("WEB", "FOTOANCHURA", "400");
        row("WEB", "THUMBPREFIJO", "tb_");
        row("WEB", "SERVIDOR", "");
        row("CODIGOS", "MASCARA", "00000");
        row("GENERAL", "ADDAGAIN", "0");
        row("SINC", "FTPSERVIDOR", QVariant());
        // Unknown variables: empty text for counters and web, nothing elsewhere. (Sizes and counters
        // are read through the settings dialog's tests.)
        row("CONTADORES", "OTRO", "");
        row("GENERAL", "OTRO", QVariant());
    }
    // Reading never writes: the default comes back and the table stays empty.
    // Storing every default is the installer's and the upgrader's, once.
    void missingSettingReadsItsDefault() {
        QFETCH(QString, grupo);
        QFETCH(QString, variable);
        QFETCH(QVariant, expected);
        QCOMPARE(ValorPorDefecto(grupo, variable), expected);
        ConfigDb cfg;
        for (int i = 0; i < 2; ++i) {
            const QVariant read = LeerConfig(*cfg, grupo, variable);
            QCOMPARE(db::isNull(read), db::isNull(expected));
            QCOMPARE(read.toString(), expected.toString());
        }
        QCOMPARE(cfg.rows(), 0);
    }

    // A read while another connection holds the write lock (another seat
    // confirming, an import) answers at once and changes nothing.
    void readDuringAnotherSeatsWrite() {
        ConfigDb cfg;
        auto otro = cfg.otra();
        db::Transaction t(*otro);
        otro->execute("INSERT INTO Config (Grupo, Variable, Valor) VALUES ('CODIGOS', 'MASCARA', '000')");
        QElapsedTimer reloj;
        reloj.start();
        QCOMPARE(cfg.read("WEB", "FOTOANCHURA"), "400");
        QCOMPARE(cfg.read("CODIGOS", "MASCARA"), "00000"); // not committed yet
        QVERIFY2(reloj.elapsed() < 2000, "a read waited for the lock");
    }

    // Defaults stored keep whatever the table already holds, and a second run adds nothing.
    void storingDefaultsKeepsStoredValues() {
        ConfigDb cfg;
        GuardarConfig(*cfg, "CODIGOS", "MASCARA", "000");
        GuardarConfig(*cfg, "SINC", "FTPSERVIDOR", "sinc.example.es");
        GuardarValoresPorDefecto(*cfg);
        const int filas = cfg.rows();
        QVERIFY(filas > 20);
        GuardarValoresPorDefecto(*cfg);
        QCOMPARE(cfg.rows(), filas);
        QCOMPARE(cfg.read("CODIGOS", "MASCARA"), "000");
        QCOMPARE(cfg.read("SINC", "FTPSERVIDOR"), "sinc.example.es");
        QCOMPARE(cfg.stored("WEB", "THUMBPREFIJO"), "text:tb_");
        QCOMPARE(cfg.stored("SINC", "FTPPASSWORD"), "null:");
    }

    void writeCreatesOrReplacesOneRow() {
        ConfigDb cfg;
        for (const char* servidor : {"web.example.es", "otro.example.es"}) {
            GuardarConfig(*cfg, "WEB", "SERVIDOR", servidor);
            QCOMPARE(cfg.read("WEB", "SERVIDOR"), servidor);
        }
        // A null keeps the row and reads back as null, not as the default.
        GuardarConfig(*cfg, "Web", "servidor", QVariant());
        QVERIFY(db::isNull(LeerConfig(*cfg, "WEB", "SERVIDOR")));
        QCOMPARE(cfg.rows(), 1);
        // A stored value wins over the default, whatever the case of the keys.
        cfg.database->execute(
            "INSERT INTO Config (Grupo, Variable, Valor) VALUES ('WEB', 'FOTOANCHURA', '640')");
        QCOMPARE(cfg.read("web", "FotoAnchura"), "640");
        QCOMPARE(cfg.rows(), 2);
    }

    void writeStoresTextForms() {
        ConfigDb cfg;
        const QList<std::pair<QVariant, QString>> cases = {
            {42, "42"},
            {qint64(1234567890123), "1234567890123"},
            {42.0, "42"},
            {-3.25, "-3,25"},
            {true, "1"},
            {false, "0"},
            {QDate(2009, 3, 5), "05/03/2009"},
            {"O'Brien; DROP TABLE Config", "O'Brien; DROP TABLE Config"},
            {"Peña Álvarez", "Peña Álvarez"},
        };
        for (const auto& [value, text] : cases) {
            GuardarConfig(*cfg, "GENERAL", "X", value);
            QCOMPARE(cfg.stored("GENERAL", "X"), "text:" + text);
            // A number written comes back as the same number.
            QCOMPARE(ValorNumerico(LeerConfig(*cfg, "GENERAL", "X")), ValorNumerico(value));
        }
    }

    void failedWriteLeavesTableAsItWas() {
        ConfigDb cfg;
        GuardarConfig(*cfg, "CODIGOS", "MASCARA", "000");
        cfg.soloLectura();
        QVERIFY_THROWS_EXCEPTION(db::DbError, GuardarConfig(*cfg, "CODIGOS", "MASCARA", "0"));
        // Reading needs no write: a missing setting and a stored one both read.
        QCOMPARE(cfg.read("WEB", "FOTOALTURA"), "300");
        QCOMPARE(cfg.read("CODIGOS", "MASCARA"), "000");
        QCOMPARE(cfg.rows(), 1);
        // A database without the settings table reports the error to the caller.
        auto bare = db::Database::open(cfg.dir.filePath("x.db"), {.create = true});
        QVERIFY_THROWS_EXCEPTION(db::DbError, LeerConfig(*bare, "WEB", "TIPO"));
    }

    void writeJoinsCallersTransaction() {
        ConfigDb cfg;
        GuardarConfig(*cfg, "CONTADORES", "CLIENTES", 7);
        {
            db::Transaction t(*cfg);
            GuardarConfig(*cfg, "CONTADORES", "CLIENTES", 8);
            GuardarConfig(*cfg, "CONTADORES", "AREAS", 3);
            QCOMPARE(cfg.read("CONTADORES", "CLIENTES"), "8");
            // Not committed: rolled back with the caller's other writes.
        }
        QCOMPARE(cfg.read("CONTADORES", "CLIENTES"), "7");
        QCOMPARE(cfg.rows(), 1);
    }
};

QTEST_GUILESS_MAIN(TestConfigStore)
#include "tst_configstore.moc"
