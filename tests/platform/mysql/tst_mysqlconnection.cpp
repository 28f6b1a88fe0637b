#include "TestServers.h"
#include "platform/mysql/Connection.h"

#include <QDate>
#include <QTest>

using namespace mysql;

namespace {

// Runs f and returns the MysqlError it threw; fails the test when none.
template <class F> std::optional<MysqlError> errorOf(F f) {
    try {
        f();
    } catch (const MysqlError& e) {
        return e;
    }
    return std::nullopt;
}

} // namespace

class tst_MysqlConnection : public QObject {
    Q_OBJECT

    std::unique_ptr<Connection> open(const testservers::Mysql& server) {
        return Connection::connect(server.options);
    }

    static QStringList names(Connection& c, const QString& table) {
        QStringList out;
        for (const Row& r : c.query("SELECT nombre FROM " + table + " ORDER BY id"))
            out << r.value(0).toString();
        return out;
    }

private Q_SLOTS:
    void textsRoundTripInUtf8mb4() {
        ORB_REQUIRE_MYSQL(server);
        auto c = open(server);
        c->execute("DROP TABLE IF EXISTS plat_textos");
        c->execute("CREATE TABLE plat_textos (id INT PRIMARY KEY, nombre VARCHAR(60)) "
                   "ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci");
        const QString texto = QStringLiteral("Ático en Málaga, año 2024: 250.000 € 🏠🌊 «ñ»");
        QCOMPARE(c->execute("INSERT INTO plat_textos VALUES (?, ?)", {1, texto}), quint64(1));
        c->prepare("INSERT INTO plat_textos VALUES (?, ?)")->executeMany({{2, texto}, {3, QString("Ñandú")}});
        QCOMPARE(c->scalar("SELECT nombre FROM plat_textos WHERE id = ?", {1}).toString(), texto);
        QCOMPARE(c->scalar("SELECT nombre FROM plat_textos WHERE id = ?", {2}).toString(), texto);
        // Counted as characters by the server, so each emoji is one character, not four bytes of junk.
        QCOMPARE(c->scalar("SELECT CHAR_LENGTH(nombre) FROM plat_textos WHERE id = 1").toLongLong(),
                 qlonglong(texto.toUcs4().size()));
        // Found by a bound value with the same characters.
        QCOMPARE(c->scalar("SELECT id FROM plat_textos WHERE nombre = ?", {"ñandú"}).toLongLong(), 3);
    }

    void valuesKeepTheirTypes() {
        ORB_REQUIRE_MYSQL(server);
        auto c = open(server);
        c->execute("DROP TABLE IF EXISTS plat_tipos");
        c->execute("CREATE TABLE plat_tipos (id INT PRIMARY KEY, precio DECIMAL(15,4), metros DOUBLE, "
                   "alta DATE, piscina TINYINT, nota TEXT, datos BLOB)");
        const QByteArray bytes("\x00\x01\xff jpeg", 8);
        c->execute("INSERT INTO plat_tipos VALUES (?, ?, ?, ?, ?, ?, ?)",
                   {7, 250000.5, 87.25, QDate(2024, 2, 29), true, QVariant(), bytes});
        const Row r = c->query("SELECT * FROM plat_tipos").value(0);
        QCOMPARE(r.size(), 7);
        QCOMPARE(r[0].toLongLong(), 7);
        QCOMPARE(r[1].toDouble(), 250000.5);
        QCOMPARE(r[2].toDouble(), 87.25);
        QCOMPARE(r[3].toDate(), QDate(2024, 2, 29));
        QCOMPARE(r[4].toInt(), 1);
        QVERIFY(r[5].isNull());
        QCOMPARE(r[6].toByteArray(), bytes);
        // A long text comes back whole, not cut at a buffer size.
        const QString largo = QString(5000, u'é') + "fin";
        c->execute("UPDATE plat_tipos SET nota = ?", {largo});
        QCOMPARE(c->scalar("SELECT nota FROM plat_tipos").toString(), largo);
    }

