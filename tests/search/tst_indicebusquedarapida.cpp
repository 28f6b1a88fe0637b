// The quick search's text index on the agency file: every writer keeps it
// in step (a change, a delete, a replace, an office import), the upgrade
// fills it from the rows stored before it, and it travels nowhere (the
// exchange file has none; the search reads the tables where it is missing).

#include "../exchange/ImportacionPrueba.h"
#include "IndiceTextoPrueba.h"
#include "TestServers.h"
#include "exchange/ImportacionOficina.h"
#include "search/BusquedaRapida.h"
#include "shell/Schema.h"
#include "shell/SchemaBusquedaRapida.h"
#include "shell/Upgrade.h"

#include <QRegularExpression>
#include <QTest>
#include <QTextStream>

using namespace prueba;

namespace {

// "kind code" of each record found.
QStringList buscar(db::Database& d, const QString& texto) {
    QStringList out;
    for (const orb::Encontrado& e : orb::BuscarRapido(d, texto))
        out << QStringLiteral("%1 %2").arg(int(e.clase)).arg(e.cod);
    return out;
}

} // namespace

class tst_IndiceBusquedaRapida : public QObject, private RegistroImportacion {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        ORB_MOTOR_DISPONIBLE();
        iniciarRegistro();
    }
    void init() { vaciarRegistro(); }

    void everyWriteKeepsItInStep() {
        TestInstallation inst;
        db::Database& d = inst.context().db();
        // The server's seats read its trigram indexes, which it keeps itself.
        QCOMPARE(orb::TieneIndiceTexto(d), !d.onServer());
        d.execute("INSERT INTO Propiedades (Cod, Agencia, Direccion) VALUES ('0100001', '01', 'Calle Río "
                  "Seco 4'), ('0100002', '01', 'Plaza Nueva 1')");
        d.execute("INSERT INTO Clientes (Cod, Agencia, Nombre, Email) VALUES ('0100001', '01', 'Inés Peña', "
                  "'ines@correo.es')");
        QCOMPARE(buscar(d, "rio seco"), QStringList{"0 0100001"});
        QCOMPARE(buscar(d, "INES P"), QStringList{"2 0100001"});

        // Changed: found by what it says now, no longer by what it said.
        d.execute("UPDATE Propiedades SET Direccion = 'Avenida del Puerto 9' WHERE Cod = '0100001'");
        QCOMPARE(buscar(d, "rio seco"), QStringList{});
        QCOMPARE(buscar(d, "del puerto"), QStringList{"0 0100001"});
        d.execute("UPDATE Clientes SET Email = 'ipena@web.es' WHERE Cod = '0100001'");
        QCOMPARE(buscar(d, "ines@"), QStringList{});
        QCOMPARE(buscar(d, "ipena@"), QStringList{"2 0100001"});
        // Only an accent added: the index holds the text without it either way.
        d.execute("UPDATE Clientes SET Nombre = 'Inés Peña Ruíz' WHERE Cod = '0100001'");
        QCOMPARE(buscar(d, "peña ruiz"), QStringList{"2 0100001"});
        QCOMPARE(buscar(d, "pena ruiz"), QStringList{}); // ñ is a letter of its own
        // Other fields leave it as it was.
        d.execute("UPDATE Propiedades SET Precio = 1000 WHERE Cod = '0100001'");
        QCOMPARE(buscar(d, "del puerto"), QStringList{"0 0100001"});

        // Replaced by a row of the same code (on the file no delete trigger fires for it;
        // the server has no REPLACE).
        d.execute(QString(d.onServer() ? "INSERT" : "INSERT OR REPLACE") +
                  " INTO Propiedades (Cod, Agencia, Direccion) VALUES ('0100002', '01', 'Camino Alto 7')" +
                  (d.onServer() ? " ON CONFLICT (Cod) DO UPDATE SET Direccion = excluded.Direccion" : ""));
        QCOMPARE(buscar(d, "plaza nueva"), QStringList{});
        QCOMPARE(buscar(d, "camino alto"), QStringList{"0 0100002"});
        // The replaced row's rowid comes back to a new row once the rows after it are gone.
        d.execute("DELETE FROM Propiedades WHERE Cod = '0100002'");
        d.execute(
            "INSERT INTO Propiedades (Cod, Agencia, Direccion) VALUES ('0100003', '01', 'Paseo Bajo 2')");
        QCOMPARE(buscar(d, "paseo bajo"), QStringList{"0 0100003"});
        QCOMPARE(buscar(d, "plaza nueva"), QStringList{});

        // Deleted: not found.
        d.execute("DELETE FROM Propiedades WHERE Cod = '0100001'");
        QCOMPARE(buscar(d, "del puerto"), QStringList{});
        d.execute("DELETE FROM Clientes");
        QCOMPARE(buscar(d, "peña"), QStringList{});
        if (!d.onServer())
            QCOMPARE(d.scalar("SELECT count(*) FROM BusquedaRapidaClientes").toInt(), 0);
    }

    // Rows numbered anew behind the triggers' back (a dump loaded again):
    // a rowid that now holds another record never opens it.
    void aRenumberedRowIsNeverAnother() {
        ORB_SOLO_ARCHIVO("the rowids behind the file's text index");
        TestInstallation inst;
        db::Database& d = inst.context().db();
        d.execute("INSERT INTO Propiedades (Cod, Agencia, Direccion) VALUES ('0100001', '01', 'Calle Uno'), "
                  "('0100002', '01', 'Calle Dos')");
        d.execute("INSERT INTO Clientes (Cod, Agencia, Nombre) VALUES ('0100001', '01', 'Ana Uno'), "
                  "('0100002', '01', 'Eva Dos')");
        QuitarIndiceTexto(d);
        for (const char* t : {"Propiedades", "Clientes"})
            d.execute(
                QString("UPDATE %1 SET rowid = 10 WHERE rowid = 1; UPDATE %1 SET rowid = 1 WHERE rowid = 2; "
                        "UPDATE %1 SET rowid = 2 WHERE rowid = 10")
                    .arg(t));
        for (const QString& sql : orb::schema::detail::crearIndicesTexto())
            d.executeScript(sql);
        d.execute(
            "INSERT INTO BusquedaRapidaPropiedades (rowid, Cod, Direccion) VALUES (1, '0100001', 'Calle "
            "Uno'), (2, '0100002', 'Calle Dos')");
        d.execute("INSERT INTO BusquedaRapidaClientes (rowid, Nombre, Email, Cod) VALUES (1, 'Ana Uno', '', "
                  "'0100001'), (2, 'Eva Dos', '', '0100002')");
        QCOMPARE(buscar(d, "calle uno"), QStringList{});
        QCOMPARE(buscar(d, "eva dos"), QStringList{});
        // The step fills it again from the rows as they are.
        orb::schema::detail::pasoBusquedaRapida(d);
        QCOMPARE(buscar(d, "calle uno"), QStringList{"0 0100001"});
        QCOMPARE(buscar(d, "eva dos"), QStringList{"2 0100002"});
    }

    // The import deletes office 2's old rows and inserts those of its export.
    void anOfficeImportLeavesItRight() {
        ORB_SOLO_ARCHIVO("the office import attaches the exchange file");
        TestInstallation aqui(oficina("1", true, "12"));
        TestInstallation otra(oficina("2", false, "12"));
        db::Database& d = aqui.context().db();
        filasPrevias(d);
        QCOMPARE(buscar(d, "nombre 200009"), (QStringList{"1 200009", "2 200009"}));
        exportarOficina(otra, aqui);
        // The export file carries the tables, never the index made from them.
        {
            auto exportado = db::Database::open(aqui.file("Exchange/2/Export.db"), {.readOnly = true});
            QCOMPARE(exportado->scalar("SELECT count(*) FROM sqlite_master WHERE name LIKE 'BusquedaRapida%'")
                         .toInt(),
                     0);
            QVERIFY(!orb::TieneIndiceTexto(*exportado));
        }
        Registro r;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(buscar(d, "nombre 200009"), QStringList{});
        QCOMPARE(buscar(d, "calle 200009"), QStringList{});
        QCOMPARE(buscar(d, "calle 200002"), QStringList{"0 200002"});
        QCOMPARE(buscar(d, "nombre 200001"), (QStringList{"1 200001", "2 200001"}));
        QCOMPARE(buscar(d, "calle 100001"), QStringList{"0 100001"}); // this office's own stay
        // Imported again over itself: each record once.
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).Importar("2", "1"));
        QCOMPARE(buscar(d, "200001"), (QStringList{"0 200001", "1 200001", "2 200001"}));
        QCOMPARE(d.scalar("SELECT count(*) FROM BusquedaRapidaPropiedades").toInt(),
                 d.scalar("SELECT count(*) FROM Propiedades").toInt());
    }

    // orbalia-updatedb's run: a dated copy, then the step fills the index
    // with the rows an older program stored.
    void theUpgradeFillsItFromTheRowsStored() {
        ORB_SOLO_ARCHIVO("the file's upgrade and its text index");
        TestInstallation inst;
        const QString ruta = inst.context().RutaBaseDatos;
        {
            db::Database& d = inst.context().db();
            QuitarIndiceTexto(d);
            d.execute("INSERT INTO Propiedades (Cod, Agencia, Direccion) VALUES ('0100007', '01', 'Calle "
                      "Málaga 3')");
            d.execute(
                "INSERT INTO Propietarios (Cod, Agencia, Nombre) VALUES ('0100003', '01', 'José Núñez')");
            d.setUserVersion(16);
            // Without the index it is still found, by the same rules.
            QVERIFY(!orb::TieneIndiceTexto(d));
            QCOMPARE(buscar(d, "malaga"), QStringList{"0 0100007"});
            QCOMPARE(buscar(d, "nu"), QStringList{});
            QCOMPARE(buscar(d, "jo"), QStringList{"1 0100003"});
        }
        inst.context().BaseDatosAgencia.reset();
        QString salida, errores;
        QTextStream out(&salida), err(&errores);
        const int codigo = orb::upgrade::runUpdateDb({}, {inst.path(), {}, {}}, out, err);
        out.flush();
        QVERIFY2(codigo == 0, qPrintable(salida + errores));
        QVERIFY2(salida.contains("índice de texto BusquedaRapidaPropiedades con 1 fila"), qPrintable(salida));
        QCOMPARE(QDir(inst.path()).entryList({"Orbalia-*.db"}, QDir::Files).size(), 1);

        auto d = db::Database::open(ruta);
        QCOMPARE(d->userVersion(), orb::schema::CurrentVersion);
        QCOMPARE(buscar(*d, "malaga"), QStringList{"0 0100007"});
        QCOMPARE(buscar(*d, "jose nuñ"), QStringList{"1 0100003"});
        // Two characters: names that begin with them.
        QCOMPARE(buscar(*d, "nu"), QStringList{});
        QCOMPARE(buscar(*d, "jo"), QStringList{"1 0100003"});
        // From now on the triggers keep it: the same as a new file's.
        d->execute("UPDATE Propietarios SET Nombre = 'José Núñez Gil' WHERE Cod = '0100003'");
        QCOMPARE(buscar(*d, "nuñez gil"), QStringList{"1 0100003"});
        TestInstallation nueva;
        const QString esquema = "SELECT type, name, sql FROM sqlite_master WHERE name LIKE 'BusquedaRapida%' "
                                "AND sql IS NOT NULL ORDER BY name";
        const auto filas = [&](db::Database& b) {
            QStringList out;
            for (const db::Row& r : b.query(esquema))
                out << r.value(0).toString() + u' ' + r.value(1).toString() + u' ' + r.value(2).toString();
            return out;
        };
        QCOMPARE(filas(*d).filter(QRegularExpression("^trigger ")).size(), 9); // three per table
        QCOMPARE(filas(*d), filas(nueva.context().db()));
    }
};

QTEST_GUILESS_MAIN(tst_IndiceBusquedaRapida)
#include "tst_indicebusquedarapida.moc"
