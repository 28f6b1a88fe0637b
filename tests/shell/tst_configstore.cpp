#include "platform/db/Database.h"
#include "shell/ConfigStore.h"
#include "shell/Services.h"

#include <QTemporaryDir>
#include <QTest>

using namespace orb;

namespace {

const char* kConfigDdl = "CREATE TABLE Config (Grupo VARCHAR(50) COLLATE es NOT NULL, "
                         "Variable VARCHAR(50) COLLATE es NOT NULL, Valor VARCHAR(255) COLLATE es); "
                         "CREATE UNIQUE INDEX \"Index\" ON Config(Grupo, Variable);";

// An agency database holding only the settings table, empty.
struct ConfigDb {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Orbalia.db"));
    std::unique_ptr<db::Database> database;

    ConfigDb() {
        database = db::Database::open(path, {.create = true});
        database->executeScript(QString::fromLatin1(kConfigDdl));
    }
    db::Database& operator*() { return *database; }

    int rows() { return database->scalar(QStringLiteral("SELECT count(*) FROM Config")).toInt(); }
    int rows(const QString& g, const QString& v) {
        return database
            ->scalar(QStringLiteral("SELECT count(*) FROM Config WHERE Grupo = ? AND Variable = ?"), {g, v})
            .toInt();
    }
    // The stored value and its SQLite storage class.
    QPair<QVariant, QString> stored(const QString& g, const QString& v) {
        const auto r = database->query(
            QStringLiteral("SELECT Valor, typeof(Valor) FROM Config WHERE Grupo = ? AND Variable = ?"),
            {g, v});
        if (r.isEmpty())
            return {};
        return {r[0][0], r[0][1].toString()};
    }
};

} // namespace

class TestConfigStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void defaults_data();
    void defaults();
    void firstReadStoresDefault();
    void nullDefaultStoresNullRow();
    void repeatedReadsKeepOneRow();
    void storedValueWinsOverDefault();
    void writeCreatesOrReplacesOneRow();
    void writeStoresTextForms();
    void counterSequence();
    void keysMatchWhateverTheCase();
    void failedWriteLeavesTableAsItWas();
    void writeJoinsCallersTransaction();
};

void TestConfigStore::defaults_data() {
    QTest::addColumn<QString>("grupo");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QVariant>("expected");
    const QVariant null;
    auto row = [](const char* g, const char* v, const QVariant& e) {
        QTest::addRow("%s/%s", g, v) << QString::fromLatin1(g) << QString::fromLatin1(v) << e;
    };
    for (const char* v : {"CLIENTES", "PROPIEDADES", "PROPIETARIOS", "TIPOS", "LOCALIDADES", "AREAS"})
        row("CONTADORES", v, QStringLiteral("0"));
    row("CODIGOS", "MASCARA", QStringLiteral("00000"));
    row("GENERAL", "ADDAGAIN", QStringLiteral("0"));
    for (const char* v : {"SERVIDOR", "BASEDATOS", "USUARIO", "PASSWORD"})
        row("WEB", v, QStringLiteral(""));
    row("WEB", "FOTOANCHURA", QStringLiteral("400"));
    row("WEB", "FOTOALTURA", QStringLiteral("300"));
    row("WEB", "THUMBANCHURA", QStringLiteral("80"));
    row("WEB", "THUMBALTURA", QStringLiteral("60"));
    row("WEB", "TIPO", QStringLiteral("0"));
    row("WEB", "THUMBPREFIJO", QStringLiteral("tb_"));
    row("WEB", "FOTOGENERAR", QStringLiteral("0"));
    row("WEB", "THUMBGENERAR", QStringLiteral("0"));
    for (const char* v : {"FTPSERVIDOR", "FTPUSUARIO", "FTPPASSWORD"})
        row("SINC", v, null);
    // Unknown variables: empty text for counters and web, nothing elsewhere.
    row("CONTADORES", "OTRO", QStringLiteral(""));
    row("WEB", "OTRO", QStringLiteral(""));
    row("GENERAL", "OTRO", null);
    row("CODIGOS", "OTRO", null);
    row("SINC", "OTRO", null);
    row("OTROGRUPO", "MASCARA", null);
    // The default table compares exactly.
    row("web", "FOTOANCHURA", null);
}

