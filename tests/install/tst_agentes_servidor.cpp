// Agents of several offices on one real PostgreSQL server: the server itself
// holds each agent to the office rules, through the program's layer and
// through a bare libpq connection alike, and each office numbers its own
// records.

#include "BaseServidorPrueba.h"
#include "RolesPrueba.h"
#include "TestInstallation.h"
#include "install/CopiaServidor.h"
#include "maintenance/CodeAllocator.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "shell/ConfigStore.h"
#include "shell/ErrorReport.h"
#include "shell/ReglasOficinaServidor.h"

#include <QTest>
#include <libpq-fe.h>

namespace {

const QString NoEsDeLaOficina =
    QStringLiteral("No puede manipularse esta información porque no pertenece a esta oficina");
const QString SoloPrincipal =
    QStringLiteral("Esta información sólo puede manipularse en la oficina principal");

// What a bare libpq session of that role gets for one statement: "" when it
// ran, else its SQLSTATE and message.
QString libpq(const pg::ConnectOptions& base, const QString& usuario, const QString& clave,
              const QString& sql) {
    const QByteArray conninfo = QStringLiteral("host=%1 port=%2 dbname=%3 user=%4 password=%5")
                                    .arg(base.host)
                                    .arg(base.port)
                                    .arg(base.database, usuario, clave)
                                    .toUtf8();
    PGconn* c = PQconnectdb(conninfo.constData());
    if (PQstatus(c) != CONNECTION_OK) {
        const QString e = QString::fromUtf8(PQerrorMessage(c));
        PQfinish(c);
        return QStringLiteral("sin conexión: ") + e;
    }
    PGresult* r = PQexec(c, sql.toUtf8().constData());
    QString out;
    if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)
        out = QString::fromUtf8(PQresultErrorField(r, PG_DIAG_SQLSTATE)) + u' ' +
              QString::fromUtf8(PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY));
    else if (PQresultStatus(r) == PGRES_COMMAND_OK)
        out = QString::fromUtf8(PQcmdStatus(r)) == u"UPDATE 0" ? QStringLiteral("nada") : QString();
    PQclear(r);
    PQfinish(c);
    return out;
}

QString refusal(const std::function<void()>& f) {
    try {
        f();
    } catch (const db::DbError& e) {
        return orb::CausaError(e);
    }
    return {};
}

} // namespace

class tst_AgentesServidor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cadaAgenteEscribeSoloLoDeSuOficina() {
        ORB_REQUIRE_PG(server);
        RolesPrueba roles{server, {}};
        BaseServidorPrueba base(server);
        orb::install::InstallOptions o;
        o.facts = orb::install::demoFacts(); // office 01, the principal one
        o.demoProperties = 30;
        o.demoPhotos = false;
        TestInstallation inst(o);
        auto admin = base.conectar();
        orb::install::copiarOficina(inst.path(), *admin);
        const QString uno = roles.nuevo("ag01"), dos = roles.nuevo("ag02");
        {
            pg::Transaction tx(*admin);
            orb::schema::crearAgente(*admin, {uno, "Ana Uno", "01", "", "clave-uno", true});
            orb::schema::crearAgente(*admin, {dos, "Bea Dos", "02", "bea@example.com", "clave-dos", false});
            tx.commit();
        }
        const QString de01 =
            admin->scalar("SELECT cod FROM propiedades WHERE agencia = '01' ORDER BY cod LIMIT 1").toString();
        const QString direccion =
            admin->scalar("SELECT direccion FROM propiedades WHERE cod = ?", {de01}).toString();
        QVERIFY(!de01.isEmpty());

