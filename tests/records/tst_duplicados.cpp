// The same person twice: identity boxes checked on confirm, and the warning
// about records that share an identity number, a phone or an e-mail, in the
// owners and clients windows, the new-owner dialog and the property window.

#include "Capturas.h"
#include "ModalUser.h"
#include "TestInstallation.h"
#include "TestNavigator.h"
#include "TestServers.h"
#include "records/CamposPersona.h"
#include "records/CamposPropiedad.h"
#include "records/FichaPersona.h"
#include "records/PanelPropietario.h"
#include "records/dlgDuplicados.h"
#include "records/frmPropiedades.h"
#include "records/frmPropietarioNuevo.h"

#include <QTableWidget>
#include <QtTest>

using namespace orb;
using namespace orb::persona;

class TestDuplicados : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }
    int count(const QString& tabla) { return ctx().db().scalar("SELECT count(*) FROM " + tabla).toInt(); }
    // A stored person of this office's sales with the given data.
    void persona(const QString& tabla, const QString& cod, int quick, const QString& nombre,
                 const QString& campo = {}, const QString& valor = {}, bool alquiler = false) {
        ctx().db().execute(
            QString("INSERT INTO %1 (Cod, Agencia, QuickID, Alquiler, Nombre%2) VALUES (?, '01', ?, ?, ?%3)")
                .arg(tabla, campo.isEmpty() ? QString() : ", " + campo, campo.isEmpty() ? QString() : ", ?"),
            campo.isEmpty() ? db::Params{cod, quick, alquiler, nombre}
                            : db::Params{cod, quick, alquiler, nombre, valor});
    }
    std::unique_ptr<FichaPersona> ventana(const QString& tabla, bool alquiler = false) {
        if (tabla == "Clientes")
            return std::make_unique<frmClientes>(ctx(), alquiler);
        return std::make_unique<frmPropietarios>(ctx(), alquiler);
    }
    int dni(const QString& tabla) { return tabla == "Clientes" ? cliente::Dni : propietario::Dni; }
    int nie(const QString& tabla) { return tabla == "Clientes" ? cliente::Nie : propietario::Nie; }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        for (const char* t : {"Propiedades", "Propietarios", "Clientes", "Localidades"})
            ctx().db().execute(QStringLiteral("DELETE FROM %1").arg(t));
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
    }
    void cleanup() { inst.reset(); }

    void identityBoxesRefuseAWrongControlAndStoreThePlainForm_data() {
        QTest::addColumn<QString>("tabla");
        QTest::newRow("propietarios") << "Propietarios";
        QTest::newRow("clientes") << "Clientes";
    }
    void identityBoxesRefuseAWrongControlAndStoreThePlainForm() {
        QFETCH(QString, tabla);
        auto w = ventana(tabla);
        w->cmdAdd->click();
        w->txt[Nombre]->setText("Klaus Müller");
        w->txt[nie(tabla)]->setText("X1234567T"); // the letter is L
        w->cmdOk->click();
        QCOMPARE(inst->dialogs().texts().size(), 1);
        QVERIFY2(inst->dialogs().texts().first().startsWith("NIE: \"X1234567T\" no es un NIE válido"),
                 qPrintable(inst->dialogs().texts().first()));
        QCOMPARE(count(tabla), 0);
        QVERIFY(w->data->EstadoAñadiendo());
        inst->dialogs().clear();
        w->txt[nie(tabla)]->setText("x-1234567-l");
        w->txt[dni(tabla)]->setText("B-58818501"); // a company's CIF in the DNI box
        w->cmdOk->click();
        QVERIFY2(inst->dialogs().texts().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(ctx().db().scalar(QString("SELECT Nie || ' ' || Dni FROM %1").arg(tabla)).toString(),
                 QString("X1234567L B58818501"));
    }

    void aDuplicateIsFoundByEachRuleAndCancelWritesNothing_data() {
        QTest::addColumn<QString>("tabla");
        QTest::addColumn<QString>("campo"); // stored in the other record
        QTest::addColumn<QString>("valor");
        QTest::addColumn<int>("caja"); // typed in the new one
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("motivos"); // empty: no warning
        for (const char* t : {"Propietarios", "Clientes"}) {
            const QString tabla = t;
            const int d = tabla == "Clientes" ? cliente::Dni : propietario::Dni;
            const QByteArray p = tabla.toLatin1() + ": ";
            QTest::newRow(p + "DNI") << tabla << "Dni"
                                     << "12345678Z" << d << "12.345.678-z"
                                     << "Otro"
                                     << "DNI/NIE/pasaporte";
            QTest::newRow(p + "teléfono") << tabla << "Telefono"
                                          << "952 11 22 33" << int(Telefono) << "+34952112233"
                                          << "Otro"
                                          << "teléfono";
            QTest::newRow(p + "móvil en el fax") << tabla << "Movil"
                                                 << "600-11-22-33" << int(Fax) << "0034 600112233"
                                                 << "Otro"
                                                 << "teléfono";
            QTest::newRow(p + "fax en el móvil") << tabla << "Fax"
                                                 << "(952) 112233" << int(Movil) << "952.11.22.33"
                                                 << "Otro"
                                                 << "teléfono";
            QTest::newRow(p + "e-mail") << tabla << "Email"
                                        << "Klaus@Web.de" << int(Email) << " klaus@web.DE"
                                        << "Otro"
                                        << "e-mail";
            QTest::newRow(p + "nombre y teléfono") << tabla << "Movil"
                                                   << "600112233" << int(Movil) << "600 112 233"
                                                   << "klaus  MULLER"
                                                   << "teléfono, nombre";
            QTest::newRow(p + "sólo el nombre") << tabla << "Movil"
                                                << "600112233" << int(Movil) << "600112234"
                                                << "Klaus Muller"
                                                << "";
        }
    }
    void aDuplicateIsFoundByEachRuleAndCancelWritesNothing() {
        QFETCH(QString, tabla);
        QFETCH(QString, campo);
        QFETCH(QString, valor);
        QFETCH(int, caja);
        QFETCH(QString, tecleado);
        QFETCH(QString, nombre);
        QFETCH(QString, motivos);
        persona(tabla, "0100001", 1, "Klaus Müller", campo, valor);
        // The same data on the other side is another record's business.
        persona(tabla, "0100002", 2, "Klaus Müller", campo, valor, true);
        auto w = ventana(tabla);
        w->cmdAdd->click();
        w->txt[Nombre]->setText(nombre);
        w->txt[caja]->setText(tecleado);
        QStringList vistos;
        ModalUser<dlgDuplicados> usuario([&](dlgDuplicados* dlg) {
            for (int i = 0; i < dlg->grd->rowCount(); ++i)
                vistos << dlg->grd->item(i, 0)->text() + " " + dlg->grd->item(i, 5)->text();
            dlg->cmdCancelar->click();
        });
        w->cmdOk->click();
        if (motivos.isEmpty()) {
            QCOMPARE(usuario.vistos(), 0);
            QCOMPARE(count(tabla), 3);
            return;
        }
        QCOMPARE(vistos, QStringList{"0100001 " + motivos});
        // Cancel: nothing stored, the edit goes on with what was typed.
        QCOMPARE(count(tabla), 2);
        QVERIFY(w->data->EstadoAñadiendo());
        QCOMPARE(w->txt[caja]->Text(), tecleado);
    }

    void storeAnywayStoresAndOpenGoesToTheOtherRecord() {
        TestNavigator nav(ctx());
        persona("Clientes", "0100001", 1, "Klaus Müller", "Email", "klaus@web.de");
        frmClientes w(ctx(), false);
        w.show();
        w.cmdAdd->click();
        w.txt[Nombre]->setText("Klaus Mueller");
        w.txt[Email]->setText("KLAUS@web.de ");
        dlgDuplicados::Respuesta respuesta = dlgDuplicados::Respuesta::Abrir;
        ModalUser<dlgDuplicados> usuario([&](dlgDuplicados* dlg) {
            guardarCaptura("aviso-duplicado", dlg);
            (respuesta == dlgDuplicados::Respuesta::Abrir ? dlg->cmdAbrir : dlg->cmdGuardar)->click();
        });
        w.cmdOk->click();
        QCOMPARE(count("Clientes"), 1);
        QTRY_COMPARE(nav.irA, QStringList{"Cliente 0 0100001"});
        respuesta = dlgDuplicados::Respuesta::Guardar;
        w.cmdOk->click();
        QCOMPARE(usuario.vistos(), 2);
        QCOMPARE(count("Clientes"), 2);
        QVERIFY(w.data->EstadoPaseando());
        // Editing what does not identify the person does not ask again.
        w.cmdEdit->click();
        w.txt[Direccion]->setText("Calle Nueva 1");
        w.cmdOk->click();
        QCOMPARE(usuario.vistos(), 2);
        QCOMPARE(ctx().db().scalar("SELECT count(*) FROM Clientes WHERE Direccion = 'Calle Nueva 1'").toInt(),
                 1);
        // Changing the e-mail asks, and the record itself is never its own duplicate.
        w.cmdEdit->click();
        w.txt[Email]->setText("klaus.m@web.de");
        w.cmdOk->click();
        QCOMPARE(usuario.vistos(), 2);
    }

    void newOwnerDialogOffersTheStoredOwnerInstead() {
        persona("Propietarios", "0100007", 7, "Klaus Müller", "Movil", "+34 600 11 22 33");
        ctx().db().execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado) "
                           "VALUES ('0100001', '01', 1, FALSE, 'En Venta')");
        frmPropiedades w(ctx(), false);
        w.show();
        w.cmdEdit->click();
        int avisos = 0;
        QString usar = "usar";
        ModalUser<frmPropietarioNuevo> datos([&](frmPropietarioNuevo* dlg) {
            dlg->txt[propietario::Nombre]->setText("K. Müller");
            dlg->txt[propietario::Telefono]->setText("600112233");
            dlg->cmdOk->click();
        });
        ModalUser<dlgDuplicados> aviso([&](dlgDuplicados* dlg) {
            ++avisos;
            if (usar == "usar")
                dlg->cmdAbrir->click();
            else if (usar == "cancelar" && avisos == 1)
                dlg->cmdCancelar->click(); // back to the dialog, which is accepted again
            else
                dlg->cmdGuardar->click();
        });
        w.propietario->butPropietario[PanelPropietario::Nuevo]->click();
        QCOMPARE(w.txt[prop::CodPropietario]->Text(), QString("0100007"));
        QCOMPARE(count("Propietarios"), 1);
        usar = "cancelar";
        avisos = 0;
        w.propietario->butPropietario[PanelPropietario::Nuevo]->click();
        QCOMPARE(avisos, 2);
        QCOMPARE(datos.vistos(), 3);
        QCOMPARE(count("Propietarios"), 2);
        QVERIFY(w.txt[prop::CodPropietario]->Text() != QString("0100007"));
    }

    void newOwnerDialogRefusesAWrongIdentityNumber() {
        frmPropietarioNuevo dlg;
        dlg.dialogos = &inst->dialogs();
        dlg.txt[propietario::Dni]->setText("12345678A");
        dlg.cmdOk->click();
        QVERIFY(!dlg.Aceptado);
        QCOMPARE(inst->dialogs().texts().size(), 1);
        QVERIFY2(inst->dialogs().texts().first().startsWith("DNI: \"12345678A\""),
                 qPrintable(inst->dialogs().texts().first()));
        dlg.txt[propietario::Dni]->setText("12 345 678 z");
        dlg.cmdOk->click();
        QVERIFY(dlg.Aceptado);
        QCOMPARE(dlg.Dni, QString("12345678Z"));
    }

    void aPropertyAtTheAddressOfAnAvailableOneIsWarned_data() {
        QTest::addColumn<QString>("estado");
        QTest::addColumn<QString>("direccion");
        QTest::addColumn<QString>("planta");
        QTest::addColumn<bool>("aviso");
        QTest::newRow("misma dirección") << "En Venta"
                                         << "c/ MAYOR 12"
                                         << "2º" << true;
        QTest::newRow("otra planta") << "En Venta"
                                     << "C/ Mayor, 12"
                                     << "3º" << false;
        QTest::newRow("otro número") << "En Venta"
                                     << "C/ Mayor, 14"
                                     << "2º" << false;
        QTest::newRow("vendida") << "Vendida"
                                 << "C/ Mayor, 12"
                                 << "2º" << false;
    }
    void aPropertyAtTheAddressOfAnAvailableOneIsWarned() {
        QFETCH(QString, estado);
        QFETCH(QString, direccion);
        QFETCH(QString, planta);
        QFETCH(bool, aviso);
        ctx().db().execute("INSERT INTO Localidades (Cod, Nombre) VALUES (3, 'Marbella')");
        ctx().db().execute(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, CodLocalidad, "
            "Direccion, Planta) VALUES ('0100001', '01', 1, FALSE, ?, 3, 'Calle Máyor, 12', '2º')",
            {estado});
        frmPropiedades w(ctx(), false);
        w.cmdAdd->click();
        w.txt[prop::CodLocalidad]->setText("3");
        w.txt[prop::Direccion]->setText(direccion);
        w.txt[prop::Planta]->setText(planta);
        ModalUser<dlgDuplicados> usuario([&](dlgDuplicados* dlg) { dlg->cmdCancelar->click(); });
        w.cmdOk->click();
        QCOMPARE(usuario.vistos(), aviso ? 1 : 0);
        QCOMPARE(count("Propiedades"), aviso ? 1 : 2);
    }
};

QTEST_MAIN(TestDuplicados)
#include "tst_duplicados.moc"
