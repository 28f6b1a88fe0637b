#include "TestServers.h"
#include "platform/pg/Connection.h"

#include <QDate>
#include <QDateTime>
#include <QTest>

#include <optional>

using namespace pg;

namespace {

// Runs f and returns the PgError it threw, none when it did not throw.
template <class F> std::optional<PgError> errorOf(F f) {
    try {
        f();
    } catch (const PgError& e) {
        return e;
    }
    return std::nullopt;
}

} // namespace

class tst_PgConnection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valuesKeepTheirTypes() {
        ORB_REQUIRE_PG(server);
        auto c = Connection::connect(server.options);
        c->execute("DROP TABLE IF EXISTS plat_tipos");
        c->execute(
            "CREATE TABLE plat_tipos (id INTEGER PRIMARY KEY, grande BIGINT, precio NUMERIC(19,4), "
            "metros DOUBLE PRECISION, alta DATE, visto TIMESTAMP, piscina BOOLEAN, nota TEXT, datos BYTEA)");
        const QByteArray bytes("\x00\x01\xff\\x jpeg", 10);
        const QString texto = QStringLiteral("Ático en Málaga: 250.000 € «ñ» 🏠");
        const QDateTime visto(QDate(2024, 2, 29), QTime(17, 5, 9, 250));
        QCOMPARE(c->execute("INSERT INTO plat_tipos VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                            {7, qlonglong(9'000'000'000), 250000.1234, 87.25, QDate(2024, 2, 29), visto, true,
                             texto, bytes}),
                 quint64(1));
        c->execute("INSERT INTO plat_tipos (id, nota) VALUES (?, ?)", {8, QVariant()});
        const QList<Row> filas = c->query("SELECT * FROM plat_tipos ORDER BY id");
        QCOMPARE(filas.size(), 2);
        const Row& r = filas[0];
        QCOMPARE(r[0].toInt(), 7);
        QCOMPARE(r[1].toLongLong(), qlonglong(9'000'000'000));
        QCOMPARE(r[2].toDouble(), 250000.1234);
        QCOMPARE(r[3].toDouble(), 87.25);
        QCOMPARE(r[4].toDate(), QDate(2024, 2, 29));
        QCOMPARE(r[5].toDateTime(), visto);
        QCOMPARE(r[6].metaType().id(), QMetaType::Bool);
        QVERIFY(r[6].toBool());
        QCOMPARE(r[7].toString(), texto);
        QCOMPARE(r[8].toByteArray(), bytes);
        // A null stays null; an empty text stays an empty text.
        for (int i = 1; i < 9; ++i)
            QVERIFY2(filas[1][i].isNull(), qPrintable(QString::number(i)));
        c->execute("UPDATE plat_tipos SET nota = ? WHERE id = 8", {QString("")});
        QVERIFY(!c->scalar("SELECT nota FROM plat_tipos WHERE id = 8").isNull());
        QCOMPARE(c->scalar("SELECT nota FROM plat_tipos WHERE id = 8").toString(), QString());
    }

    // The program writes '?' everywhere; quoted ones are text, not values.
    void placeholdersOutsideQuotesOnly() {
        QCOMPARE(
            Connection::numberPlaceholders("SELECT '?', \"a?\" FROM t -- ¿?\nWHERE a = ? AND b = ? /* ? */"),
            QString("SELECT '?', \"a?\" FROM t -- ¿?\nWHERE a = $1 AND b = $2 /* ? */"));
        QCOMPARE(Connection::numberPlaceholders("SELECT 'it''s ?' , ?"), QString("SELECT 'it''s ?' , $1"));
        ORB_REQUIRE_PG(server);
        auto c = Connection::connect(server.options);
        const Row r = c->query("SELECT '¿?', ?::text, 'O''Brien ?'", {"ñ"}).value(0);
        QCOMPARE(r, (Row{"¿?", "ñ", "O'Brien ?"}));
    }

    void columnsSayWhereTheyComeFrom() {
        ORB_REQUIRE_PG(server);
        auto c = Connection::connect(server.options);
        c->execute("DROP TABLE IF EXISTS plat_origen");
        c->execute("CREATE TABLE plat_origen (cod TEXT PRIMARY KEY, precio NUMERIC(19,4))");
        c->execute("INSERT INTO plat_origen VALUES ('A1', 10), ('A2', 20)");
        const Result r = c->queryWithColumns("SELECT p.cod AS codigo, p.precio * 2 AS doble, p.precio "
                                             "FROM plat_origen p ORDER BY p.cod");
        QCOMPARE(r.columns.size(), 3);
        QCOMPARE(r.columns[0].name, QString("codigo"));
        QCOMPARE(r.columns[0].table, QString("plat_origen"));
        QCOMPARE(r.columns[0].tableColumn, QString("cod"));
        QVERIFY(r.columns[1].table.isEmpty());
        QCOMPARE(r.columns[2].tableColumn, QString("precio"));
        QCOMPARE(r.rows.size(), 2);
        QCOMPARE(r.rows[1][1].toDouble(), 40.0);
    }

    void copyBringsEveryRowBackIdentical() {
        ORB_REQUIRE_PG(server);
        auto c = Connection::connect(server.options);
        c->execute("DROP TABLE IF EXISTS plat_copia");
        c->execute("CREATE TABLE plat_copia (id INTEGER, nota TEXT, datos BYTEA, activo BOOLEAN, alta DATE)");
        QList<Row> filas;
        const QString raro = QStringLiteral("tab\tsalto\nretorno\rbarra\\N fin «ñ»");
        for (int i = 0; i < 20000; ++i)
            filas << Row{i, i % 7 == 0 ? QVariant() : QVariant(raro + QString::number(i)),
                         QByteArray("\x00\\\t", 3) + QByteArray::number(i), i % 2 == 0,
                         QDate(2024, 1, 1).addDays(i % 300)};
        {
            Transaction tx(*c);
            QCOMPARE(c->copyIn("plat_copia", {"id", "nota", "datos", "activo", "alta"}, filas),
                     quint64(filas.size()));
            tx.commit();
        }
        const QList<Row> vuelta =
            c->query("SELECT id, nota, datos, activo, alta FROM plat_copia ORDER BY id");
        QCOMPARE(vuelta.size(), filas.size());
        for (qsizetype i = 0; i < filas.size(); i += 997) {
            QCOMPARE(vuelta[i][1].isNull(), filas[i][1].isNull());
            QCOMPARE(vuelta[i][1].toString(), filas[i][1].toString());
            QCOMPARE(vuelta[i][2].toByteArray(), filas[i][2].toByteArray());
            QCOMPARE(vuelta[i][3].toBool(), filas[i][3].toBool());
            QCOMPARE(vuelta[i][4].toDate(), filas[i][4].toDate());
        }
        // A row the table refuses stops the whole copy, and the transaction keeps nothing of it.
        const auto e = errorOf([&] {
            Transaction tx(*c);
            c->copyIn("plat_copia", {"id", "alta"}, {Row{1, QDate(2024, 1, 1)}, Row{2, "no es una fecha"}});
            tx.commit();
        });
        QVERIFY(e);
        QCOMPARE(e->causa(), Causa::DatoNoValido);
        QCOMPARE(c->scalar("SELECT count(*) FROM plat_copia").toLongLong(), qlonglong(filas.size()));
    }

    void failuresSayWhatHappenedInTheirOwnTerms() {
        ORB_REQUIRE_PG(server);
        // A wrong password: refused, and the text does not carry it.
        ConnectOptions mala = server.options;
        mala.password = "clave-equivocada-123";
        auto e = errorOf([&] { Connection::connect(mala); });
        QVERIFY(e);
        QCOMPARE(e->causa(), Causa::LoginRechazado);
        QVERIFY(!e->text().contains(mala.password));
        // Nobody listening.
        ConnectOptions lejos = server.options;
        lejos.port = 1;
        e = errorOf([&] { Connection::connect(lejos); });
        QVERIFY(e);
        QCOMPARE(e->causa(), Causa::ServidorInaccesible);
        // A database that is not there.
        ConnectOptions otra = server.options;
        otra.database = "no_existe_esta";
        e = errorOf([&] { Connection::connect(otra); });
        QVERIFY(e);
        QCOMPARE(e->causa(), Causa::BaseInexistente);

        auto c = Connection::connect(server.options);
        c->execute("DROP TABLE IF EXISTS plat_unica");
        c->execute("CREATE TABLE plat_unica (cod TEXT PRIMARY KEY)");
        c->execute("INSERT INTO plat_unica VALUES ('A1')");
        e = errorOf([&] { c->execute("INSERT INTO plat_unica VALUES (?)", {"A1"}); });
        QVERIFY(e);
        QCOMPARE(e->causa(), Causa::CodigoDuplicado);
        QCOMPARE(e->sqlState(), QString("23505"));
        e = errorOf([&] { c->execute("SELEC 1"); });
        QVERIFY(e);
        QCOMPARE(e->causa(), Causa::Sintaxis);
    }

    // Two seats on one row: the second gives up after its lock wait, and a
    // transaction that ends without commit leaves nothing.
    void twoSeatsOnOneRow() {
        ORB_REQUIRE_PG(server);
        auto a = Connection::connect(server.options);
        auto b = Connection::connect(server.options);
        QVERIFY(a->backendPid() != b->backendPid());
        a->execute("DROP TABLE IF EXISTS plat_contador");
        a->execute("CREATE TABLE plat_contador (clave TEXT PRIMARY KEY, valor INTEGER)");
        a->execute("INSERT INTO plat_contador VALUES ('P', 1)");
        Transaction ta(*a);
        a->execute("UPDATE plat_contador SET valor = valor + 1 WHERE clave = 'P'");
        b->execute("SET lock_timeout = '200ms'");
        const auto e = errorOf([&] {
            Transaction tb(*b);
            b->query("SELECT valor FROM plat_contador WHERE clave = 'P' FOR UPDATE");
        });
        QVERIFY(e);
        QCOMPARE(e->causa(), Causa::EsperaBloqueo);
        QVERIFY(!b->inTransaction());
        {
            Transaction sinCommit(*b);
            b->execute("INSERT INTO plat_contador VALUES ('Q', 5)");
        }
        ta.commit();
        QCOMPARE(b->scalar("SELECT valor FROM plat_contador WHERE clave = 'P'").toInt(), 2);
        QCOMPARE(b->scalar("SELECT count(*) FROM plat_contador WHERE clave = 'Q'").toInt(), 0);
    }

    // The Spanish order the schema will use: case ignored, accents only
    // break ties, ñ after n, and a unique code refuses its other case.
    void spanishCollationBehavesLikeTheFiles() {
        ORB_REQUIRE_PG(server);
        auto c = Connection::connect(server.options);
        c->execute("DROP TABLE IF EXISTS plat_es");
        c->execute(
            "DO $$ BEGIN CREATE COLLATION IF NOT EXISTS es (provider = icu, locale = 'es-u-ks-level2', "
            "deterministic = false); END $$");
        c->execute("CREATE TABLE plat_es (cod TEXT COLLATE es PRIMARY KEY)");
        c->execute("INSERT INTO plat_es VALUES ('A0012'), ('nube'), ('ñu'), ('oso'), ('Ánfora'), ('anfora')");
        QCOMPARE(c->scalar("SELECT cod FROM plat_es WHERE cod = ?", {"a0012"}).toString(), QString("A0012"));
        QStringList orden;
        for (const Row& r : c->query("SELECT cod FROM plat_es WHERE cod <> 'A0012' ORDER BY cod"))
            orden << r[0].toString();
        QCOMPARE(orden, (QStringList{"anfora", "Ánfora", "nube", "ñu", "oso"}));
        const auto e = errorOf([&] { c->execute("INSERT INTO plat_es VALUES ('a0012')"); });
        QVERIFY(e);
        QCOMPARE(e->causa(), Causa::CodigoDuplicado);
    }
};

QTEST_GUILESS_MAIN(tst_PgConnection)
#include "tst_pgconnection.moc"