    // The test server runs with a lax sql_mode, as many web hosts do: the
    // connection's own strict mode is what refuses the value.
    void strictModeRefusesWhatTheColumnCannotHold() {
        ORB_REQUIRE_MYSQL(server);
        auto c = open(server);
        const Row modo =
            c->query("SELECT @@character_set_client, @@character_set_results, @@sql_mode").value(0);
        QCOMPARE(modo.value(0).toString() + "/" + modo.value(1).toString(), "utf8mb4/utf8mb4");
        QVERIFY(modo.value(2).toString().contains("STRICT_ALL_TABLES"));
        c->execute("DROP TABLE IF EXISTS plat_estricto");
        c->execute(
            "CREATE TABLE plat_estricto (id INT PRIMARY KEY, cod VARCHAR(5), alta DATE) ENGINE=MyISAM");
        auto e = errorOf([&] {
            c->execute("INSERT INTO plat_estricto VALUES (?, ?, NULL)", {1, "B12-00037"});
        });
        QVERIFY(e);
        QCOMPARE(e->number(), 1406u);
        QCOMPARE(e->sqlState(), QString("22001"));
        QVERIFY(e->text().contains("cod"));
        // Even in a multi-row statement on a non-transactional table, the bad row is refused.
        e = errorOf([&] {
            c->prepare("INSERT INTO plat_estricto VALUES (?, ?, ?)")
                ->executeMany({{2, "ok", QVariant()}, {3, "abc", "2024-02-30"}});
        });
        QVERIFY(e);
        QCOMPARE(c->scalar("SELECT COUNT(*) FROM plat_estricto WHERE id = 3").toLongLong(), 0);
        QCOMPARE(c->scalar("SELECT COUNT(*) FROM plat_estricto WHERE id = 1").toLongLong(), 0);

        e = errorOf([&] {
            c->execute("INSERT INTO plat_estricto (id, columna_que_falta) VALUES (?, ?)", {4, 1});
        });
        QVERIFY(e);
        QCOMPARE(e->number(), 1054u);
        QCOMPARE(e->sqlState(), QString("42S22"));
    }

    void bulkInsertOfTenThousandRows() {
        ORB_REQUIRE_MYSQL(server);
        auto c = open(server);
        c->execute("DROP TABLE IF EXISTS plat_masivo");
        c->execute("CREATE TABLE plat_masivo (id INT PRIMARY KEY, ident VARCHAR(20), precio DOUBLE, "
                   "descripcion TEXT, destacada TINYINT) ENGINE=InnoDB");
        QList<Params> rows;
        for (int i = 1; i <= 10000; ++i)
            rows << Params{i, QString("RCSOL-%1").arg(i, 5, 10, QChar('0')), i * 1000.5,
                           i % 7 == 0 ? QVariant() : QVariant(QString("Casa nº %1 — vista al mar 🌊").arg(i)),
                           i % 2 == 0};
        {
            Transaction t(*c);
            QCOMPARE(c->prepare("INSERT INTO plat_masivo VALUES (?, ?, ?, ?, ?)")->executeMany(rows),
                     quint64(10000));
            t.commit();
        }
        QCOMPARE(c->scalar("SELECT COUNT(*) FROM plat_masivo").toLongLong(), 10000);
        QCOMPARE(c->scalar("SELECT SUM(id) FROM plat_masivo").toLongLong(), 10000LL * 10001 / 2);
        QCOMPARE(c->scalar("SELECT COUNT(*) FROM plat_masivo WHERE descripcion IS NULL").toLongLong(),
                 10000 / 7);
        QCOMPARE(c->scalar("SELECT SUM(destacada) FROM plat_masivo").toLongLong(), 5000);
        const Row last =
            c->query("SELECT ident, precio, descripcion FROM plat_masivo WHERE id = ?", {9999}).value(0);
        QCOMPARE(last.value(0).toString(), QString("RCSOL-09999"));
        QCOMPARE(last.value(1).toDouble(), 9999 * 1000.5);
        QCOMPARE(last.value(2).toString(), QString("Casa nº 9999 — vista al mar 🌊"));
    }

