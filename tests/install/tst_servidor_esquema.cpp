// The agency schema on a real PostgreSQL server, against the one the program
// makes in the file: same tables, columns, indexes and stored queries, and the
// Spanish order and codes the windows rely on.

#include "BaseServidorPrueba.h"
#include "TestInstallation.h"
#include "platform/db/Database.h"
#include "search/SqlBusqueda.h"
#include "shell/Schema.h"
#include "shell/SchemaBusquedaRapida.h"
#include "shell/SchemaServidor.h"

#include <QSet>
#include <QTest>

namespace {

QStringList lista(const QList<QVariantList>& filas) {
    QStringList out;
    for (const QVariantList& f : filas)
        out << f.value(0).toString().toLower();
    return out;
}

QStringList enArchivo(db::Database& d, const QString& sql, const QVariantList& params = {}) {
    return lista(d.query(sql, params));
}

QStringList enServidor(pg::Connection& c, const QString& sql, const QVariantList& params = {}) {
    return lista(c.query(sql, params));
}

QSet<QString> conjunto(const QStringList& l) {
    return QSet<QString>(l.begin(), l.end());
}

// The index's columns in their order, as the server keeps them.
QStringList columnasIndiceServidor(pg::Connection& c, const QString& indice) {
    // An expression (the compared forms of a phone) has no column of its own.
    return enServidor(c,
                      "SELECT CASE WHEN i.indkey[n - 1] = 0 THEN '(expresión)' ELSE a.attname END "
                      "FROM pg_index i JOIN pg_class k ON k.oid = i.indexrelid "
                      "CROSS JOIN generate_series(1, i.indnatts) n "
                      "LEFT JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = i.indkey[n - 1] "
                      "WHERE k.relname = ? ORDER BY n",
                      {indice});
}

} // namespace