// The built-in default is what a first read returns and stores.
void TestConfigStore::defaults() {
    QFETCH(QString, grupo);
    QFETCH(QString, variable);
    QFETCH(QVariant, expected);
    QCOMPARE(ValorPorDefecto(grupo, variable), expected);

    ConfigDb cfg;
    const QVariant read = LeerConfig(*cfg, grupo, variable);
    QCOMPARE(db::isNull(read), db::isNull(expected));
    QCOMPARE(read.toString(), expected.toString());
    QCOMPARE(cfg.rows(), 1);
    QCOMPARE(cfg.stored(grupo, variable).first.toString(), expected.toString());
    QCOMPARE(cfg.stored(grupo, variable).second,
             db::isNull(expected) ? QStringLiteral("null") : QStringLiteral("text"));
}

void TestConfigStore::firstReadStoresDefault() {
    ConfigDb cfg;
    QCOMPARE(LeerConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("FOTOANCHURA")).toString(),
             QStringLiteral("400"));
    const auto all = cfg.database->query(QStringLiteral("SELECT Grupo, Variable, Valor FROM Config"));
    QCOMPARE(all.size(), 1);
    QCOMPARE(all[0][0].toString(), QStringLiteral("WEB"));
    QCOMPARE(all[0][1].toString(), QStringLiteral("FOTOANCHURA"));
    QCOMPARE(all[0][2].toString(), QStringLiteral("400"));
}

void TestConfigStore::nullDefaultStoresNullRow() {
    ConfigDb cfg;
    const QVariant first = LeerConfig(*cfg, QStringLiteral("SINC"), QStringLiteral("FTPSERVIDOR"));
    QVERIFY(db::isNull(first));
    QCOMPARE(first.toString() + QStringLiteral(""), QStringLiteral(""));
    QCOMPARE(cfg.stored(QStringLiteral("SINC"), QStringLiteral("FTPSERVIDOR")).second,
             QStringLiteral("null"));
    // A stored null is a value, not a missing row: no new default, no new row.
    QVERIFY(db::isNull(LeerConfig(*cfg, QStringLiteral("SINC"), QStringLiteral("FTPSERVIDOR"))));
    QCOMPARE(cfg.rows(), 1);
    QCOMPARE(ValorNumerico(first), 0.0);
}

void TestConfigStore::repeatedReadsKeepOneRow() {
    ConfigDb cfg;
    QCOMPARE(LeerConfig(*cfg, QStringLiteral("GENERAL"), QStringLiteral("ADDAGAIN")).toString(),
             QStringLiteral("0"));
    QCOMPARE(LeerConfig(*cfg, QStringLiteral("GENERAL"), QStringLiteral("ADDAGAIN")).toString(),
             QStringLiteral("0"));
    QCOMPARE(cfg.rows(), 1);
}

void TestConfigStore::storedValueWinsOverDefault() {
    ConfigDb cfg;
    cfg.database->execute(QStringLiteral("INSERT INTO Config VALUES ('WEB', 'FOTOANCHURA', '640')"));
    cfg.database->execute(QStringLiteral("INSERT INTO Config VALUES ('WEB', 'FOTOALTURA', NULL)"));
    QCOMPARE(LeerConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("FOTOANCHURA")).toString(),
             QStringLiteral("640"));
    QVERIFY(db::isNull(LeerConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("FOTOALTURA"))));
    QCOMPARE(cfg.rows(), 2);
}

