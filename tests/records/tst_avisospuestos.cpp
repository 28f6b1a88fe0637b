// Two seats on one agency database: what seat A confirms reaches the record
// windows open at seat B by itself (on the server through the triggers'
// notices, on the file when a window of B is activated). Browsing, B shows it;
// editing, B keeps what was typed, is warned, and its confirm follows the
// rule for a row changed meanwhile; a deleted record is moved past.

#include "OtroPuesto.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "mainwindow/frmMain.h"
#include "platform/db/Database.h"
#include "records/CamposPersona.h"
#include "records/FichaPersona.h"
#include "records/Registro.h"
#include "shell/Log.h"
#include "shell/WindowRegistry.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QtTest>

using namespace orb;

namespace {

const QString Cambiado = QStringLiteral(
    "Otro puesto ha cambiado este registro mientras lo editaba; al aceptar se le preguntará qué hacer.");
const QString Borrado = QStringLiteral("El registro que se mostraba se ha borrado desde otro puesto.");

} // namespace

class TestAvisosPuestos : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst; // seat A
    std::unique_ptr<OtroPuesto> b;
    AppContext& a() { return inst->context(); }
    AppContext& bc() { return b->context(); }

    QString nombre(const QString& cod) {
        return a().db().scalar("SELECT Nombre FROM Propietarios WHERE Cod = ?", {cod}).toString();
    }
    // Seat A stores an owner's name through its own owners window, as a user does.
    void aGuarda(const QString& cod, const QString& nuevo) {
        frmPropietarios w(a(), false);
        w.IrRegistro(cod);
        QCOMPARE(w.txt[persona::Cod]->Text(), cod);
        w.cmdEdit->click();
        w.txt[persona::Nombre]->setText(nuevo);
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().texts().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(nombre(cod), nuevo);
    }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        a().facts.CodigoOficina = "01";
        a().AddAgainConfig = false;
        a().db().execute("DELETE FROM Propietarios");
        a().db().executeScript("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
                               "('0100001', '01', 1, FALSE, 'Ana'), ('0100002', '01', 2, FALSE, 'Luis'),"
                               "('0100003', '01', 3, FALSE, 'Marta')");
        b = std::make_unique<OtroPuesto>(a());
        if (testservers::onServer())
            QTRY_VERIFY_WITH_TIMEOUT(bc().avisos.escuchando(), 5000);
    }
    void cleanup() {
        b.reset();
        inst.reset();
    }

    // Browsing: the record shown takes the stored values at once, on the same
    // position; another record of the table changed is not even read again.
    void browsingShowsTheChangeWithoutAClick() {
        frmPropietarios w(bc(), false);
        w.cmdNext->click();
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Luis");
        QSignalSpy mostrado(w.data, &clsManten::registroMostrado);
        aGuarda("0100002", "Luis Gil");
        if (!testservers::onServer())
            QCOMPARE(w.txt[persona::Nombre]->Text(), "Luis"); // nothing polls the file
        b->llega();
        QTRY_COMPARE_WITH_TIMEOUT(w.txt[persona::Nombre]->Text(), QString("Luis Gil"), 1000);
        QCOMPARE(w.data->Recordset()->absolutePosition(), 1);
        QVERIFY(w.data->EstadoPaseando());
        QVERIFY(!w.lblOtroPuesto->isVisibleTo(&w));
        QVERIFY2(b->dialogs().texts().isEmpty(), qPrintable(b->dialogs().texts().join('|')));

        mostrado.clear();
        QSignalSpy oidos(&bc().avisos, &AvisosCambios::cambio);
        aGuarda("0100003", "Marta Ruiz");
        b->llega();
        QTRY_VERIFY_WITH_TIMEOUT(!oidos.isEmpty(), 1000);
        QCoreApplication::processEvents();
        QCOMPARE(mostrado.count(), 0);
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Luis Gil");

        // Numbered anew elsewhere: still the same record, shown with its new code.
        a().db().execute("UPDATE Propietarios SET Cod = '0100009', QuickID = 9, Version = "
                         "coalesce(Version, 0) + 1 WHERE Cod = '0100002'");
        b->llega();
        QTRY_COMPARE_WITH_TIMEOUT(w.txt[persona::Cod]->Text(), QString("0100009"), 1000);
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Luis Gil");
    }

    // Editing: what was typed stays, the warning comes once however many
    // changes follow, and Aceptar asks as for any row stored meanwhile.
    void editingKeepsTheTypedTextAndWarnsOnce() {
        frmPropietarios w(bc(), false);
        QSignalSpy avisos(w.data, &clsManten::avisoOtroPuesto);
        w.cmdEdit->click();
        w.txt[persona::Nombre]->setText("Ana (puesto B)");
        aGuarda("0100001", "Ana (puesto A)");
        b->llega();
        QTRY_VERIFY_WITH_TIMEOUT(w.lblOtroPuesto->isVisibleTo(&w), 1000);
        QCOMPARE(w.lblOtroPuesto->text(), Cambiado);
        QCOMPARE(w.lblOtroPuesto->accessibleName(), "Aviso de otro puesto");
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Ana (puesto B)");
        QVERIFY(w.data->EstadoModificando());
        QVERIFY(b->dialogs().boxes().isEmpty());

        QSignalSpy oidos(&bc().avisos, &AvisosCambios::cambio);
        aGuarda("0100001", "Ana (puesto A, otra vez)");
        b->llega();
        QTRY_VERIFY_WITH_TIMEOUT(!oidos.isEmpty(), 1000);
        QCoreApplication::processEvents();
        QCOMPARE(avisos.count(), 1);
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Ana (puesto B)");

        // No: nothing written, the typed text stays. Yes: the stored record shows.
        b->dialogs().queueAnswer(ui::DialogService::Answer::No);
        w.cmdOk->click();
        QCOMPARE(b->dialogs().boxes().size(), 1);
        QVERIFY(b->dialogs().texts().first().startsWith("Otro puesto ha modificado este registro"));
        QCOMPARE(nombre("0100001"), "Ana (puesto A, otra vez)");
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Ana (puesto B)");
        QVERIFY(w.lblOtroPuesto->isVisibleTo(&w));
        b->dialogs().queueAnswer(ui::DialogService::Answer::Yes);
        w.cmdOk->click();
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Ana (puesto A, otra vez)");
        QVERIFY(w.data->EstadoPaseando());
        QVERIFY(!w.lblOtroPuesto->isVisibleTo(&w));
    }

    // Cancelling the edit shows the record as the other seat stored it.
    void cancellingTheWarnedEditShowsTheStoredRecord() {
        frmPropietarios w(bc(), false);
        w.cmdEdit->click();
        w.txt[persona::Nombre]->setText("Ana (puesto B)");
        aGuarda("0100001", "Ana (puesto A)");
        b->llega();
        QTRY_VERIFY_WITH_TIMEOUT(w.lblOtroPuesto->isVisibleTo(&w), 1000);
        w.cmdCancel->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.txt[persona::Nombre]->Text(), QString("Ana (puesto A)"), 1000);
        QVERIFY(!w.lblOtroPuesto->isVisibleTo(&w));
        QVERIFY(b->dialogs().boxes().isEmpty());
    }

    // Deleted while shown: the window moves past it, says so, and asks
    // nothing. Stored again under a new row (as an office import does), the
    // record stays shown.
    void deletedRecordIsMovedPast() {
        frmPropietarios w(bc(), false);
        w.cmdNext->click();
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Luis");
        inst->dialogs().queueAnswer(ui::DialogService::Answer::Yes);
        {
            frmPropietarios wa(a(), false);
            wa.cmdNext->click();
            wa.cmdDel->click();
        }
        QCOMPARE(a().db().scalar("SELECT count(*) FROM Propietarios").toInt(), 2);
        b->llega();
        QTRY_COMPARE_WITH_TIMEOUT(w.txt[persona::Nombre]->Text(), QString("Marta"), 1000);
        QCOMPARE(w.lblOtroPuesto->text(), Borrado);
        QVERIFY(w.lblOtroPuesto->isVisibleTo(&w));
        QVERIFY2(b->dialogs().boxes().isEmpty(), qPrintable(b->dialogs().texts().join('|')));
        w.cmdPrev->click();
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Ana");
        QVERIFY(!w.lblOtroPuesto->isVisibleTo(&w));

        a().db().beginTransaction();
        a().db().execute("DELETE FROM Propietarios WHERE Cod = '0100001'");
        a().db().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
                         "('0100001', '01', 1, FALSE, 'Ana Importada')");
        a().db().commit();
        b->llega();
        QTRY_COMPARE_WITH_TIMEOUT(w.txt[persona::Nombre]->Text(), QString("Ana Importada"), 1000);
        QVERIFY(!w.lblOtroPuesto->isVisibleTo(&w));
        QVERIFY(b->dialogs().boxes().isEmpty());
    }

    // An empty window shows the first record another seat stores.
    void emptyWindowShowsTheFirstRecordStoredElsewhere() {
        a().db().execute("DELETE FROM Propietarios");
        frmPropietarios w(bc(), false);
        QVERIFY(w.data->EstadoVacio());
        a().db().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
                         "('0100007', '01', 7, FALSE, 'Rosa')");
        b->llega();
        QTRY_COMPARE_WITH_TIMEOUT(w.txt[persona::Nombre]->Text(), QString("Rosa"), 1000);
        QVERIFY(w.data->EstadoPaseando());
    }

    // What seat B stores itself is no news to it: no warning, no notice, no
    // second reading; a change of seat A's after it arrives alone.
    void ownChangesAreNoNews() {
        frmPropietarios w(bc(), false);
        QSignalSpy oidos(&bc().avisos, &AvisosCambios::cambio);
        QSignalSpy avisos(w.data, &clsManten::avisoOtroPuesto);
        w.cmdEdit->click();
        w.txt[persona::Nombre]->setText("Ana (puesto B)");
        w.cmdOk->click();
        QCOMPARE(nombre("0100001"), "Ana (puesto B)");
        QVERIFY(b->dialogs().boxes().isEmpty());
        b->llega();
        aGuarda("0100003", "Marta (puesto A)");
        b->llega();
        QTRY_VERIFY_WITH_TIMEOUT(!oidos.isEmpty(), 1000);
        QCoreApplication::processEvents();
        for (const QList<QVariant>& o : std::as_const(oidos))
            QVERIFY2(o.at(2).toString() != "0100001", "B heard of its own store");
        if (testservers::onServer())
            QCOMPARE(oidos.count(), 1);
        QCOMPARE(avisos.count(), 0);
        QCOMPARE(w.txt[persona::Nombre]->Text(), "Ana (puesto B)");
        QVERIFY(b->dialogs().boxes().isEmpty());
    }

    // The listening connection cut by the server: written to the log, opened
    // again by itself, and the next change arrives as before.
    void aLostListeningConnectionComesBack() {
        if (!testservers::onServer())
            QSKIP("the file has no listening connection");
        IniciarLog(bc().RutaAplicacion);
        frmPropietarios w(bc(), false);
        QSignalSpy escucha(&bc().avisos, &AvisosCambios::escuchaCambiada);
        const int cortadas = a().db()
                                 .scalar("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity "
                                         "WHERE application_name = 'Orbalia avisos' AND datname = "
                                         "current_database()")
                                 .toInt();
        QCOMPARE(cortadas, 1);
        QTRY_VERIFY_WITH_TIMEOUT(escucha.count() >= 2, 5000);
        QCOMPARE(escucha.at(0).at(0).toBool(), false);
        QVERIFY(bc().avisos.escuchando());
        QFile log(RutaLog());
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString texto = QString::fromUtf8(log.readAll());
        QVERIFY2(texto.contains("Se ha perdido la conexión que recibe los avisos de otros puestos"),
                 qPrintable(texto));
        aGuarda("0100001", "Ana otra vez");
        QTRY_COMPARE_WITH_TIMEOUT(w.txt[persona::Nombre]->Text(), QString("Ana otra vez"), 1000);
        IniciarLog({});
    }

    // Two copies on one file: the record window shows the other copy's change
    // when the main window activates it, not before.
    void fileCopiesHearWhenAWindowIsActivated() {
        ORB_SOLO_ARCHIVO("a server seat hears by itself");
        WindowRegistry registro;
        RegistrarFichas(registro);
        frmMain principal(bc(), registro);
        principal.show();
        principal.usrShow(Ventana::Propietarios, false);
        auto* propietarios = principal.mdiArea()->activeSubWindow();
        QVERIFY(propietarios);
        principal.usrShow(Ventana::Tipos, false);
        QVERIFY(principal.mdiArea()->activeSubWindow() != propietarios);
        auto* w = qobject_cast<frmPropietarios*>(propietarios->widget());
        QVERIFY(w);
        QCOMPARE(w->txt[persona::Nombre]->Text(), "Ana");
        aGuarda("0100001", "Ana García");
        QTest::qWait(50);
        QCOMPARE(w->txt[persona::Nombre]->Text(), "Ana");
        principal.mdiArea()->setActiveSubWindow(propietarios);
        QTRY_COMPARE_WITH_TIMEOUT(w->txt[persona::Nombre]->Text(), QString("Ana García"), 1000);
        QVERIFY(b->dialogs().boxes().isEmpty());
    }
};

QTEST_MAIN(TestAvisosPuestos)
#include "tst_avisospuestos.moc"
