// The three catalogue windows on a real installation.

#include "Accessibility.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "records/frmCatalogos.h"
#include "shell/ConfigStore.h"

#include <QtTest>

using namespace orb;

class TestCatalogos : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;

    AppContext& ctx() { return inst->context(); }
    QString counter(const QString& v) { return LeerConfig(ctx().db(), "CONTADORES", v).toString(); }
    int count(const QString& table) { return ctx().db().scalar("SELECT count(*) FROM " + table).toInt(); }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        ctx().db().execute("DELETE FROM Config");
        ctx().db().execute("DELETE FROM Areas");
        ctx().db().execute("DELETE FROM Localidades");
        ctx().db().execute("DELETE FROM Tipos");
        ctx().AddAgainConfig = false;
    }
    void cleanup() { inst.reset(); }

    void firstTypeProposesOneAndAdvancesTheCounter() {
        ctx().AddAgainConfig = true;
        frmTipos w(ctx());
        QVERIFY(w.data->EstadoVacio());
        w.cmdAdd->click();
        QCOMPARE(w.txt[0]->Text(), QString("1"));
        w.txt[1]->setText("Piso");
        w.txt[2]->setText("Apartment");
        w.cmdOk->click();
        QCOMPARE(counter("TIPOS"), QString("1"));
        // Add-again started the next one straight away.
        QVERIFY(w.data->EstadoAñadiendo());
        QCOMPARE(w.txt[0]->Text(), QString("2"));
        QCOMPARE(ctx().db().scalar("SELECT NombreIdioma1 FROM Tipos WHERE Cod = 1").toString(),
                 QString("Apartment"));
        QCOMPARE(ctx().db().scalar("SELECT NombreIdioma2 FROM Tipos WHERE Cod = 1").toString(), QString(""));
    }

    // A cancelled add offers the same code again; a code that is not a number
    // is refused; a typed code is stored but the counter takes the proposal.
    void typedCodeIsCheckedAndTheCounterTakesTheProposal() {
        GuardarConfig(ctx().db(), "CONTADORES", "TIPOS", 6);
        frmTipos w(ctx());
        w.cmdAdd->click();
        QCOMPARE(w.txt[0]->Text(), QString("7"));
        w.cmdCancel->click();
        QCOMPARE(counter("TIPOS"), QString("6"));
        w.cmdAdd->click();
        QCOMPARE(w.txt[0]->Text(), QString("7"));
        w.txt[0]->setText("abc");
        w.txt[1]->setText("Chalet");
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts(), QStringList{"Código: \"abc\" no es un número entero."});
        QCOMPARE(count("Tipos"), 0);
        QCOMPARE(counter("TIPOS"), QString("6"));
        w.txt[0]->setText("20");
        w.cmdOk->click();
        QCOMPARE(ctx().db().scalar("SELECT Nombre FROM Tipos WHERE Cod = 20").toString(), QString("Chalet"));
        QCOMPARE(counter("TIPOS"), QString("7"));
    }

    void untouchedLanguageNameStaysEmptyAfterAnEdit() {
        ctx().db().execute("INSERT INTO Tipos (Cod, Nombre, NombreIdioma1, NombreIdioma2) VALUES (1, 'Piso', "
                           "NULL, 'Appartement')");
        frmTipos w(ctx());
        w.cmdEdit->click();
        w.txt[1]->setText("Piso céntrico");
        w.cmdOk->click();
        QVERIFY(ctx().db().scalar("SELECT NombreIdioma1 FROM Tipos WHERE Cod = 1").isNull());
        QCOMPARE(ctx().db().scalar("SELECT Nombre FROM Tipos WHERE Cod = 1").toString(),
                 QString("Piso céntrico"));
    }

    void secondaryOfficeCannotChangeCatalogues() {
        ctx().db().execute("INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Nerja')");
        ctx().facts.OficinaPrincipal = false;
        frmLocalidades w(ctx());
        QVERIFY(!w.cmdAdd->isEnabled());
        QVERIFY(!w.cmdEdit->isEnabled());
        QVERIFY(!w.cmdDel->isEnabled());
        const QString refusal = "Esta información sólo puede manipularse en la oficina principal";

        w.data->PulsarAñadir();
        QCOMPARE(inst->dialogs().texts(), QStringList{refusal});
        QVERIFY(w.data->EstadoPaseando());

        inst->dialogs().clear();
        w.data->PulsarEditar();
        w.txt[1]->setText("Otra");
        w.data->PulsarAceptar();
        QCOMPARE(inst->dialogs().texts(), QStringList{refusal});
        QVERIFY(w.data->EstadoModificando());
        QCOMPARE(ctx().db().scalar("SELECT Nombre FROM Localidades WHERE Cod = 1").toString(),
                 QString("Nerja"));
        w.data->PulsarCancelar();

        inst->dialogs().clear();
        inst->dialogs().queueAnswer(ui::DialogService::Answer::Yes);
        w.data->PulsarBorrar();
        QCOMPARE(inst->dialogs().texts().last(), refusal);
        QCOMPARE(inst->dialogs().texts().count(refusal), 1);
        QCOMPARE(count("Localidades"), 1);
        QCOMPARE(count("Config WHERE Variable = 'LOCALIDADES' AND Valor <> '0'"), 0);
    }

    void areaLocalityListFollowsTheHiddenCode() {
        ctx().db().execute(
            "INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Nerja'), (2, 'Ávila'), (3, 'Marbella')");
        ctx().db().execute(
            "INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (1, 'Centro', 3), (2, 'Perdida', 99)");
        GuardarConfig(ctx().db(), "CONTADORES", "AREAS", 2);
        frmAreas w(ctx());
        // Spanish order: Ávila, Marbella, Nerja.
        QCOMPARE(w.cboLocalidad->itemText(0), QString("Ávila"));
        QCOMPARE(w.cboLocalidad->currentText(), QString("Marbella"));
        w.cmdNext->click();
        QCOMPARE(w.txt[1]->Text(), QString("Perdida"));
        QCOMPARE(w.cboLocalidad->currentIndex(), -1);

        w.cmdAdd->click();
        QCOMPARE(w.cboLocalidad->currentIndex(), -1);
        QVERIFY(w.txt[2]->Text().isEmpty());
        w.txt[1]->setText("Burriana");
        w.cboLocalidad->setCurrentIndex(2);
        emit w.cboLocalidad->activated(2);
        QCOMPARE(w.txt[2]->Text(), QString("1"));
        w.cmdOk->click();
        QCOMPARE(ctx().db().scalar("SELECT CodLocalidad FROM Areas WHERE Nombre = 'Burriana'").toInt(), 1);
        QVERIFY(inst->dialogs().boxes().isEmpty());
        QCOMPARE(counter("AREAS"), QString("3"));
    }

    void codesInUseAreSkippedAndATypedOneIsToldReadably() {
        ctx().db().execute(
            "INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Nerja'), (2, 'Vélez'), (5, 'Coín')");
        frmLocalidades w(ctx());
        w.cmdAdd->click();
        QCOMPARE(w.txt[0]->Text(), QString("3"));
        w.txt[0]->setText("5");
        w.txt[1]->setText("Otra");
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts(),
                 QStringList{"Se ha producido el error (3022 - No se realizaron los cambios porque crearían "
                             "valores duplicados en el índice o la clave principal) al pulsar el botón de "
                             "aceptar.\nYa existe un registro con el código 5."});
        QCOMPARE(count("Localidades"), 3);
        QCOMPARE(counter("LOCALIDADES"), QString("0"));
        w.txt[0]->setText("3");
        w.cmdOk->click();
        QCOMPARE(ctx().db().scalar("SELECT Nombre FROM Localidades WHERE Cod = 3").toString(),
                 QString("Otra"));
        QCOMPARE(counter("LOCALIDADES"), QString("3"));
    }

    void everyControlHasAUniqueAccessibleName() {
        frmTipos tipos(ctx());
        frmLocalidades localidades(ctx());
        frmAreas areas(ctx());
        for (QWidget* w : std::initializer_list<QWidget*>{&tipos, &localidades, &areas})
            QCOMPARE(accessibilityProblems(w), QStringList());
    }
};

QTEST_MAIN(TestCatalogos)
#include "tst_catalogos.moc"
