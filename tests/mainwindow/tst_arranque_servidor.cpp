// Start-up of a seat whose agency database is on the server: what the user
// reads when the password is wrong, the server cannot be reached, or its
// schema is not the program's.

#include "TestInstallation.h"
#include "TestServers.h"
#include "mainwindow/Arranque.h"
#include "mainwindow/frmMain.h"
#include "shell/ConexionServidor.h"
#include "shell/DatabaseSession.h"
#include "shell/WindowRegistry.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

orb::install::InstallOptions oficina01() {
    orb::install::InstallOptions o;
    o.facts.CodigoOficina = "01";
    o.facts.NombreAgencia = "Inmobiliaria Sol";
    return o;
}

orb::ConexionServidor conexion(const testservers::Postgres& s) {
    orb::ConexionServidor c;
    c.servidor = s.options.host;
    c.puerto = int(s.options.port);
    c.baseDatos = s.options.database;
    c.usuario = s.options.user;
    c.clave = s.options.password;
    return c;
}

// One start on the installation: the messages it showed, and whether it went on.
struct Inicio {
    explicit Inicio(const QString& carpeta) {
        qputenv("ORBALIA_HOME", carpeta.toLocal8Bit());
        ctx.dialogs = &dialogs;
        w = std::make_unique<orb::frmMain>(ctx, registro);
        hooks.iniciarSinEsperar = [this](const QString& p, const QStringList&, const QString&) {
            lanzados << p;
            return true;
        };
    }
    bool arrancar() {
        arranque = std::make_unique<orb::Arranque>(hooks);
        return arranque->ejecutar(ctx, *w);
    }
    ui::ScriptedDialogService dialogs;
    orb::AppContext ctx;
    orb::WindowRegistry registro;
    std::unique_ptr<orb::frmMain> w;
    orb::StartupHooks hooks;
    QStringList lanzados;
    std::unique_ptr<orb::Arranque> arranque;
};

} // namespace

class tst_ArranqueServidor : public QObject {
    Q_OBJECT

    // A start of a seat connected as c; the only message it showed.
    QString unicoMensaje(const orb::ConexionServidor& c, bool* siguio = nullptr) {
        TestInstallation inst(oficina01());
        if (!orb::GuardarConexionServidor(inst.path(), c))
            return "no se pudo escribir la conexión";
        Inicio inicio(inst.path());
        const bool sigue = inicio.arrancar();
        if (siguio)
            *siguio = sigue;
        // Never the file's upgrader: the server is every seat's.
        if (!inicio.lanzados.isEmpty())
            return "lanzó " + inicio.lanzados.join(',');
        const QStringList textos = inicio.dialogs.texts();
        return textos.size() == 1 ? textos.first()
                                  : QString("%1 mensajes: %2").arg(textos.size()).arg(textos.join('|'));
    }

private Q_SLOTS:
    void wrongPasswordNamesTheUserAndThePasswordFile() {
        ORB_REQUIRE_PG(s);
        orb::ConexionServidor c = conexion(s);
        c.clave = "no-es-la-clave";
        bool siguio = true;
        const QString m = unicoMensaje(c, &siguio);
        QVERIFY(!siguio);
        QVERIFY2(m.startsWith("Error al abrir la base de datos [orbalia@127.0.0.1:"), qPrintable(m));
        QVERIFY2(m.contains("El servidor ha rechazado el usuario orbalia o su contraseña."), qPrintable(m));
        QVERIFY2(m.contains("Orbalia.clave"), qPrintable(m));
        QVERIFY2(!m.contains("no-es-la-clave"), qPrintable(m));
    }

    void unreachableServerNamesAddressAndKeys() {
        ORB_REQUIRE_PG(s);
        orb::ConexionServidor c = conexion(s);
        c.puerto = 1; // nothing listens there
        const QString m = unicoMensaje(c);
        QVERIFY2(m.contains("No se puede conectar con el servidor 127.0.0.1 en el puerto 1."), qPrintable(m));
        QVERIFY2(m.contains("claves Servidor y Puerto de la sección [Servidor]"), qPrintable(m));
    }

    // A seat without its password file is an agents' seat: whoever sits there
    // signs in; a refused password is told and asked again, a cancel stops.
    void aSeatWithoutPasswordFileAsksWhoSignsIn() {
        ORB_REQUIRE_PG(s);
        orb::ConexionServidor c = conexion(s);
        c.clave.clear();
        TestInstallation inst(oficina01());
        QVERIFY(orb::GuardarConexionServidor(inst.path(), c));
        {
            Inicio inicio(inst.path());
            QVERIFY(!inicio.arrancar());
            QCOMPARE(inicio.dialogs.boxes().size(), 1);
            QCOMPARE(inicio.dialogs.boxes()[0].title, QString("Entrada en Orbalia"));
            QVERIFY(!inicio.ctx.BaseDatosAgencia);
        }
        Inicio inicio(inst.path());
        inicio.dialogs.queueSignIn(s.options.user, "no-es-la-clave");
        QVERIFY(!inicio.arrancar());
        const QStringList textos = inicio.dialogs.texts();
        QCOMPARE(textos.size(), 3); // the sign-in, the refusal, the sign-in again (cancelled)
        QVERIFY2(textos[1].contains(
                     QString("El servidor ha rechazado el agente %1 o su contraseña.").arg(s.options.user)),
                 qPrintable(textos[1]));
        QVERIFY(!textos.join('|').contains("no-es-la-clave"));
    }

    void missingKeysAreNamed() {
        ORB_REQUIRE_PG(s);
        orb::ConexionServidor c = conexion(s);
        c.baseDatos.clear();
        QVERIFY(unicoMensaje(c).contains("Escriba la clave BaseDatos en la sección [Servidor]"));
    }

    void schemaOlderOrNewerThanTheProgramIsRefused_data() {
        QTest::addColumn<int>("diferencia");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("older") << -1
                               << QString(
                                      "está en la versión %1 cuando es necesario que esté en la versión %2.\n"
                                      "Pida al administrador que la actualice")
                                      .arg(orb::VersionRequerida - 1)
                                      .arg(orb::VersionRequerida);
        QTest::newRow("newer")
            << 1
            << QString("está en la versión %1, más nueva que la de este programa (versión %2).")
                   .arg(orb::VersionRequerida + 1)
                   .arg(orb::VersionRequerida);
    }
    void schemaOlderOrNewerThanTheProgramIsRefused() {
        QFETCH(int, diferencia);
        QFETCH(QString, esperado);
        ORB_REQUIRE_PG(s);
        // A schema of its own that holds only the version.
        const QString esquema = QString("arranque_%1").arg(QRandomGenerator::global()->generate());
        const orb::ConexionServidor c = conexion(s);
        auto admin = db::Database::openServer(s.address());
        admin->executeScript(QString("CREATE SCHEMA %1; SET search_path TO %1").arg(esquema));
        admin->setUserVersion(orb::VersionRequerida + diferencia);
        qputenv("PGOPTIONS", QString("-c search_path=%1").arg(esquema).toUtf8());
        const QString m = unicoMensaje(c);
        qunsetenv("PGOPTIONS");
        admin->executeScript(QString("DROP SCHEMA %1 CASCADE").arg(esquema));
        QVERIFY2(m.startsWith("La base de datos del servidor [orbalia@127.0.0.1:"), qPrintable(m));
        QVERIFY2(m.contains(esperado), qPrintable(m));
    }
};

QTEST_MAIN(tst_ArranqueServidor)
#include "tst_arranque_servidor.moc"