        // Through the program's layer, with the office rule's own message.
        auto d2 = comoAgente(base, dos, "clave-dos");
        QCOMPARE(d2->scalar("SELECT count(*) FROM Propiedades").toLongLong(),
                 admin->scalar("SELECT count(*) FROM propiedades").toLongLong());
        QCOMPARE(
            refusal([&] { d2->execute("UPDATE Propiedades SET Direccion = 'X' WHERE Cod = ?", {de01}); }),
            NoEsDeLaOficina);
        QCOMPARE(refusal([&] { d2->execute("DELETE FROM Propiedades WHERE Cod = ?", {de01}); }),
                 NoEsDeLaOficina);
        // Nor may a row be taken over to one's own office, nor one made for another office.
        QCOMPARE(refusal([&] { d2->execute("UPDATE Propiedades SET Agencia = '02' WHERE Cod = ?", {de01}); }),
                 NoEsDeLaOficina);
        QCOMPARE(refusal([&] {
                     d2->execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Nombre) VALUES ('01999', "
                                 "'01', 999, 'N')");
                 }),
                 NoEsDeLaOficina);
        QCOMPARE(refusal([&] { d2->execute("INSERT INTO Tipos (Cod, Nombre) VALUES (900, 'Cortijo')"); }),
                 SoloPrincipal);
        QCOMPARE(refusal([&] { d2->execute("UPDATE Agentes SET Oficina = '01' WHERE Usuario = ?", {dos}); }),
                 SoloPrincipal);

        // Through bare libpq with the agent's role: the same refusals, from the server.
        const QString rechazo = QStringLiteral("42501 ") + NoEsDeLaOficina;
        QCOMPARE(libpq(base.options(), dos, "clave-dos",
                       QString("UPDATE propiedades SET direccion = 'X' WHERE cod = '%1'").arg(de01)),
                 rechazo);
        QCOMPARE(libpq(base.options(), dos, "clave-dos",
                       QString("DELETE FROM propiedades WHERE cod = '%1'").arg(de01)),
                 rechazo);
        QCOMPARE(libpq(base.options(), dos, "clave-dos", "DELETE FROM tipos"),
                 QStringLiteral("42501 ") + SoloPrincipal);
        QCOMPARE(libpq(base.options(), dos, "clave-dos", "UPDATE orbalia_oficinas SET principal = true"),
                 QStringLiteral("42501 permission denied for table orbalia_oficinas"));
        QCOMPARE(admin->scalar("SELECT direccion FROM propiedades WHERE cod = ?", {de01}).toString(),
                 direccion);

        // The principal office's agent writes catalogues and its own records.
        auto d1 = comoAgente(base, uno, "clave-uno");
        d1->execute("INSERT INTO Tipos (Cod, Nombre) VALUES (900, 'Cortijo')");
        d1->execute("UPDATE Propiedades SET Direccion = 'Calle Nueva 1' WHERE Cod = ?", {de01});
        QCOMPARE(admin->scalar("SELECT direccion FROM propiedades WHERE cod = ?", {de01}).toString(),
                 QStringLiteral("Calle Nueva 1"));
        // A role that is no longer an active agent writes nothing.
        admin->execute("UPDATE agentes SET activo = false WHERE usuario = ?", {uno});
        QCOMPARE(
            refusal([&] { d1->execute("UPDATE Propiedades SET Direccion = 'Y' WHERE Cod = ?", {de01}); }),
            NoEsDeLaOficina);
    }

    // Office 02 numbers its records from its own counter, beside office 01's.
    void cadaOficinaCuentaLosSuyos() {
        ORB_REQUIRE_PG(server);
        RolesPrueba roles{server, {}};
        BaseServidorPrueba base(server);
        orb::install::InstallOptions o;
        o.facts = orb::install::demoFacts();
        o.demoProperties = 12;
        o.demoPhotos = false;
        TestInstallation inst(o);
        auto admin = base.conectar();
        orb::install::copiarOficina(inst.path(), *admin);
        const QString dos = roles.nuevo("ag02");
        {
            pg::Transaction tx(*admin);
            orb::schema::crearAgente(*admin, {dos, "", "02", "", "clave-dos", false});
            tx.commit();
        }
        auto d2 = comoAgente(base, dos, "clave-dos");
        const QString contador01 =
            admin->scalar("SELECT valor FROM config WHERE grupo = 'CONTADORES' AND variable = 'PROPIEDADES'")
                .toString();
        const orb::CodeAllocator propiedades02(QStringLiteral("PROPIEDADES"), QStringLiteral("Propiedades"),
                                               QStringLiteral("02"));
        QStringList codigos;
        for (int i = 0; i < 2; ++i) {
            const qint64 n = propiedades02.insertar(*d2, [&](qint64 numero) {
                d2->execute(
                    "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler) VALUES (?, '02', ?, FALSE)",
                    {propiedades02.codigo(*d2, numero), numero});
            });
            codigos << propiedades02.codigo(*d2, n);
            QCOMPARE(n, qint64(i + 1));
        }
        QCOMPARE(admin->scalar("SELECT count(*) FROM propiedades WHERE agencia = '02'").toInt(), 2);
        QCOMPARE(
            admin
                ->scalar(
                    "SELECT valor FROM config WHERE grupo = 'CONTADORES' AND variable = 'PROPIEDADES.02'")
                .toString(),
            QStringLiteral("2"));
        // Office 01's counter did not move.
        QCOMPARE(
            admin->scalar("SELECT valor FROM config WHERE grupo = 'CONTADORES' AND variable = 'PROPIEDADES'")
                .toString(),
            contador01);
        // And its own records it may change.
        d2->execute("UPDATE Propiedades SET Direccion = 'Plaza 2' WHERE Cod = ?", {codigos.first()});
        QCOMPARE(
            admin->scalar("SELECT direccion FROM propiedades WHERE cod = ?", {codigos.first()}).toString(),
            QStringLiteral("Plaza 2"));
    }
};

QTEST_GUILESS_MAIN(tst_AgentesServidor)
#include "tst_agentes_servidor.moc"