void TestConfigStore::writeCreatesOrReplacesOneRow() {
    ConfigDb cfg;
    GuardarConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("SERVIDOR"), QStringLiteral("web.example.es"));
    QCOMPARE(cfg.rows(), 1);
    QCOMPARE(LeerConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("SERVIDOR")).toString(),
             QStringLiteral("web.example.es"));

    GuardarConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("SERVIDOR"), QStringLiteral("otro.example.es"));
    QCOMPARE(cfg.rows(), 1);
    QCOMPARE(LeerConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("SERVIDOR")).toString(),
             QStringLiteral("otro.example.es"));

    // Writing a null keeps the row and reads back as null, not as the default.
    GuardarConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("SERVIDOR"), QVariant());
    QVERIFY(db::isNull(LeerConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("SERVIDOR"))));
    QCOMPARE(cfg.rows(), 1);

    // A setting with a null default gets the written value, once.
    GuardarConfig(*cfg, QStringLiteral("SINC"), QStringLiteral("FTPUSUARIO"), QStringLiteral("oficina2"));
    QCOMPARE(cfg.rows(QStringLiteral("SINC"), QStringLiteral("FTPUSUARIO")), 1);
    QCOMPARE(LeerConfig(*cfg, QStringLiteral("SINC"), QStringLiteral("FTPUSUARIO")).toString(),
             QStringLiteral("oficina2"));
    QCOMPARE(cfg.rows(), 2);
}

void TestConfigStore::writeStoresTextForms() {
    ConfigDb cfg;
    const QString g = QStringLiteral("GENERAL");
    struct Case {
        const char* variable;
        QVariant value;
        QString text;
    };
    const QList<Case> cases = {
        {"ENTERO", 42, QStringLiteral("42")},
        {"LARGO", qint64(1234567890123), QStringLiteral("1234567890123")},
        {"REDONDO", 42.0, QStringLiteral("42")},
        {"DECIMAL", 12.5, QStringLiteral("12,5")},
        {"NEGATIVO", -3.25, QStringLiteral("-3,25")},
        {"SI", true, QStringLiteral("1")},
        {"NO", false, QStringLiteral("0")},
        {"FECHA", QDate(2009, 3, 5), QStringLiteral("05/03/2009")},
        {"APOSTROFO", QStringLiteral("O'Brien; DROP TABLE Config"),
         QStringLiteral("O'Brien; DROP TABLE Config")},
        {"VACIO", QStringLiteral(""), QStringLiteral("")},
        {"ACENTOS", QStringLiteral("Peña Álvarez"), QStringLiteral("Peña Álvarez")},
    };
    for (const Case& c : cases) {
        const QString v = QString::fromLatin1(c.variable);
        GuardarConfig(*cfg, g, v, c.value);
        const auto stored = cfg.stored(g, v);
        QCOMPARE(stored.second, QStringLiteral("text"));
        QCOMPARE(stored.first.toString(), c.text);
    }
    // The value with SQL in it was stored as text, nothing more.
    QVERIFY(cfg.database->tableExists(QStringLiteral("Config")));
    // Numbers written come back as the same numbers.
    QCOMPARE(ValorNumerico(LeerConfig(*cfg, g, QStringLiteral("DECIMAL"))), 12.5);
    QCOMPARE(ValorNumerico(LeerConfig(*cfg, g, QStringLiteral("NEGATIVO"))), -3.25);
    QCOMPARE(ValorNumerico(LeerConfig(*cfg, g, QStringLiteral("REDONDO"))), 42.0);
}

// How record windows number new records from a counter.
void TestConfigStore::counterSequence() {
    ConfigDb cfg;
    const QString g = QStringLiteral("CONTADORES");
    const QString v = QStringLiteral("PROPIEDADES");
    GuardarConfig(*cfg, g, v, QStringLiteral("abc"));
    double next = ValorNumerico(LeerConfig(*cfg, g, v)) + 1;
    QCOMPARE(next, 1.0);
    GuardarConfig(*cfg, g, v, next);
    QCOMPARE(LeerConfig(*cfg, g, v).toString(), QStringLiteral("1"));
    next = ValorNumerico(LeerConfig(*cfg, g, v)) + 1;
    GuardarConfig(*cfg, g, v, next);
    QCOMPARE(LeerConfig(*cfg, g, v).toString(), QStringLiteral("2"));

    // A fresh counter starts at 0, so the first record gets number 1.
    QCOMPARE(ValorNumerico(LeerConfig(*cfg, g, QStringLiteral("CLIENTES"))) + 1, 1.0);
}

