// An agency whose offices 01 and 02 work on one PostgreSQL server while
// office 03 stays on its file: the server's offices and the file office
// exchange their records through the real rsync daemon, both ways, with the
// command-line tool a scheduled task runs; the server's offices skip each
// other.

#include "BaseServidorPrueba.h"
#include "IntercambioPrueba.h"
#include "RolesPrueba.h"
#include "TestServers.h"
#include "install/CopiaServidor.h"
#include "platform/db/DbError.h"
#include "shell/ConexionServidor.h"
#include "shell/ReglasOficinaServidor.h"

#include <QtTest>

using namespace prueba;

namespace {

// The seat works on the server as this agent, as orbalia-install --servidor leaves it.
void alServidor(const TestInstallation& inst, const testservers::Postgres& server,
                const BaseServidorPrueba& base, const QString& usuario, const QString& clave) {
    orb::ConexionServidor c;
    c.servidor = server.options.host;
    c.puerto = int(server.options.port);
    c.baseDatos = base.nombre();
    c.usuario = usuario;
    c.clave = clave;
    QVERIFY(orb::GuardarConexionServidor(inst.path(), c));
}

// The office's file carried onto the server's database, and its agents.
void copiarConAgentes(const TestInstallation& inst, const BaseServidorPrueba& base,
                      const QList<orb::schema::AgenteNuevo>& agentes) {
    auto admin = base.conectar();
    orb::install::copiarOficina(inst.path(), *admin);
    pg::Transaction tx(*admin);
    for (const orb::schema::AgenteNuevo& a : agentes)
        orb::schema::crearAgente(*admin, a);
    tx.commit();
}

qint64 filas(db::Database& d, const QString& oficina) {
    return d.scalar("SELECT count(*) FROM Propiedades WHERE Agencia = ?", {oficina}).toLongLong();
}

} // namespace

