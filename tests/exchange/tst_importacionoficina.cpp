#include "IntercambioPrueba.h"
#include "exchange/ExportacionOficina.h"
#include "exchange/ImportacionOficina.h"
#include "platform/process/ProcessRunner.h"

#include <QRandomGenerator>
#include <QTest>

using namespace prueba;

// The import of another office's Export.db into this office's database. The
// exchange files are made by the real export of another installation and
// laid where the download leaves them.
class tst_ImportacionOficina : public QObject {
    Q_OBJECT

    // Office "2" (secondary) with two properties, one owner, one client.
    static void exportarOficina(TestInstallation& otra, TestInstallation& aqui, bool clientes = true) {
        db::Database& d = otra.context().db();
        if (d.scalar("SELECT count(*) FROM Propiedades").toInt() == 0) {
            fila(d, "Propiedades", "200001", "2", "f1.jpg");
            fila(d, "Propiedades", "200002", "2");
            fila(d, "Propietarios", "200001", "2");
            if (clientes)
                fila(d, "Clientes", "200001", "2");
            foto(otra.context().RutaFotos + "f1.jpg", {1024, 768}, Qt::red);
        }
        Registro r;
        QVERIFY(orb::ExportacionOficina(otra.context(), r.informe()).Exportar());
        const QString destino = aqui.file("Exchange/" + otra.context().facts.CodigoOficina + "/");
        QDir(destino).removeRecursively();
        QDir().mkpath(destino);
        for (const QString& f :
             QDir(otra.file("Exchange/" + otra.context().facts.CodigoOficina)).entryList(QDir::Files))
            QVERIFY(QFile::copy(otra.file("Exchange/" + otra.context().facts.CodigoOficina + "/" + f),
                                destino + f));
    }

    // This office "1" (principal) already holds rows of its own and old rows of office 2.
    static void filasPrevias(db::Database& d) {
        fila(d, "Propiedades", "100001", "1");
        fila(d, "Propiedades", "200009", "2"); // gone from office 2's export
        fila(d, "Propietarios", "200009", "2");
        fila(d, "Clientes", "100001", "1");
        fila(d, "Clientes", "200009", "2");
        catalogo(d, 1, "Piso");
    }

