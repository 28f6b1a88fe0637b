// The Herramientas commands that open the searches, and Go to reaching the
// record window of the same side, asking first when it holds an edit.

#include "BusquedasPrueba.h"
#include "TestServers.h"
#include "mainwindow/frmMain.h"
#include "platform/db/Recordset.h"
#include "records/CamposPersona.h"
#include "records/FichaPersona.h"
#include "records/Registro.h"
#include "records/frmPropiedades.h"
#include "search/RegistroBusquedas.h"
#include "search/frmBusClientes.h"
#include "search/frmBusPropietarios.h"
#include "shell/ConfigStore.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

using namespace orb;
using namespace busquedasprueba;

namespace {

// The main window with the record and search windows registered, as the program starts it.
struct Principal {
    WindowRegistry registro;
    frmMain w;
    explicit Principal(AppContext& ctx) : w(ctx, registrar(registro)) {}
    static WindowRegistry& registrar(WindowRegistry& r) {
        RegistrarFichas(r);
        RegistrarBusquedas(r);
        return r;
    }
};

} // namespace

class TestBusquedasIrRegistro : public QObject, protected BusquedasPrueba {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() { preparar(); }
    void cleanup() { limpiar(); }

    // The real main window: the six commands open the searches, and Go to
    // shows the chosen record in the record window of the same side.
    void herramientasOpenTheSearchesAndGoToReachesTheRecordWindow() {
        nav.reset();
        Principal principal(ctx());
        frmMain& w = principal.w;
        for (const char* key :
             {"busqueda", "busquedaalquiler", "busquedaclientes", "busquedaclientesalquiler",
              "busquedapropietarios", "busquedapropietariosalquiler"})
            QVERIFY(w.tbBoton(key)->isEnabled());

        w.tb_ButtonClick("BUSQUEDAPROPIETARIOSALQUILER");
        auto* f = qobject_cast<frmBusPropietarios*>(w.ventana(Ventana::BusPropietarios, true));
        QVERIFY(f);
        QVERIFY(f->ModoAlquiler());
        QCOMPARE(f->windowTitle(), "Búsqueda de Propietarios de Alquiler");
        f->txt[frmBusPropietarios::Nombre]->setText("jurgen");
        f->cmdFind->click();
        QCOMPARE(f->grd->model()->rowCount(), 1);
        f->cmdGoto->click();
        auto* ficha = qobject_cast<FichaPersona*>(w.ventana(Ventana::Propietarios, true));
        QVERIFY(ficha);
        QCOMPARE(ficha->data->Recordset()->value("Cod").toString(), "R01");
        QVERIFY(!w.ventana(Ventana::Propietarios, false)); // the other side's window stays closed

        w.mnuTool_Click(2);
        auto* c = qobject_cast<frmBusClientes*>(w.ventana(Ventana::BusClientes, false));
        QVERIFY(c);
        c->txt[frmBusClientes::Nombre]->setText("bob");
        c->cmdFind->click();
        QCOMPARE(c->grd->model()->index(0, 6).data().toString(), "1.500.000");
        c->cmdGoto->click();
        auto* clientes = qobject_cast<FichaPersona*>(w.ventana(Ventana::Clientes, false));
        QVERIFY(clientes);
        QCOMPARE(clientes->data->Recordset()->value("Cod").toString(), "C002");

        w.mnuTool_Click(1);
        QVERIFY(qobject_cast<frmBusPropiedades*>(w.ventana(Ventana::BusPropiedades, true)));
    }