class tst_IntercambioMixto : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qunsetenv("ORBALIA_RSYNC_PORT"); }

    void fileOfficeAndServerOfficesExchangeBothWays() {
        ORB_REQUIRE_RSYNC(s);
        ORB_REQUIRE_PG(server);
        RolesPrueba roles{server, {}};
        BaseServidorPrueba base(server);
        // Office 01, the principal, moved its file onto the server; office 02's
        // seat works there too; office 03 stays on its file.
        TestInstallation uno(instalada(s, "01", true, 11, "01,02,03"));
        TestInstallation dos(instalada(s, "02", false, 22, "01,02,03"));
        TestInstallation tres(instalada(s, "03", false, 33, "01,02,03"));
        const QString ag1 = roles.nuevo("ag01"), ag2 = roles.nuevo("ag02");
        copiarConAgentes(
            uno, base,
            {{ag1, "Ana Uno", "01", "", "clave-uno", true}, {ag2, "Bea Dos", "02", "", "clave-dos", false}});
        alServidor(uno, server, base, ag1, "clave-uno");
        alServidor(dos, server, base, ag2, "clave-dos");
        auto servidor = comoAgente(base, base.options().user, base.options().password);
        {
            // Office 02's own records, written by its agent on the server.
            auto d2 = comoAgente(base, ag2, "clave-dos");
            for (const char* t : {"Propiedades", "Propietarios", "Clientes"})
                for (const char* cod : {"200001", "200002"})
                    fila(*d2, t, cod, "02");
        }
        db::Database& fichero = tres.context().db();
        const QStringList deTres = oficinaEntera(fichero, "03");
        QVERIFY(filas(fichero, "03") > 0);

        for (const TestInstallation* i : {&tres, &uno, &dos}) {
            const Ejecucion e = exchange("export", i->path());
            QVERIFY2(e.codigo == 0, qPrintable(e.salida + e.error));
        }
        // The server's seats export the server's rows, not their old files'.
        QVERIFY(QFile::exists(dos.file("Exchange/02/Export.db")));
        {
            auto exportado = db::Database::open(dos.file("Exchange/02/Export.db"), {.readOnly = true});
            QCOMPARE(tabla(*exportado, "Propiedades"),
                     tabla(*servidor, "Propiedades", "WHERE Agencia = '02'"));
        }

        // The server takes office 03's file; its offices skip each other.
        for (const auto& [inst, otra] :
             {std::pair{&uno, QStringLiteral("02")}, std::pair{&dos, QStringLiteral("01")}}) {
            const Ejecucion e = exchange("import", inst->path());
            QVERIFY2(e.codigo == 0, qPrintable(e.salida + e.error));
            QVERIFY2(
                e.salida.contains(QStringLiteral("La oficina %1 trabaja en este mismo servidor: sus datos ya "
                                                 "están aquí y no se importan.\n")
                                      .arg(otra)),
                qPrintable(e.salida));
            QVERIFY(!QDir(inst->file("Exchange/" + otra)).exists());
            QVERIFY2(e.salida.contains(
                         QStringLiteral("Se han importado %1 propiedades.").arg(filas(fichero, "03"))),
                     qPrintable(e.salida));
        }
        QCOMPARE(oficinaEntera(*servidor, "03"), deTres);

        // The file office takes both server offices' files, catalogues and agents from the principal.
        const Ejecucion e = exchange("import", tres.path());
        QVERIFY2(e.codigo == 0, qPrintable(e.salida + e.error));
        for (const char* o : {"01", "02"}) {
            QVERIFY(filas(*servidor, o) > 0);
            QCOMPARE(oficinaEntera(fichero, o), oficinaEntera(*servidor, o));
        }
        for (const char* t : {"Tipos", "Localidades", "Areas"})
            QCOMPARE(tabla(fichero, t), tabla(*servidor, t));
        QCOMPARE(tabla(fichero, "Agentes"), tabla(*servidor, "Agentes"));
        QCOMPARE(fichero.query("SELECT Nombre FROM Agentes ORDER BY Nombre").size(), 2);
        // And office 03's own rows at home are as they were.
        QCOMPARE(oficinaEntera(fichero, "03"), deTres);
    }

    // The principal office stays on its file: the server's office takes its
    // catalogues through the exchange, but never its agents, whose rows say
    // which office a server role writes for.
    void aServerWithoutThePrincipalTakesItsCataloguesButNotItsAgents() {
        ORB_REQUIRE_RSYNC(s);
        ORB_REQUIRE_PG(server);
        RolesPrueba roles{server, {}};
        BaseServidorPrueba base(server);
        TestInstallation uno(instalada(s, "01", true, 44));
        TestInstallation dos(instalada(s, "02", false, 55));
        const QString ag2 = roles.nuevo("ag02");
        copiarConAgentes(dos, base, {{ag2, "Bea Dos", "02", "", "clave-dos", false}});
        alServidor(dos, server, base, ag2, "clave-dos");
        db::Database& principal = uno.context().db();
        principal.execute("UPDATE Tipos SET Nombre = Nombre || ' (principal)'");
        principal.execute("INSERT INTO Agentes (Cod, Nombre, Oficina, Activo, Usuario) VALUES (7, 'Otro', "
                          "'01', 1, ?)",
                          {ag2});
        auto servidor = comoAgente(base, base.options().user, base.options().password);
        const QStringList agentes = tabla(*servidor, "Agentes");

        QCOMPARE(exchange("export", uno.path()).codigo, 0);
        const Ejecucion e = exchange("import", dos.path());
        QVERIFY2(e.codigo == 0, qPrintable(e.salida + e.error));
        for (const char* t : {"Tipos", "Localidades", "Areas"})
            QCOMPARE(tabla(*servidor, t), tabla(principal, t));
        QCOMPARE(tabla(*servidor, "Agentes"), agentes);
        QCOMPARE(oficinaEntera(*servidor, "01"), oficinaEntera(principal, "01"));
        // Nor may the agent write one itself.
        auto d2 = comoAgente(base, ag2, "clave-dos");
        try {
            d2->execute("UPDATE Agentes SET Oficina = '01'");
            QFAIL("the server let a secondary office's agent change the agents");
        } catch (const db::DbError& err) {
            QCOMPARE(err.number(), db::ErrPermissionDenied);
        }
    }
};

QTEST_GUILESS_MAIN(tst_IntercambioMixto)
#include "tst_intercambiomixto.moc"
