// Owners and clients windows, both sides, on a real installation.

#include "Accessibility.h"
#include "FakeMail.h"
#include "FallosProvocados.h"
#include "TestInstallation.h"
#include "TestNavigator.h"
#include "TestServers.h"
#include "records/CamposPersona.h"
#include "records/FichaPersona.h"
#include "records/PreferenciasCliente.h"
#include "records/frmPropietarioNuevo.h"
#include "shell/ConfigStore.h"

#include <QtTest>

using namespace orb;

class TestPersonas : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }
    QVariant ownerField(const QString& cod, const QString& field) {
        return ctx().db().scalar(QStringLiteral("SELECT %1 FROM Propietarios WHERE Cod = ?").arg(field),
                                 {cod});
    }
    void owner(const QString& cod, const QString& agencia, int quick, bool alquiler, const QString& nombre) {
        ctx().db().execute(
            "INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre, Email) "
            "VALUES (?, ?, ?, ?, ?, ?)",
            {cod, agencia, quick, alquiler, nombre, nombre.toLower().remove(' ') + "@correo.es"});
    }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        ctx().db().execute("DELETE FROM Propietarios");
        ctx().db().execute("DELETE FROM Clientes");
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
    }
    void cleanup() { inst.reset(); }

    void newOwnerTakesOfficeNumberAndMaskedCode_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("cod");
        QTest::newRow("00000") << "00000"
                               << "0100042";
        QTest::newRow("0") << "0"
                           << "0142";
    }
    void newOwnerTakesOfficeNumberAndMaskedCode() {
        QFETCH(QString, mask);
        QFETCH(QString, cod);
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIETARIOS", 41);
        GuardarConfig(ctx().db(), "CODIGOS", "MASCARA", mask);
        frmPropietarios w(ctx(), false);
        w.cmdAdd->click();
        QCOMPARE(w.txt[15]->Text(), QString("01"));
        QCOMPARE(w.txt[16]->Text(), QString("42"));
        QCOMPARE(w.txt[12]->Text(), QDate::currentDate().toString("dd/MM/yyyy"));
        QCOMPARE(w.chkAlquiler->Value(), 0);
        w.txt[2]->setText("Ana Pérez");
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(ownerField(cod, "Nombre").toString(), QString("Ana Pérez"));
        QCOMPARE(ownerField(cod, "QuickID").toInt(), 42);
        QCOMPARE(ownerField(cod, "Alquiler").toBool(), false);
        QCOMPARE(ownerField(cod, "FechaAlta").toDate(), QDate::currentDate());
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "PROPIETARIOS").toString(), QString("42"));
    }

    void rentalsWindowListsOnlyRentalsInOfficeOrder() {
        owner("0200001", "02", 1, true, "Zoe");
        owner("0100002", "01", 2, true, "Bea");
        owner("0100001", "01", 1, true, "Carlos");
        owner("0100003", "01", 3, false, "Venta");
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIETARIOS", 3);
        frmPropietarios w(ctx(), true);
        QStringList seen;
        for (int i = 0; i < 5; ++i) {
            seen << w.txt[2]->Text();
            w.cmdNext->click();
        }
        QCOMPARE(seen, QStringList({"Carlos", "Bea", "Zoe", "Zoe", "Zoe"}));
        // Go to reaches a record of this side only.
        w.IrRegistro("0100002");
        QCOMPARE(w.txt[2]->Text(), QString("Bea"));
        w.IrRegistro("0100003");
        QCOMPARE(w.txt[2]->Text(), QString("Bea"));
        w.cmdAdd->click();
        QCOMPARE(w.chkAlquiler->Value(), 1);
        w.txt[2]->setText("Nuevo inquilino");
        w.cmdOk->click();
        QVERIFY(inst->dialogs().boxes().isEmpty());
        QCOMPARE(
            ctx().db().scalar("SELECT Alquiler FROM Propietarios WHERE Nombre = 'Nuevo inquilino'").toBool(),
            true);
    }

    void anotherOfficesOwnerCannotBeChanged() {
        owner("0200001", "02", 1, false, "De otra oficina");
        owner("0100001", "01", 1, false, "Propio");
        frmPropietarios w(ctx(), false);
        QCOMPARE(w.txt[2]->Text(), QString("Propio"));
        QVERIFY(w.cmdEdit->isEnabled());
        w.cmdNext->click();
        QCOMPARE(w.txt[2]->Text(), QString("De otra oficina"));
        QVERIFY(!w.cmdEdit->isEnabled());
        QVERIFY(!w.cmdDel->isEnabled());
        QVERIFY(w.cmdAdd->isEnabled());

        const QString refusal = "No puede manipularse esta información porque no pertenece a esta oficina";
        w.data->PulsarEditar();
        w.txt[2]->setText("Cambiado");
        w.data->PulsarAceptar();
        QCOMPARE(inst->dialogs().texts(), QStringList{refusal});
        w.data->PulsarCancelar();
        inst->dialogs().queueAnswer(ui::DialogService::Answer::Yes);
        w.data->PulsarBorrar();
        QCOMPARE(inst->dialogs().texts().count(refusal), 2);
        QCOMPARE(ownerField("0200001", "Nombre").toString(), QString("De otra oficina"));
        QVERIFY(!w.cmdEdit->isEnabled());
    }

    void emailButtonHandsTheRecipientToTheMailClient() {
        FakeMail mail;
        TestNavigator nav(ctx());
        owner("0100001", "01", 1, false, "Pérez, Ana");
        owner("0100002", "01", 2, false, "Luis Gómez");
        ctx().db().execute("UPDATE Propietarios SET Email = '' WHERE Cod = '0100002'");
        frmPropietarios w(ctx(), false);
        w.butEmailTo->click();
        w.cmdNext->click();
        w.butEmailTo->click(); // no address: nothing happens
        const auto calls = mail.calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0], QStringList({"--utf8", "\"Pérez, Ana\" <pérez,ana@correo.es>"}));
        QVERIFY(inst->dialogs().boxes().isEmpty());

        // Without a mail client the user is told so.
        FakeMail ninguno(false);
        w.cmdFirst->click();
        w.butEmailTo->click();
        QVERIFY(ninguno.calls().isEmpty());
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QVERIFY(inst->dialogs().texts().first().startsWith("No se ha podido abrir el programa de correo"));
        QCOMPARE(inst->dialogs().boxes().first().title, QString("Error"));
    }

    void newRentalsClientStartsSearching() {
        GuardarConfig(ctx().db(), "CONTADORES", "CLIENTES", 9);
        ctx().db().execute("INSERT INTO Tipos (Cod, Nombre) VALUES (3, 'Ático'), (4, 'Piso')");
        frmClientes w(ctx(), true);
        w.cmdAdd->click();
        QCOMPARE(w.cboEstado->currentText(), QString("Buscando"));
        QCOMPARE(w.cboTipo->currentIndex(), -1);
        QCOMPARE(w.txt[16]->Text(), QString("10"));
        w.txt[2]->setText("Cliente nuevo");
        w.cboTipo->setCurrentIndex(0);
        emit w.cboTipo->activated(0);
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        const auto row = ctx().db().query("SELECT Estado, Alquiler, CodTipo, Cod FROM Clientes").value(0);
        QCOMPARE(row.value(0).toString(), QString("Buscando"));
        QCOMPARE(row.value(1).toBool(), true);
        QCOMPARE(row.value(2).toInt(), 3); // Ático sorts first
        QCOMPARE(row.value(3).toString(), QString("0100010"));
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "CLIENTES").toString(), QString("10"));
    }

    void budgetIsShownWithSpanishGroupsAndReadBack() {
        ctx().db().execute(
            "INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Nombre, Presupuesto, CodTipo, Estado) "
            "VALUES ('0100001', '01', 1, FALSE, 'Rico', 1500000, 77, 'Raro')");
        frmClientes w(ctx(), false);
        QCOMPARE(w.txt[11]->Text(), QString("1.500.000"));
        QCOMPARE(w.cboTipo->currentIndex(), -1);   // unknown type
        QCOMPARE(w.cboEstado->currentIndex(), -1); // unknown state
        // Edited and left alone: the amount stays.
        w.cmdEdit->click();
        w.txt[2]->setText("Rico y famoso");
        emit static_cast<ui::BoundTextBox*>(w.txt[11]->widget())->editingFinished();
        w.cmdOk->click();
        QCOMPARE(ctx().db().scalar("SELECT Presupuesto FROM Clientes").toDouble(), 1500000.0);
        // Typed and left: shown grouped, stored as typed.
        w.cmdEdit->click();
        w.txt[11]->setText("250000");
        emit static_cast<ui::BoundTextBox*>(w.txt[11]->widget())->editingFinished();
        QCOMPARE(w.txt[11]->Text(), QString("250.000"));
        w.cmdOk->click();
        QCOMPARE(ctx().db().scalar("SELECT Presupuesto FROM Clientes").toDouble(), 250000.0);
        QCOMPARE(ctx().db().scalar("SELECT Estado FROM Clientes").toString(), QString("Raro"));
        // Letters are refused naming the box, not stored as zero.
        w.cmdEdit->click();
        w.txt[11]->setText("12ab");
        emit static_cast<ui::BoundTextBox*>(w.txt[11]->widget())->editingFinished();
        QCOMPARE(w.txt[11]->Text(), QString("12ab"));
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts(), QStringList{"Presupuesto: \"12ab\" no es un importe válido."});
        QCOMPARE(ctx().db().scalar("SELECT Presupuesto FROM Clientes").toDouble(), 250000.0);
    }

    void unreadableDateIsRefusedAndTheStoredDateStays() {
        owner("0100001", "01", 1, false, "Ana");
        ctx().db().execute("UPDATE Propietarios SET FechaAlta = '2023-01-08'");
        const auto before = ctx().db().query("SELECT * FROM Propietarios");
        frmPropietarios w(ctx(), false);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.cmdEdit->click();
        auto* fecha = static_cast<ui::BoundTextBox*>(w.txt[12]->widget());
        fecha->setText("08/01/2O23");
        emit fecha->editingFinished();
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts(),
                 QStringList{"Fecha Alta: \"08/01/2O23\" no es una fecha válida (dd/mm/aaaa)."});
        QVERIFY(w.data->EstadoModificando());
        QCOMPARE(QApplication::focusWidget(), fecha);
        QCOMPARE(ctx().db().query("SELECT * FROM Propietarios"), before);
    }

    void refusedNumberWritesNothing_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString cero = "no es válido: el número debe ser mayor que 0.";
        QTest::newRow("letters") << "12ab"
                                 << "Número: \"12ab\" no es un número entero.";
        QTest::newRow("zero") << "0"
                              << "Número: \"0\" " + cero;
        QTest::newRow("negative") << "-4"
                                  << "Número: \"-4\" " + cero;
        QTest::newRow("taken")
            << "29"
            << "Se ha producido el error (3022 - No se realizaron los cambios porque crearían "
               "valores duplicados en el índice o la clave principal) al pulsar el botón de "
               "aceptar.\nYa existe un registro con el código 0100029.";
    }
    void refusedNumberWritesNothing() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        owner("0100029", "01", 29, false, "Ya estaba");
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIETARIOS", 27);
        const auto before = ctx().db().query("SELECT * FROM Propietarios");
        frmPropietarios w(ctx(), false);
        w.cmdAdd->click();
        w.txt[2]->setText("Ana");
        w.txt[16]->setText(typed);
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts(), QStringList{message});
        QVERIFY(w.data->EstadoAñadiendo());
        QCOMPARE(ctx().db().query("SELECT * FROM Propietarios"), before);
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "PROPIETARIOS").toString(), QString("27"));
    }

    void typedNumberAboveTheProposalIsSkippedNextTime() {
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIETARIOS", 27);
        ctx().AddAgainConfig = true;
        frmPropietarios w(ctx(), false);
        w.cmdAdd->click();
        QCOMPARE(w.txt[16]->Text(), QString("28"));
        w.txt[2]->setText("Veintinueve");
        w.txt[16]->setText("29");
        w.cmdOk->click();
        QCOMPARE(ownerField("0100029", "Nombre").toString(), QString("Veintinueve"));
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "PROPIETARIOS").toString(), QString("28"));
        // The next add proposes past the number in use and stores without a complaint.
        QCOMPARE(w.txt[16]->Text(), QString("30"));
        w.txt[2]->setText("Treinta");
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(ownerField("0100030", "Nombre").toString(), QString("Treinta"));
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "PROPIETARIOS").toString(), QString("30"));
    }

    void proposalTakenByTheNewOwnerDialogMeanwhileStillStores() {
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIETARIOS", 41);
        frmPropietarios w(ctx(), false);
        w.cmdAdd->click();
        QCOMPARE(w.txt[16]->Text(), QString("42"));
        w.txt[2]->setText("Desde la ficha");
        // A property window creates an owner before this one is confirmed.
        frmPropietarioNuevo dlg;
        dlg.txt[2]->setText("Desde la propiedad");
        dlg.cmdOk->click();
        QCOMPARE(CrearPropietario(ctx(), dlg, false), QString("0100042"));
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(ownerField("0100042", "Nombre").toString(), QString("Desde la propiedad"));
        QCOMPARE(ownerField("0100043", "Nombre").toString(), QString("Desde la ficha"));
        QCOMPARE(w.txt[16]->Text(), QString("43"));
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "PROPIETARIOS").toString(), QString("43"));
    }

    void counterThatCannotBeWrittenTakesTheNewOwnerBack() {
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIETARIOS", 5);
        fallos::provocar(ctx().db(), "NoContar", "BEFORE UPDATE", "Config", "NEW.Variable = 'PROPIETARIOS'");
        frmPropietarios w(ctx(), false);
        w.cmdAdd->click();
        w.txt[2]->setText("Ana");
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts().size(), 1);
        QVERIFY(inst->dialogs().texts().first().startsWith("Se ha producido el error ("));
        QVERIFY(!inst->dialogs().texts().first().contains("fallo provocado"));
        QCOMPARE(ctx().db().scalar("SELECT count(*) FROM Propietarios").toInt(), 0);
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "PROPIETARIOS").toString(), QString("5"));

        fallos::retirar(ctx().db(), "NoContar", "Config");
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts().size(), 1);
        QCOMPARE(ownerField("0100006", "Nombre").toString(), QString("Ana"));
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "PROPIETARIOS").toString(), QString("6"));
    }

    // A mask that makes codes longer than Cod holds: told at once, and no
    // record is ever stored under a code cut to fit.
    void aMaskTooLongForTheCodeStoresNothing() {
        owner("0100001", "01", 1, false, "Ana");
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIETARIOS", 1);
        GuardarConfig(ctx().db(), "CODIGOS", "MASCARA", QString(30, u'0'));
        const auto before = ctx().db().query("SELECT * FROM Propietarios");
        const QString causa = "\nEl texto de Cod es demasiado largo (como máximo 20 caracteres).";
        frmPropietarios w(ctx(), false);
        w.cmdAdd->click();
        QCOMPARE(inst->dialogs().texts().size(), 1);
        QVERIFY2(inst->dialogs().texts().first().endsWith("al pulsar el botón de añadir." + causa),
                 qPrintable(inst->dialogs().texts().first()));
        w.txt[2]->setText("Luis");
        w.txt[16]->setText("2");
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts().size(), 2);
        QVERIFY2(inst->dialogs().texts().last().endsWith("al pulsar el botón de aceptar." + causa),
                 qPrintable(inst->dialogs().texts().last()));
        QVERIFY(w.data->EstadoAñadiendo());
        QCOMPARE(ctx().db().query("SELECT * FROM Propietarios"), before);
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "PROPIETARIOS").toString(), QString("1"));

        // The owner of the new-owner dialog is refused the same way.
        frmPropietarioNuevo dlg;
        dlg.txt[2]->setText("Desde la propiedad");
        dlg.cmdOk->click();
        QVERIFY_THROWS_EXCEPTION(db::DbError, CrearPropietario(ctx(), dlg, false));
        QCOMPARE(ctx().db().query("SELECT * FROM Propietarios"), before);

        // With a mask that fits, the same add stores.
        GuardarConfig(ctx().db(), "CODIGOS", "MASCARA", "00000");
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts().size(), 2);
        QCOMPARE(ownerField("0100002", "Nombre").toString(), QString("Luis"));
    }

    // The minimum budget may not exceed the budget (the maximum): such a
    // client could never match. Refused naming both boxes, nothing written.
    void minimumBudgetAboveTheMaximumIsRefused() {
        ctx().db().execute("INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Nombre, Presupuesto) "
                           "VALUES ('0100001', '01', 1, FALSE, 'Marta', 150000)");
        const auto before = ctx().db().query("SELECT * FROM Clientes");
        frmClientes w(ctx(), false);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        ui::TextControl* minimo = w.txt[cli::PresupuestoMinimo];
        w.cmdEdit->click();
        w.txt[2]->setText("Marta Núñez");
        minimo->setText("200.000");
        w.preferencias->tabs->setCurrentIndex(0);
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts(),
                 QStringList{"Presupuesto mínimo: \"200.000\" es mayor que el Presupuesto (150.000): el "
                             "mínimo no puede superar al máximo."});
        QVERIFY(w.data->EstadoModificando());
        QCOMPARE(ctx().db().query("SELECT * FROM Clientes"), before);
        // The box is shown to be corrected.
        QCOMPARE(w.preferencias->tabs->currentWidget()->objectName(), QString("tabPreferencias"));
        QTRY_COMPARE(QApplication::focusWidget(), minimo->widget());

        // The maximum raised above it: stored.
        w.txt[cliente::Presupuesto]->setText("250.000");
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts().size(), 1);
        QCOMPARE(ctx().db().scalar("SELECT PresupuestoMinimo FROM Clientes").toDouble(), 200000.0);
        QCOMPARE(ctx().db().scalar("SELECT Presupuesto FROM Clientes").toDouble(), 250000.0);
        // Equal is a budget of one amount; no maximum (0) bounds nothing.
        for (const char* maximo : {"200.000", "0", ""}) {
            w.cmdEdit->click();
            w.txt[cliente::Presupuesto]->setText(maximo);
            w.cmdOk->click();
            QCOMPARE(inst->dialogs().texts().size(), 1);
            QVERIFY(w.data->EstadoPaseando());
        }
        QCOMPARE(ctx().db().scalar("SELECT Presupuesto FROM Clientes").toDouble(), 0.0);
    }

    void everyControlHasAUniqueAccessibleName() {
        frmPropietarios p(ctx(), false);
        frmClientes c(ctx(), true);
        QVERIFY2(accessibilityProblems(&p).isEmpty(), qPrintable(accessibilityProblems(&p).join(u'\n')));
        QVERIFY2(accessibilityProblems(&c).isEmpty(), qPrintable(accessibilityProblems(&c).join(u'\n')));
    }
};

QTEST_MAIN(TestPersonas)
#include "tst_personas.moc"