class tst_ServidorEsquema : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tieneLoMismoQueElArchivo() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        auto c = base.conectar();
        QVERIFY(orb::schema::isEmptyServerDatabase(*c));
        QCOMPARE(orb::schema::serverSchemaVersion(*c), -1);
        orb::schema::createServerSchema(*c);
        QVERIFY(!c->inTransaction());
        QVERIFY(!orb::schema::isEmptyServerDatabase(*c));
        QCOMPARE(orb::schema::serverSchemaVersion(*c), orb::schema::CurrentVersion);

        TestInstallation inst;
        db::Database& d = inst.context().db();
        QStringList tablas =
            enArchivo(d, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'");
        // The quick search's text index is the file's own: a server seat searches the tables.
        QVERIFY(tablas.removeIf([](const QString& t) { return orb::schema::soloEnArchivo(t); }) > 0);
        QVERIFY(tablas.size() >= 10);
        for (const QString& t : tablas) {
            const QSet<QString> archivo =
                conjunto(enArchivo(d, "SELECT name FROM pragma_table_info(?)", {t}));
            QSet<QString> servidor = conjunto(enServidor(*c,
                                                         "SELECT column_name FROM information_schema.columns "
                                                         "WHERE table_schema = 'public' AND table_name = ?",
                                                         {t}));
            QVERIFY2(servidor.remove("rowid"), qPrintable(t + ": sin rowid en el servidor"));
            QCOMPARE(servidor, archivo);
            // Statements written for the file select the rowid by that name.
            QCOMPARE(c->scalar(QString("SELECT count(rowid) FROM %1").arg(t)).toInt(), 0);
        }
        const QStringList vistas = enArchivo(d, "SELECT name FROM sqlite_master WHERE type = 'view'");
        QVERIFY(!vistas.isEmpty());
        for (const QString& v : vistas) {
            QSet<QString> servidor = conjunto(enServidor(*c,
                                                         "SELECT column_name FROM information_schema.columns "
                                                         "WHERE table_schema = 'public' AND table_name = ?",
                                                         {v}));
            servidor.remove("rowid"); // p.* brings the table's own
            QCOMPARE(servidor, conjunto(enArchivo(d, "SELECT name FROM pragma_table_info(?)", {v})));
        }
        const QStringList indices =
            enArchivo(d, "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL");
        QVERIFY(indices.size() >= 10);
        for (const QString& i : indices) {
            const QStringList archivo = enArchivo(
                d, "SELECT coalesce(name, '(expresión)') FROM pragma_index_info(?) ORDER BY seqno", {i});
            QCOMPARE(columnasIndiceServidor(*c, i), archivo);
            const bool unicoArchivo =
                d.scalar("SELECT \"unique\" FROM pragma_index_list((SELECT tbl_name FROM sqlite_master "
                         "WHERE name = ? COLLATE NOCASE)) WHERE name = ? COLLATE NOCASE",
                         {i, i})
                    .toBool();
            QCOMPARE(c->scalar("SELECT indisunique FROM pg_index i JOIN pg_class k ON k.oid = i.indexrelid "
                               "WHERE k.relname = ?",
                               {i})
                         .toBool(),
                     unicoArchivo);
        }
    }

    // Case ignored and accents only breaking ties, as on the file: the same
    // code in other capitals is the same code.
    void ordenEspanolYCodigos() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        auto c = base.conectar();
        orb::schema::createServerSchema(*c);
        c->execute("INSERT INTO Propiedades (Cod, Agencia, Direccion) VALUES (?, ?, ?), (?, ?, ?)",
                   {"A0012", "A", "Calle del Ático, Ñandú 3", "A0013", "A", "Avenida Nandu 4"});
        QCOMPARE(c->scalar("SELECT Direccion FROM Propiedades WHERE Cod = ?", {"a0012"}).toString(),
                 QString("Calle del Ático, Ñandú 3"));
        try {
            c->execute("INSERT INTO Propiedades (Cod) VALUES (?)", {"a0012"});
            QFAIL("the unique index took a0012 beside A0012");
        } catch (const pg::PgError& e) {
            QCOMPARE(e.causa(), pg::Causa::CodigoDuplicado);
        }
        int cod = 1;
        for (const char* nombre : {"Zafra", "Ñora", "ávila", "Oliva", "Nerja", "Álora", "avila"})
            c->execute("INSERT INTO Localidades (Cod, Nombre) VALUES (?, ?)", {cod++, QString(nombre)});
        QCOMPARE(enServidor(*c, "SELECT Nombre FROM Localidades ORDER BY Nombre, Cod"),
                 QStringList({"álora", "avila", "ávila", "nerja", "ñora", "oliva", "zafra"}));
        // Contains-searches fold accents and capitals but keep ñ.
        const QString busca = QString("SELECT Cod FROM Propiedades WHERE %1(Direccion) ILIKE '%' || %1(?) || "
                                      "'%' ORDER BY Cod")
                                  .arg(orb::schema::FuncionPlegado);
        QCOMPARE(enServidor(*c, busca, {"ATICO"}), QStringList({"a0012"}));
        QCOMPARE(enServidor(*c, busca, {"ñandu"}), QStringList({"a0012"}));
        QCOMPARE(enServidor(*c, busca, {"NANDU"}), QStringList({"a0013"}));
        // The stored queries run and join their catalogues.
        c->execute("UPDATE Propiedades SET CodLocalidad = 2");
        QCOMPARE(enServidor(*c, "SELECT Localidad FROM busquedapropiedades WHERE Cod = 'a0013'"),
                 QStringList({"ñora"}));
    }

    // The address a user types is looked up in the trigram index, not by
    // folding every address: the index's expression is the search's own.
    void buscarPorDireccionUsaSuIndice() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        auto c = base.conectar();
        orb::schema::createServerSchema(*c);
        c->execute("INSERT INTO Propiedades (Cod, Agencia, Estado, Alquiler, Direccion) SELECT "
                   "'A' || lpad(n::text, 4, '0'), 'A', 'En Venta', FALSE, (ARRAY['Calle Granada', "
                   "'Avenida de Andalucía', 'Paseo Marítimo', 'Calle Nueva'])[n % 4 + 1] || ' ' || n "
                   "FROM generate_series(0, 4999) n");
        c->execute("UPDATE Propiedades SET Direccion = 'Calle Larios 5' WHERE Cod = 'A0077'");
        c->execute("VACUUM ANALYZE Propiedades");
        orb::CriteriosPropiedades criterios;
        criterios.direccion = "LARIOS";
        const orb::ConsultaBusqueda q = orb::SqlBusquedaPropiedades(criterios);
        QCOMPARE(enServidor(*c, q.sql, q.params), QStringList({"a0077"}));
        // Only whether the index serves the search, not what the planner makes of 5,000 rows.
        c->execute("SET enable_seqscan = off");
        c->execute("SET enable_indexscan = off");
        const QString plan = lista(c->query("EXPLAIN " + q.sql, q.params)).join('\n');
        QVERIFY2(plan.contains("busquedarapidapropiedades_trigramas"), qPrintable(plan));
    }

    // Half a schema is worse than none: the database stays as it was.
    // A server made by an older program is brought to this one's version,
    // its rows kept; one newer than the program, or not the program's, is left alone.
    void unServidorAnteriorSeActualiza() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        auto c = base.conectar();
        orb::schema::createServerSchema(*c);
        c->execute("INSERT INTO Tipos (Cod, Nombre) VALUES (1, 'Piso')");
        c->execute("UPDATE orbalia_version SET version = ?", {orb::schema::FirstServerVersion});
        QStringList lineas;
        orb::schema::upgradeServerSchema(*c, [&](const QString& l) { lineas << l; });
        QCOMPARE(orb::schema::serverSchemaVersion(*c), orb::schema::CurrentVersion);
        QCOMPARE(lineas.size(), orb::schema::CurrentVersion - orb::schema::FirstServerVersion);
        QCOMPARE(c->scalar("SELECT Nombre FROM Tipos WHERE Cod = 1").toString(), "Piso");
        // Once there, a second run has nothing to do.
        lineas.clear();
        orb::schema::upgradeServerSchema(*c, [&](const QString& l) { lineas << l; });
        QVERIFY(lineas.isEmpty());

        c->execute("UPDATE orbalia_version SET version = ?", {orb::schema::CurrentVersion + 1});
        try {
            orb::schema::upgradeServerSchema(*c);
            QFAIL("a newer server was touched");
        } catch (const std::runtime_error& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains("más nueva que la de este programa"), e.what());
        }
        QCOMPARE(orb::schema::serverSchemaVersion(*c), orb::schema::CurrentVersion + 1);
        c->execute("DROP TABLE orbalia_version");
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, orb::schema::upgradeServerSchema(*c));
    }

    void unFalloNoDejaNada() {
        ORB_REQUIRE_PG(server);
        BaseServidorPrueba base(server);
        auto c = base.conectar();
        c->execute("CREATE TABLE orbalia_version (version integer)");
        QVERIFY_THROWS_EXCEPTION(pg::PgError, orb::schema::createServerSchema(*c));
        QVERIFY(!c->inTransaction());
        QCOMPARE(enServidor(*c, "SELECT table_name FROM information_schema.tables WHERE table_schema = "
                                "'public'"),
                 QStringList({"orbalia_version"}));
        QCOMPARE(c->scalar("SELECT count(*) FROM pg_collation WHERE collname = 'es'").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_ServidorEsquema)
#include "tst_servidor_esquema.moc"