    static QStringList todo(db::Database& d) {
        QStringList out;
        for (const char* t : {"Tipos", "Localidades", "Areas", "Propiedades", "Propietarios", "Clientes"})
            out << QString::fromLatin1(t) << tabla(d, QString::fromLatin1(t));
        return out;
    }

private Q_SLOTS:
    void clientsWishesTravelWithThem() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& o = otra.context().db();
        db::Database& d = aqui.context().db();
        filasPrevias(d);
        // Office 2's client wants Elviria and anywhere in Nerja, 3 bedrooms, a pool, from 200,000.
        fila(o, "Clientes", "200001", "2");
        fila(o, "Clientes", "200002", "2");
        o.execute("UPDATE Clientes SET PresupuestoMinimo = 200000, DormitoriosMinimo = 3, QuierePiscina = 1 "
                  "WHERE Cod = '200001'");
        o.execute("INSERT INTO ClientesZonas (CodCliente, CodLocalidad, CodArea) VALUES ('200001', 1, 2), "
                  "('200001', 2, NULL), ('200002', 3, NULL)");
        // Here: an older copy of 200001 and old places of office 2's clients (200009 is gone from the
        // export), and one of our own.
        fila(d, "Clientes", "200001", "2");
        d.execute("INSERT INTO ClientesZonas (CodCliente, CodLocalidad, CodArea) VALUES ('200009', 7, NULL), "
                  "('200001', 8, NULL), ('100001', 5, NULL)");
        exportarOficina(otra, aqui, false);
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(tabla(d, "Clientes", "WHERE Agencia = '2'"), tabla(o, "Clientes")); // every column
        auto lugares = [](db::Database& b) {
            QStringList out;
            for (const db::Row& z : b.query("SELECT CodCliente, CodLocalidad, ifnull(CodArea, '-') FROM "
                                            "ClientesZonas ORDER BY CodCliente, CodLocalidad"))
                out << z[0].toString() + ":" + z[1].toString() + ":" + z[2].toString();
            return out;
        };
        QCOMPARE(lugares(d), (QStringList{"100001:5:-", "200001:1:2", "200001:2:-", "200002:3:-"}));
        // Imported again: the same places, not twice.
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(lugares(d), (QStringList{"100001:5:-", "200001:1:2", "200001:2:-", "200002:3:-"}));
    }

    void exportFromAnOfficeWithoutWishesStillImports() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        exportarOficina(otra, aqui);
        // A file made by an office not yet upgraded: no places, no wish fields.
        {
            auto x = db::Database::open(aqui.file("Exchange/2/Export.db"), {.durable = false});
            x->execute("DROP TABLE ClientesZonas");
            for (const char* c : {"PresupuestoMinimo", "DormitoriosMinimo", "QuierePiscina", "QuiereGaraje",
                                  "QuiereAscensor", "QuiereTerraza"})
                x->execute(QStringLiteral("ALTER TABLE Clientes DROP COLUMN %1").arg(QLatin1String(c)));
        }
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(aqui.context().db().scalar("SELECT count(*) FROM Clientes WHERE Agencia = '2'").toInt(), 1);
    }

    void replacesTheOfficesRowsAndKeepsOwnRows() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& d = aqui.context().db();
        filasPrevias(d);
        const QStringList propias = tabla(d, "Propiedades", "WHERE Agencia = '1'");
        exportarOficina(otra, aqui);
        // A crafted export naming this office's rows must not reach them.
        {
            auto x = db::Database::open(aqui.file("Exchange/2/Export.db"), {.durable = false});
            fila(*x, "Propiedades", "100001X", "1");
        }
        Registro r;
        orb::ImportacionOficina imp(aqui.context(), r.informe());
        QVERIFY(imp.Importar("2", "1"));
        QCOMPARE(r.lineas, QStringList({"Iniciando importación ...", "Importando propiedad 200001",
                                        "Importando propiedad 200002", "Se han importado 2 propiedades.",
                                        "Importando propietario 200001", "Se han importado 1 propietarios.",
                                        "Importando cliente 200001", "Se han importado 1 clientes.",
                                        "Importación finalizada."}));
        db::Database& o = otra.context().db();
        for (const char* t : {"Propiedades", "Propietarios", "Clientes"})
            QCOMPARE(tabla(d, t, "WHERE Agencia = '2'"), tabla(o, t));
        QCOMPARE(tabla(d, "Propiedades", "WHERE Agencia = '1'"), propias);
        QCOMPARE(tabla(d, "Clientes", "WHERE Agencia = '1'").size(), 1);
        // Catalogues come only from the principal: office 2 is not it.
        QCOMPARE(tabla(d, "Tipos").size(), 1);
        // The photograph arrived as the export's picture.
        QCOMPARE(QImage(aqui.context().RutaFotos + "f1.jpg").size(), QSize(800, 600));
    }

    void officeWithoutClientsLeavesNoneAndTwiceGivesTheSame() {
        TestInstallation aqui(oficina("1", true, "122"));
        TestInstallation otra(oficina("2", false));
        filasPrevias(aqui.context().db());
        exportarOficina(otra, aqui, false);
        db::Database& d = aqui.context().db();
        Registro r;
        orb::ImportacionOficina imp(aqui.context(), r.informe());
        QVERIFY(imp.Importar("2", "1"));
        QCOMPARE(tabla(d, "Clientes", "WHERE Agencia = '2'"), QStringList());
        const QStringList unaVez = todo(d);
        // The whole run with the office listed twice: the (unconfigured)
        // download fails and the import of the same file gives the same result.
        proc::ProcessRunner runner;
        r.lineas.clear();
        QVERIFY(!imp.ejecutar(runner));
        QCOMPARE(r.lineas.count("Importación finalizada."), 2);
        QCOMPARE(todo(d), unaVez);
    }

    void catalogueComesFromThePrincipalOnly() {
        TestInstallation aqui(oficina("2", false, "12"));
        TestInstallation principal(oficina("1", true, "12"));
        catalogo(principal.context().db(), 5, "Ático");
        catalogo(aqui.context().db(), 9, "Local");
        exportarOficina(principal, aqui);
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("1", "1"));
        QCOMPARE(tabla(aqui.context().db(), "Tipos"), tabla(principal.context().db(), "Tipos"));
        QCOMPARE(r.lineas.mid(1, 2), QStringList({"Importando tipo 5", "Se han importado 1 tipos."}));
    }

    void onlyThisOfficeInTheListDoesNothing() {
        TestInstallation aqui(oficina("1", true, "1"));
        Registro r;
        proc::ProcessRunner runner;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).ejecutar(runner));
        QCOMPARE(r.lineas, QStringList());
    }

    void officeCodesTravelAsValues() {
        TestInstallation aqui(oficina("1", true, "1'"));
        TestInstallation otra(oficina("'", false));
        fila(otra.context().db(), "Propiedades", "'00001", "'");
        fila(aqui.context().db(), "Propiedades", "'00009", "'");
        exportarOficina(otra, aqui);
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("'", "1"));
        QCOMPARE(tabla(aqui.context().db(), "Propiedades"), tabla(otra.context().db(), "Propiedades"));
    }

    void refusedRowsAreCountedApart() {
        TestInstallation aqui(oficina("1", true));
        TestInstallation otra(oficina("2", false));
        exportarOficina(otra, aqui);
        // The same code already used here by another office's row.
        fila(aqui.context().db(), "Propiedades", "200002", "3");
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QVERIFY(r.lineas.contains("Se han importado 1 propiedades."));
        QVERIFY(r.lineas.contains("1 registros de propiedades no importados."));
    }

    void unreadableExchangeFileChangesNothing_data() {
        QTest::addColumn<QString>("caso");
        QTest::newRow("falta") << "falta";
        QTest::newRow("vacío") << "vacio";
        QTest::newRow("truncado") << "truncado";
        QTest::newRow("bytes al azar") << "azar";
        QTest::newRow("otro esquema") << "esquema";
        QTest::newRow("campo desconocido") << "campo";
    }
    void unreadableExchangeFileChangesNothing() {
        QFETCH(QString, caso);
        TestInstallation aqui(oficina("2", false));
        TestInstallation principal(oficina("1", true));
        db::Database& p = principal.context().db();
        catalogo(p, 5, "Ático");
        db::Transaction tx(p);
        for (int i = 0; i < 3000; ++i)
            fila(p, "Propiedades", QStringLiteral("1%1").arg(i, 5, 10, QChar('0')), "1");
        tx.commit();
        exportarOficina(principal, aqui);
        db::Database& d = aqui.context().db();
        catalogo(d, 9, "Local");
        fila(d, "Propiedades", "100001", "1");
        fila(d, "Clientes", "100001", "1");
        const QStringList antes = todo(d);
        const QString f = aqui.file("Exchange/1/Export.db");
        QFile file(f);
        if (caso == "falta") {
            QVERIFY(file.remove());
        } else if (caso == "vacio") {
            QVERIFY(file.resize(0));
        } else if (caso == "truncado") {
            QVERIFY(file.resize(file.size() / 2));
        } else if (caso == "azar") {
            QByteArray bytes(64 * 1024, '\0');
            for (char& b : bytes)
                b = char(QRandomGenerator::global()->bounded(256));
            escribir(f, bytes);
        } else if (caso == "esquema") {
            QVERIFY(file.remove());
            auto x = db::Database::open(f, {.create = true, .durable = false});
            x->execute("CREATE TABLE Propiedades (Cod TEXT, Agencia TEXT)");
        } else {
            auto x = db::Database::open(f, {.durable = false});
            x->execute("ALTER TABLE Clientes ADD COLUMN Desconocido TEXT");
        }
        Registro r;
        QVERIFY(!orb::ImportacionOficina(aqui.context(), r.informe()).Importar("1", "1"));
        QCOMPARE(todo(d), antes);
        QVERIFY2(r.lineas.size() >= 2 && r.lineas.last().contains("oficina 1"),
                 qPrintable(r.lineas.join('\n')));
        QVERIFY(!r.lineas.contains("Importación finalizada."));
    }

    void failureHalfWayKeepsThePreviousRows_data() {
        QTest::addColumn<bool>("disparador");
        QTest::newRow("tras una tabla") << false;
        QTest::newRow("disparador en una fila") << true;
    }
    void failureHalfWayKeepsThePreviousRows() {
        QFETCH(bool, disparador);
        TestInstallation aqui(oficina("2", false));
        TestInstallation principal(oficina("1", true));
        catalogo(principal.context().db(), 5, "Ático");
        fila(principal.context().db(), "Propiedades", "100001", "1");
        fila(principal.context().db(), "Propietarios", "100001", "1");
        exportarOficina(principal, aqui);
        db::Database& d = aqui.context().db();
        catalogo(d, 9, "Local");
        fila(d, "Propiedades", "100077", "1");
        fila(d, "Propietarios", "100077", "1");
        const QStringList antes = todo(d);
        Registro r;
        orb::ImportacionOficina imp(aqui.context(), r.informe());
        if (disparador)
            d.execute("CREATE TEMP TRIGGER falla BEFORE INSERT ON main.Propietarios "
                      "BEGIN SELECT RAISE(ABORT, 'fallo provocado'); END");
        else
            imp.trasTabla = [](const QString& t) {
                if (t == u"Propietarios")
                    throw db::DbError(db::ErrGeneric, "fallo provocado");
            };
        QVERIFY(!imp.Importar("1", "1"));
        QCOMPARE(todo(d), antes);
        QVERIFY(r.lineas.filter("fallo provocado").size() == 1);
        QVERIFY(r.lineas.last().contains("No se ha importado nada de la oficina 1"));
    }
};

QTEST_GUILESS_MAIN(tst_ImportacionOficina)
#include "tst_importacionoficina.moc"