    // Go to while the record window holds an edit: the user is asked first, and
    // the edit is stored, thrown away or kept as answered; nothing is lost unasked.
    void goToWhileEditingAsksBeforeLeavingTheRecord() {
        nav.reset();
        db::Database& d = ctx().db();
        ctx().facts.CodigoOficina = "01";
        const QString oficina = ctx().facts.CodigoOficina;
        GuardarConfig(d, "CODIGOS", "MASCARA", "00000");
        GuardarConfig(d, "CONTADORES", "PROPIEDADES", 10);
        d.execute("DELETE FROM Propiedades");
        const auto cod = [&](int n) { return oficina + QStringLiteral("%1").arg(n, 5, 10, QChar(u'0')); };
        for (int n = 1; n <= 3; ++n)
            d.execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, Direccion) "
                      "VALUES (?, ?, ?, FALSE, 'En Venta', ?)",
                      {cod(n), oficina, n, QStringLiteral("Calle %1").arg(n)});
        const auto direccion = [&](int n) {
            return d.scalar("SELECT Direccion FROM Propiedades WHERE Cod = ?", {cod(n)}).toString();
        };
        Principal principal(ctx());
        frmMain& w = principal.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.usrShowPropiedadesVenta();
        auto* ficha = qobject_cast<frmPropiedades*>(w.ventana(Ventana::Propiedades, false));
        QVERIFY(ficha);
        w.usrShowBusPropiedadesVenta();
        auto* f = qobject_cast<frmBusPropiedades*>(w.ventana(Ventana::BusPropiedades, false));
        QVERIFY(f);
        f->cmdFind->click();
        const auto irA = [&](int n) {
            for (int r = 0; r < f->grd->model()->rowCount(); ++r)
                if (celda(*f, r, 0) == cod(n))
                    f->grd->setCurrentIndex(f->grd->model()->index(r, 0));
            QCOMPARE(celda(*f, filaActual(*f), 0), cod(n));
            f->cmdGoto->click();
        };
        const auto mostrada = [&] { return ficha->data->Recordset()->value("Cod").toString(); };
        auto* caja = static_cast<QLineEdit*>(ficha->txt[prop::Direccion]->widget());
        const auto editar = [&](const QString& texto) {
            ficha->cmdEdit->click();
            QVERIFY(ficha->data->EstadoModificando());
            caja->selectAll();
            QTest::keyClicks(caja, texto);
        };
        using A = ui::DialogService::Answer;
        const QString pregunta =
            "Se están añadiendo/modificando datos ¿desea guardarlos antes de mostrar otro registro?";

        irA(1);
        editar("Calle Nueva 1");
        // Stay: the window keeps the record and what was typed.
        inst->dialogs().queueAnswer(A::Cancel);
        irA(2);
        QCOMPARE(inst->dialogs().texts(), QStringList({pregunta}));
        QCOMPARE(inst->dialogs().boxes().first().buttons, ui::DialogService::Buttons::YesNoCancel);
        QVERIFY(ficha->data->EstadoModificando());
        QCOMPARE(mostrada(), cod(1));
        QCOMPARE(caja->text(), "Calle Nueva 1");
        // The record being edited itself: shown as it is, nothing asked.
        inst->dialogs().clear();
        irA(1);
        QVERIFY(inst->dialogs().boxes().isEmpty());
        QCOMPARE(caja->text(), "Calle Nueva 1");
        // Discard: the other record, browsing, and the first one as it was stored.
        inst->dialogs().queueAnswer(A::No);
        irA(2);
        QCOMPARE(inst->dialogs().texts(), QStringList({pregunta}));
        QVERIFY(ficha->data->EstadoPaseando());
        QCOMPARE(mostrada(), cod(2));
        QCOMPARE(caja->text(), "Calle 2");
        QCOMPARE(direccion(1), "Calle 1");
        // Confirm: stored, then the other record.
        inst->dialogs().clear();
        editar("Calle Nueva 2");
        inst->dialogs().queueAnswer(A::Yes);
        irA(3);
        QCOMPARE(inst->dialogs().texts(), QStringList({pregunta}));
        QCOMPARE(direccion(2), "Calle Nueva 2");
        QVERIFY(ficha->data->EstadoPaseando());
        QCOMPARE(mostrada(), cod(3));
        QCOMPARE(caja->text(), "Calle 3");
        // A code that is not there asks nothing and loses nothing.
        inst->dialogs().clear();
        editar("Calle Nueva 3");
        ficha->IrRegistro("NOEXISTE");
        QVERIFY(inst->dialogs().boxes().isEmpty());
        QVERIFY(ficha->data->EstadoModificando());
        QCOMPARE(caja->text(), "Calle Nueva 3");
        // A new record being entered is asked about too; confirmed, it is stored
        // and no further add starts behind the user's back.
        ficha->cmdCancel->click();
        ficha->data->setAddAgain(true);
        ficha->cmdAdd->click();
        QVERIFY(ficha->data->EstadoAñadiendo());
        QTest::keyClicks(caja, "Calle Alta");
        inst->dialogs().queueAnswer(A::Yes);
        irA(1);
        QCOMPARE(inst->dialogs().texts(), QStringList({pregunta}));
        QCOMPARE(d.scalar("SELECT count(*) FROM Propiedades WHERE Direccion = 'Calle Alta'").toInt(), 1);
        QVERIFY(ficha->data->EstadoPaseando());
        QCOMPARE(mostrada(), cod(1));
    }

    // The owners window (and so the clients one, built alike) asks the same way.
    void goToOwnerWhileEditingAsksFirst() {
        nav.reset();
        db::Database& d = ctx().db();
        ctx().facts.CodigoOficina = "01";
        d.execute("UPDATE Propietarios SET Agencia = '01'");
        Principal principal(ctx());
        frmMain& w = principal.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.usrShowBusPropietariosAlquiler();
        auto* f = qobject_cast<frmBusPropietarios*>(w.ventana(Ventana::BusPropietarios, true));
        QVERIFY(f);
        f->cmdFind->click();
        QCOMPARE(f->grd->model()->rowCount(), 2);
        f->cmdGoto->click();
        auto* ficha = qobject_cast<FichaPersona*>(w.ventana(Ventana::Propietarios, true));
        QVERIFY(ficha);
        const QString primero = ficha->data->Recordset()->value("Cod").toString();
        ficha->cmdEdit->click();
        auto* nombre = static_cast<QLineEdit*>(ficha->txt[persona::Nombre]->widget());
        nombre->selectAll();
        QTest::keyClicks(nombre, "Otro nombre");
        inst->dialogs().queueAnswer(ui::DialogService::Answer::Cancel);
        f->cmdNext->click();
        f->cmdGoto->click();
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QVERIFY(ficha->data->EstadoModificando());
        QCOMPARE(ficha->data->Recordset()->value("Cod").toString(), primero);
        QCOMPARE(nombre->text(), "Otro nombre");
        inst->dialogs().queueAnswer(ui::DialogService::Answer::No);
        f->cmdGoto->click();
        QVERIFY(ficha->data->EstadoPaseando());
        QVERIFY(ficha->data->Recordset()->value("Cod").toString() != primero);
        QCOMPARE(d.scalar("SELECT count(*) FROM Propietarios WHERE Nombre = 'Otro nombre'").toInt(), 0);
    }
};

QTEST_MAIN(TestBusquedasIrRegistro)
#include "tst_busquedas_irregistro.moc"
