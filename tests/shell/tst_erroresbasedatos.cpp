// Every window that meets a database error tells it the same way: what could
// not be done and the plain cause in the box, the engine's words in the log.

#include "TestInstallation.h"
#include "mainwindow/Arranque.h"
#include "mainwindow/frmMain.h"
#include "platform/db/Database.h"
#include "records/CamposPersona.h"
#include "records/PanelPropietario.h"
#include "records/frmPropiedades.h"
#include "records/frmPropietarioNuevo.h"
#include "reports/Dossier.h"
#include "reports/Informes.h"
#include "search/Lookups.h"
#include "search/frmCoincidencias.h"
#include "search/frmConsultaPropietario.h"
#include "shell/ConfigStore.h"
#include "shell/Log.h"
#include "shell/WindowRegistry.h"
#include "shell/frmConfig.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace orb;

namespace {

// Words only the engine says: statements, its English messages, rule names.
const QStringList kPalabrasDelMotor = {"select",     "insert", "update ", "delete", " from ",    "where",
                                       "constraint", "unique", "no such", "syntax", "malformed", "failed",
                                       "table",      "column", "json",    "sqlite", "near \"",   "abort"};

QString textoLog() {
    QFile log(RutaLog());
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

} // namespace

class TestErroresBaseDatos : public QObject {
    Q_OBJECT

    QTemporaryDir logs;
    std::unique_ptr<TestInstallation> inst;

    AppContext& ctx() { return inst->context(); }
    db::Database& d() { return ctx().db(); }

    // The one box of the failure: the given first line, then a plain cause;
    // the engine's text (motor) went to the log instead.
    void comprobarCaja(const QString& primera, const QString& motor) {
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        const auto& caja = inst->dialogs().boxes().first();
        QCOMPARE(caja.title, QString("Error"));
        const QStringList lineas = caja.text.split(u'\n');
        QCOMPARE(lineas.size(), 2);
        QCOMPARE(lineas[0], primera);
        QVERIFY(lineas[1].endsWith(u'.'));
        for (const QString& palabra : kPalabrasDelMotor)
            QVERIFY2(!caja.text.contains(palabra, Qt::CaseInsensitive), qPrintable(caja.text));
        QVERIFY2(textoLog().contains(motor), qPrintable(textoLog()));
    }

private Q_SLOTS:
    void initTestCase() { IniciarLog(logs.path()); }
    void init() {
        QFile::remove(RutaLog());
        inst = std::make_unique<TestInstallation>();
    }
    void cleanup() { inst.reset(); }

    void listsAndOwnerLookup() {
        d().execute("ALTER TABLE Localidades RENAME TO LocalidadesViejas");
        Lookups l(ctx());
        QVERIFY(!l.Consultar("Localidades").isValid());
        comprobarCaja("No se ha podido abrir la lista de Localidades.", "no such table: Localidades");

        inst->dialogs().clear();
        d().execute("ALTER TABLE Propietarios RENAME TO PropietariosViejos");
        frmConsultaPropietario f(ctx());
        f.cargar(false);
        comprobarCaja("No se ha podido consultar los propietarios.", "no such table: Propietarios");
    }

    void settingsAndStartUp() {
        frmConfig dlg(ctx());
        d().execute("CREATE TRIGGER falla BEFORE UPDATE ON Config BEGIN "
                    "SELECT RAISE(ABORT, 'UNIQUE constraint failed: Config.Valor'); END");
        dlg.cmdOk->click();
        comprobarCaja("No se pudo guardar la configuración.", "UNIQUE constraint failed: Config.Valor");

        // The setting start-up reads cannot be read back.
        install::InstallOptions o;
        o.facts.CodigoOficina = "01";
        TestInstallation oficina(o);
        db::Database& base = oficina.context().db();
        GuardarConfig(base, "GENERAL", "ADDAGAIN", "1");
        base.execute("ALTER TABLE Config RENAME TO ConfigGuardada");
        base.execute("CREATE VIEW Config AS SELECT Grupo, Variable, CASE WHEN Variable = 'ADDAGAIN' THEN "
                     "json('{') ELSE Valor END AS Valor FROM ConfigGuardada");
        qputenv("ORBALIA_HOME", oficina.path().toLocal8Bit());
        ui::ScriptedDialogService dialogs;
        AppContext arranque;
        arranque.dialogs = &dialogs;
        WindowRegistry registro;
        frmMain w(arranque, registro);
        StartupHooks hooks;
        hooks.iniciarSinEsperar = [](const QString&, const QStringList&, const QString&) { return true; };
        QVERIFY(!Arranque(hooks).ejecutar(arranque, w));
        QCOMPARE(dialogs.boxes().size(), 1);
        QVERIFY2(dialogs.texts().first().startsWith("Error al leer la configuración.\n"),
                 qPrintable(dialogs.texts().first()));
        for (const QString& palabra : kPalabrasDelMotor)
            QVERIFY2(!dialogs.texts().first().contains(palabra, Qt::CaseInsensitive),
                     qPrintable(dialogs.texts().first()));
        QVERIFY(textoLog().contains("malformed JSON"));
    }

    void reportsAndDossier() {
        reports::frmInforme w(ctx(), reports::Informe::Tipos);
        w.data = {"select * from NoHayTabla", {}};
        QVERIFY(!w.Generar());
        comprobarCaja("No se pueden leer los datos del informe: error 3075 (Error en una instrucción de la "
                      "base de datos).",
                      "no such table: NoHayTabla");

        inst->dialogs().clear();
        d().execute("ALTER TABLE Propiedades RENAME TO PropiedadesViejas");
        QCOMPARE(reports::DossierPDF(ctx(), "0100001"), QString());
        comprobarCaja("No se pueden leer los datos del dossier: error 3075 (Error en una instrucción de la "
                      "base de datos).",
                      "no such table");
    }

    void matchesWindow() {
        d().execute("INSERT INTO Clientes (Cod, Nombre) VALUES ('0100001', 'Ana')");
        d().execute("ALTER TABLE Propiedades RENAME TO PropiedadesViejas");
        frmCoincidencias g(ctx(), frmCoincidencias::Modo::DeCliente, "0100001");
        comprobarCaja("No se ha podido buscar las coincidencias.", "no such table");
    }

    void newOwnerFromAProperty() {
        frmPropiedades w(ctx(), false);
        w.cmdAdd->click();
        d().execute("CREATE TRIGGER falla BEFORE INSERT ON Propietarios BEGIN "
                    "SELECT RAISE(ABORT, 'UNIQUE constraint failed: Propietarios.Cod'); END");
        QTimer::singleShot(0, &w, [&w] {
            auto* dlg = w.findChild<frmPropietarioNuevo*>();
            QVERIFY(dlg);
            dlg->txt.value(orb::propietario::Nombre)->setText("Marta Ruiz");
            dlg->cmdOk->click();
            // A dialog that refused what was typed stays open: close it so the test reports it.
            if (dlg->isVisible())
                dlg->done(QDialog::Rejected);
        });
        inst->dialogs().clear();
        w.propietario->butPropietario[PanelPropietario::Nuevo]->click();
        comprobarCaja("No se ha podido crear el propietario.", "UNIQUE constraint failed: Propietarios.Cod");
        w.cmdCancel->click();
    }
};

QTEST_MAIN(TestErroresBaseDatos)
#include "tst_erroresbasedatos.moc"