    void transactionsLeaveTheOldRowsOnFailure() {
        ORB_REQUIRE_MYSQL(server);
        auto c = open(server);
        c->execute("DROP TABLE IF EXISTS plat_tx");
        c->execute("CREATE TABLE plat_tx (id INT PRIMARY KEY, nombre VARCHAR(10)) ENGINE=InnoDB");
        c->prepare("INSERT INTO plat_tx VALUES (?, ?)")->executeMany({{1, "viejo1"}, {2, "viejo2"}});
        const QStringList old{"viejo1", "viejo2"};

        // Replaced, then a value the table refuses: everything goes back.
        auto e = errorOf([&] {
            Transaction t(*c);
            c->execute("DELETE FROM plat_tx");
            c->prepare("INSERT INTO plat_tx VALUES (?, ?)")
                ->executeMany({{1, "nuevo"}, {2, "demasiado largo"}});
            t.commit();
        });
        QVERIFY(e);
        QCOMPARE(names(*c, "plat_tx"), old);

        // Left without commit: the same.
        {
            Transaction t(*c);
            c->execute("DELETE FROM plat_tx");
        }
        QCOMPARE(names(*c, "plat_tx"), old);

        // Another connection never sees the half-done replacement.
        auto other = open(server);
        {
            Transaction t(*c);
            c->execute("DELETE FROM plat_tx");
            c->execute("INSERT INTO plat_tx VALUES (?, ?)", {3, "nuevo"});
            QCOMPARE(names(*other, "plat_tx"), old);
            t.commit();
        }
        QCOMPARE(names(*other, "plat_tx"), QStringList({"nuevo"}));
    }

    void aLostConnectionIsAnErrorNotASilentReconnect() {
        ORB_REQUIRE_MYSQL(server);
        auto c = open(server);
        c->execute("DROP TABLE IF EXISTS plat_corte");
        c->execute("CREATE TABLE plat_corte (id INT PRIMARY KEY) ENGINE=InnoDB");
        c->execute("INSERT INTO plat_corte VALUES (1), (2)");
        const qlonglong id = c->scalar("SELECT CONNECTION_ID()").toLongLong();
        auto e = errorOf([&] {
            Transaction t(*c);
            c->execute("DELETE FROM plat_corte");
            open(server)->execute(QString("KILL CONNECTION %1").arg(id));
            c->execute("INSERT INTO plat_corte VALUES (?)", {3});
            t.commit();
        });
        QVERIFY(e);
        QVERIFY2(e->number() == 2006 || e->number() == 2013 || e->number() == 1927,
                 qPrintable(e->describe()));
        QVERIFY(errorOf([&] { c->scalar("SELECT 1"); }));
        QCOMPARE(open(server)->scalar("SELECT COUNT(*) FROM plat_corte").toLongLong(), 2);
    }

    void loginErrorsNeverShowThePassword() {
        ORB_REQUIRE_MYSQL(server);
        ConnectOptions wrong = server.options;
        wrong.password = QStringLiteral("Secreto-Incorrecto-2024");
        auto e = errorOf([&] { Connection::connect(wrong); });
        QVERIFY(e);
        QCOMPARE(e->number(), 1045u);
        QCOMPARE(e->sqlState(), QString("28000"));
        QVERIFY(e->text().contains(server.options.user));
        QVERIFY(!e->describe().contains(wrong.password));
        QVERIFY(!QString::fromStdString(e->what()).contains(wrong.password));

        // The right password does not leak into a later server error either.
        auto c = open(server);
        e = errorOf([&] { c->execute("SELECT '" + server.options.password + "' FROM tabla_que_no_existe"); });
        QVERIFY(e);
        QVERIFY(!e->describe().contains(server.options.password));

        ConnectOptions nowhere = server.options;
        nowhere.port = 1;
        e = errorOf([&] { Connection::connect(nowhere); });
        QVERIFY(e);
        QVERIFY2(e->number() == 2002 || e->number() == 2003, qPrintable(e->describe()));
    }
};

QTEST_GUILESS_MAIN(tst_MysqlConnection)
#include "tst_mysqlconnection.moc"