void TestConfigStore::keysMatchWhateverTheCase() {
    ConfigDb cfg;
    GuardarConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("FOTOANCHURA"), QStringLiteral("500"));
    QCOMPARE(LeerConfig(*cfg, QStringLiteral("web"), QStringLiteral("FotoAnchura")).toString(),
             QStringLiteral("500"));
    GuardarConfig(*cfg, QStringLiteral("Web"), QStringLiteral("fotoanchura"), QStringLiteral("520"));
    QCOMPARE(cfg.rows(), 1);
    QCOMPARE(LeerConfig(*cfg, QStringLiteral("WEB"), QStringLiteral("FOTOANCHURA")).toString(),
             QStringLiteral("520"));
}

void TestConfigStore::failedWriteLeavesTableAsItWas() {
    ConfigDb cfg;
    GuardarConfig(*cfg, QStringLiteral("CODIGOS"), QStringLiteral("MASCARA"), QStringLiteral("000"));
    cfg.database.reset();

    {
        auto ro = db::Database::open(cfg.path, {.readOnly = true});
        QVERIFY_THROWS_EXCEPTION(db::DbError, GuardarConfig(*ro, QStringLiteral("CODIGOS"),
                                                            QStringLiteral("MASCARA"), QStringLiteral("0")));
        QVERIFY_THROWS_EXCEPTION(db::DbError,
                                 GuardarConfig(*ro, QStringLiteral("WEB"), QStringLiteral("TIPO"), 1));
        // Reading a missing setting needs a write too.
        QVERIFY_THROWS_EXCEPTION(db::DbError,
                                 LeerConfig(*ro, QStringLiteral("WEB"), QStringLiteral("FOTOALTURA")));
        // An existing setting still reads.
        QCOMPARE(LeerConfig(*ro, QStringLiteral("CODIGOS"), QStringLiteral("MASCARA")).toString(),
                 QStringLiteral("000"));
    }

    cfg.database = db::Database::open(cfg.path);
    QCOMPARE(cfg.rows(), 1);
    QCOMPARE(cfg.stored(QStringLiteral("CODIGOS"), QStringLiteral("MASCARA")).first.toString(),
             QStringLiteral("000"));

    // A database without the settings table reports the error to the caller.
    QTemporaryDir dir;
    auto bare = db::Database::open(dir.filePath(QStringLiteral("x.db")), {.create = true});
    QVERIFY_THROWS_EXCEPTION(db::DbError, LeerConfig(*bare, QStringLiteral("WEB"), QStringLiteral("TIPO")));
}

void TestConfigStore::writeJoinsCallersTransaction() {
    ConfigDb cfg;
    GuardarConfig(*cfg, QStringLiteral("CONTADORES"), QStringLiteral("CLIENTES"), 7);
    {
        db::Transaction t(*cfg);
        GuardarConfig(*cfg, QStringLiteral("CONTADORES"), QStringLiteral("CLIENTES"), 8);
        GuardarConfig(*cfg, QStringLiteral("CONTADORES"), QStringLiteral("AREAS"), 3);
        QCOMPARE(LeerConfig(*cfg, QStringLiteral("CONTADORES"), QStringLiteral("CLIENTES")).toString(),
                 QStringLiteral("8"));
        // Not committed: rolled back with the caller's other writes.
    }
    QCOMPARE(LeerConfig(*cfg, QStringLiteral("CONTADORES"), QStringLiteral("CLIENTES")).toString(),
             QStringLiteral("7"));
    QCOMPARE(cfg.rows(QStringLiteral("CONTADORES"), QStringLiteral("AREAS")), 0);
}

QTEST_GUILESS_MAIN(TestConfigStore)
#include "tst_configstore.moc"
