// The import of another office's Export.db into this office's database: which
// rows replace which, what travels with a client, the catalogues, and the
// rows refused and counted.

#include "ImportacionPrueba.h"
#include "exchange/ImportacionOficina.h"
#include "platform/process/ProcessRunner.h"

#include <QSignalSpy>
#include <QTest>

using namespace prueba;

namespace {

// Office 2's file imported here, office 1 being the principal.
bool importarDeLaOficina2(TestInstallation& aqui) {
    Registro r;
    return orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1");
}

} // namespace

class tst_ImportacionOficina : public QObject, private RegistroImportacion {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        ORB_MOTOR_DISPONIBLE();
        iniciarRegistro();
    }
    void init() { vaciarRegistro(); }

    void clientsWishesTravelWithThem() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& o = otra.context().db();
        db::Database& d = aqui.context().db();
        filasPrevias(d);
        // Office 2's client wants Elviria and anywhere in Nerja, 3 bedrooms, a pool, from 200,000.
        fila(o, "Clientes", "200001", "2");
        fila(o, "Clientes", "200002", "2");
        o.execute(
            "UPDATE Clientes SET PresupuestoMinimo = 200000, DormitoriosMinimo = 3, QuierePiscina = TRUE "
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
            for (const db::Row& z :
                 b.query("SELECT CodCliente, CodLocalidad, coalesce(CAST(CodArea AS TEXT), '-') FROM "
                         "ClientesZonas ORDER BY CodCliente, CodLocalidad"))
                out << z[0].toString() + ":" + z[1].toString() + ":" + z[2].toString();
            return out;
        };
        QCOMPARE(lugares(d), (QStringList{"100001:5:-", "200001:1:2", "200001:2:-", "200002:3:-"}));
        // Imported again: the same places, not twice.
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(lugares(d), (QStringList{"100001:5:-", "200001:1:2", "200001:2:-", "200002:3:-"}));
    }

    // A client of office 2 whose code another office's client holds here is
    // refused, and so are its places: office 3's client keeps its own wishes.
    void refusedClientLendsNoPlaces() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& o = otra.context().db();
        db::Database& d = aqui.context().db();
        fila(o, "Clientes", "200001", "2");
        fila(o, "Clientes", "200003", "2");
        o.execute("INSERT INTO ClientesZonas (CodCliente, CodLocalidad, CodArea) VALUES ('200001', 1, NULL), "
                  "('200003', 4, 5), ('200003', 6, NULL)");
        fila(d, "Clientes", "200003", "3");
        d.execute("INSERT INTO ClientesZonas (CodCliente, CodLocalidad, CodArea) VALUES ('200003', 9, NULL)");
        exportarOficina(otra, aqui, false);
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(d.scalar("SELECT Agencia FROM Clientes WHERE Cod = '200003'").toString(), QString("3"));
        QStringList lugares;
        for (const db::Row& z :
             d.query("SELECT CodCliente, CodLocalidad, coalesce(CAST(CodArea AS TEXT), '-') FROM "
                     "ClientesZonas ORDER BY CodCliente, CodLocalidad"))
            lugares << z[0].toString() + ":" + z[1].toString() + ":" + z[2].toString();
        QCOMPARE(lugares, (QStringList{"200001:1:-", "200003:9:-"}));
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
        QSignalSpy avisos(&aqui.context().cambios, &orb::CambiosRegistros::registroCambiado);
        QVERIFY(imp.Importar("2", "1"));
        // The windows hear of each table the office replaced (not the catalogues: it is not the principal).
        QStringList tablas;
        for (const QList<QVariant>& a : avisos)
            tablas << a.at(0).toString();
        tablas.sort();
        QCOMPARE(tablas, QStringList({"Clientes", "Propiedades", "Propietarios", "Visitas"}));
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

    // The next day's file: what it brings unchanged stays as it was (same row,
    // same row version), and every change arrives, one of case or accent alone included.
    void unchangedRowsStayAndEveryChangeArrives() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& d = aqui.context().db();
        db::Database& o = otra.context().db();
        exportarOficina(otra, aqui);
        QVERIFY(importarDeLaOficina2(aqui));
        o.execute("UPDATE Propiedades SET Direccion = 'Calle Larios, 1' WHERE Cod = '200002'");
        o.execute("UPDATE Propietarios SET Nombre = 'Peña' WHERE Cod = '200001'");
        exportarOficina(otra, aqui);
        QVERIFY(importarDeLaOficina2(aqui));
        // A row of this office after them: a row stored again would now get a higher number.
        fila(d, "Propiedades", "100009", "1");
        const auto sitio = [&](const char* cod) {
            return d.query("SELECT rowid, Version FROM Propiedades WHERE Cod = ?", {cod}).value(0);
        };
        const db::Row antes = sitio("200001");

        o.execute("UPDATE Propiedades SET Direccion = 'calle larios, 1' WHERE Cod = '200002'");
        // Owners have no time of change: their row differs in the case alone.
        o.execute("UPDATE Propietarios SET Nombre = 'PEÑA' WHERE Cod = '200001'");
        exportarOficina(otra, aqui);
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QVERIFY2(r.lineas.contains("Se han importado 2 propiedades."), qPrintable(r.lineas.join('\n')));
        QVERIFY(r.lineas.contains("Se han importado 1 propietarios."));
        for (const char* t : {"Propiedades", "Propietarios", "Clientes"})
            QCOMPARE(tabla(d, t, "WHERE Agencia = '2'"), tabla(o, t));
        QCOMPARE(d.scalar("SELECT Direccion FROM Propiedades WHERE Cod = '200002'").toString(),
                 QString("calle larios, 1"));
        QCOMPARE(d.scalar("SELECT Nombre FROM Propietarios WHERE Cod = '200001'").toString(),
                 QString("PEÑA"));
        // The server's import replaces every row (its own way; rows are not kept there yet).
        if (!testservers::onServer())
            QCOMPARE(sitio("200001"), antes);
    }

    // The next day's file turns a number of its last property into text: that
    // row, stored again where the old one stood, is still refused and named;
    // the row kept beside it stays.
    void aChangedLastRowIsCheckedAgain() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& d = aqui.context().db();
        exportarOficina(otra, aqui);
        QVERIFY(importarDeLaOficina2(aqui));
        QCOMPARE(d.scalar("SELECT Cod FROM Propiedades ORDER BY rowid DESC LIMIT 1").toString(),
                 QString("200002"));
        exportarOficina(otra, aqui);
        {
            auto x = db::Database::open(aqui.file("Exchange/2/Export.db"), {.durable = false});
            x->execute("UPDATE Propiedades SET Precio = 'caro' WHERE Cod = '200002'");
        }
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        for (const char* linea :
             {"No se importa el registro 200002 de Propiedades: el campo Precio tiene «caro», que no es un "
              "número.",
              "Se han importado 1 propiedades.", "1 registro de propiedades no importado."})
            QVERIFY2(r.lineas.contains(linea), qPrintable(linea + QString("\n---\n") + r.lineas.join('\n')));
        QCOMPARE(tabla(d, "Propiedades", "WHERE Agencia = '2'"),
                 tabla(otra.context().db(), "Propiedades", "WHERE Cod = '200001'"));
    }

    // A window that shows a count per hundred takes the row lines apart: each
    // table's in one list, in order, none of them in the log; the agency
    // connection keeps its own page cache after the run's larger one.
    void rowLinesApartWhenAskedAndTheCacheComesBack() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& d = aqui.context().db();
        exportarOficina(otra, aqui);
        // Only the file has a page cache of its own.
        const qint64 cache = testservers::onServer() ? 0 : d.scalar("PRAGMA main.cache_size").toLongLong();
        Registro r;
        orb::InformeIntercambio informe = r.informe();
        QList<QStringList> filas;
        informe.filas = [&](const QStringList& l) { filas << l; };
        orb::ImportacionOficina imp(aqui.context(), informe);
        QVERIFY(imp.Importar("2", "1"));
        QCOMPARE(filas, QList<QStringList>({{"Importando propiedad 200001", "Importando propiedad 200002"},
                                            {"Importando propietario 200001"},
                                            {"Importando cliente 200001"}}));
        QCOMPARE(r.lineas, QStringList({"Iniciando importación ...", "Se han importado 2 propiedades.",
                                        "Se han importado 1 propietarios.", "Se han importado 1 clientes.",
                                        "Importación finalizada."}));
        if (!testservers::onServer())
            QCOMPARE(d.scalar("PRAGMA main.cache_size").toLongLong(), cache);
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

    void refusedRowsAreCountedApart() {
        TestInstallation aqui(oficina("1", true));
        TestInstallation otra(oficina("2", false));
        exportarOficina(otra, aqui);
        // The same code already used here by another office's row.
        fila(aqui.context().db(), "Propiedades", "200002", "3");
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QVERIFY(r.lineas.contains("Se han importado 1 propiedades."));
        QVERIFY(r.lineas.contains("1 registro de propiedades no importado."));
    }

    // Text in a number column: SQLite would keep it. Such rows are refused
    // like those that break a rule, each named, and counted.
    void textInNumberColumnsIsRefusedAndCounted() {
        TestInstallation aqui(oficina("2", false, "12"));
        TestInstallation principal(oficina("1", true, "12"));
        db::Database& p = principal.context().db();
        catalogo(p, 5, "Ático");
        catalogo(p, 6, "Chalet");
        for (const char* cod : {"100001", "100002", "100003", "100004"})
            fila(p, "Propiedades", cod, "1");
        fila(p, "Clientes", "100001", "1");
        exportarOficina(principal, aqui);
        {
            auto x = db::Database::open(aqui.file("Exchange/1/Export.db"), {.durable = false});
            x->execute("UPDATE Propiedades SET Precio = 'caro' WHERE Cod = '100001'");
            x->execute("UPDATE Propiedades SET Dormitorios = 'muchos' WHERE Cod = '100003'");
            x->execute(
                "UPDATE Propiedades SET Dormitorios = 3, Metros = '95' WHERE Cod = '100004'"); // reads as a
                                                                                               // number
            x->execute("UPDATE Tipos SET Cod = 'x9' WHERE Cod = 6");
            x->execute("UPDATE Clientes SET Presupuesto = 'mucho' WHERE Cod = '100001'");
            x->execute("INSERT INTO ClientesZonas (CodCliente, CodLocalidad) VALUES ('100001', 5)");
        }
        // The same edit as the file's, time of change included: the file has no trigger to move it.
        p.execute(testservers::onServer() ? "DROP TRIGGER propiedades_modificado ON propiedades"
                                          : "DROP TRIGGER Propiedades_Modificado");
        p.execute("UPDATE Propiedades SET Dormitorios = 3, Metros = 95 WHERE Cod = '100004'");
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("1", "1"));
        db::Database& d = aqui.context().db();
        QCOMPARE(tabla(d, "Propiedades", "WHERE Agencia = '1'"),
                 tabla(p, "Propiedades", "WHERE Cod IN ('100002', '100004')"));
        QCOMPARE(d.scalar("SELECT Metros FROM Propiedades WHERE Cod = '100004'").metaType().id(),
                 QMetaType::LongLong);
        QCOMPARE(tabla(d, "Tipos"), tabla(p, "Tipos", "WHERE Cod = 5"));
        QCOMPARE(d.scalar("SELECT count(*) FROM Clientes").toInt(), 0);
        QCOMPARE(d.scalar("SELECT count(*) FROM ClientesZonas").toInt(), 0); // its places go with it
        for (const char* linea :
             {"No se importa el registro x9 de Tipos: el campo Cod tiene «x9», que no es un número.",
              "1 registro de tipos no importado.", "Se han importado 1 tipos.",
              "No se importa el registro 100001 de Propiedades: el campo Precio tiene «caro», que no es un "
              "número.",
              "No se importa el registro 100003 de Propiedades: el campo Dormitorios tiene «muchos», que no "
              "es un número.",
              "Se han importado 2 propiedades.", "2 registros de propiedades no importados.",
              "No se importa el registro 100001 de Clientes: el campo Presupuesto tiene «mucho», que no es "
              "un "
              "número.",
              "1 registro de clientes no importado."})
            QVERIFY2(r.lineas.contains(linea), qPrintable(linea + QString("\n---\n") + r.lineas.join('\n')));
        QVERIFY(r.lineas.filter("Se han importado").filter("clientes").isEmpty());
    }

    // All sold: the office's own file says it holds nothing, and that is imported.
    void officeWithNoRowsLeftStillImports() {
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& d = aqui.context().db();
        exportarOficina(otra, aqui);
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(d.scalar("SELECT count(*) FROM Propiedades WHERE Agencia = '2'").toInt(), 2);
        for (const char* t : {"Propiedades", "Propietarios", "Clientes"})
            otra.context().db().execute(QStringLiteral("DELETE FROM %1").arg(t));
        exportarOficina(otra, aqui, true, false);
        r.lineas.clear();
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        for (const char* t : {"Propiedades", "Propietarios", "Clientes"})
            QCOMPARE(tabla(d, t, "WHERE Agencia = '2'"), QStringList());
        QCOMPARE(r.lineas.last(), "Importación finalizada.");
    }

    // The catalogues replace this office's whole: the principal's empty ones are refused.
    void emptyCataloguesFromThePrincipalAreRefused_data() {
        QTest::addColumn<QString>("vacio");
        QTest::newRow("sin tipos") << "Tipos";
        QTest::newRow("sin localidades") << "Localidades";
    }
    void emptyCataloguesFromThePrincipalAreRefused() {
        QFETCH(QString, vacio);
        TestInstallation aqui(oficina("2", false, "12"));
        TestInstallation principal(oficina("1", true, "12"));
        catalogo(principal.context().db(), 5, "Ático");
        principal.context().db().execute(QStringLiteral("DELETE FROM %1").arg(vacio));
        fila(principal.context().db(), "Propiedades", "100001", "1");
        exportarOficina(principal, aqui);
        db::Database& d = aqui.context().db();
        catalogo(d, 9, "Local");
        const QStringList antes = todo(d);
        Registro r;
        QVERIFY(!orb::ImportacionOficina(aqui.context(), r.informe()).Importar("1", "1"));
        QCOMPARE(todo(d), antes);
        QCOMPARE(r.lineas.last(),
                 QStringLiteral("No se importa la oficina 1: la oficina principal ha exportado "
                                "vacío el catálogo de %1; se conservan los catálogos de esta "
                                "oficina.")
                     .arg(vacio.toLower()));
        // Areas are optional: a principal without any still sends its catalogues.
        principal.context().db().execute("DELETE FROM Areas");
        catalogo(principal.context().db(), 7, "Estudio");
        exportarOficina(principal, aqui);
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("1", "1"));
        QCOMPARE(tabla(d, "Tipos"), tabla(principal.context().db(), "Tipos"));
    }
};

QTEST_GUILESS_MAIN(tst_ImportacionOficina)
#include "tst_importacionoficina.moc"
