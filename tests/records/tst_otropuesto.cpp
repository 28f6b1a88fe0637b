// Another seat on the same agency database stores the record this window is
// editing: the confirm is refused, nothing is written, and the user chooses.

#include "TestInstallation.h"
#include "TestServers.h"
#include "platform/db/Database.h"
#include "records/FichaPersona.h"

#include <QtTest>

using namespace orb;

class TestOtroPuesto : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<db::Database> otro; // the other seat's own connection to the file
    AppContext& ctx() { return inst->context(); }
    QString nombre() {
        return otro->scalar("SELECT Nombre FROM Propietarios WHERE Cod = '0100001'").toString();
    }
    // The other seat stores the owner as a program with a Version column does.
    void otroGuarda(const QString& n) {
        otro->execute(
            "UPDATE Propietarios SET Nombre = ?, Version = coalesce(Version, 0) + 1 WHERE Cod = '0100001'",
            {n});
    }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
        ctx().db().execute("DELETE FROM Propietarios");
        ctx().db().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre) "
                           "VALUES ('0100001', '01', 1, FALSE, 'Ana')");
        otro = ctx().db().reopen(); // another seat: its own connection
    }
    void cleanup() {
        otro.reset();
        inst.reset();
    }

    void staleConfirmKeepsTheOtherSeatsValueAndOffersToReadAgain() {
        frmPropietarios w(ctx(), false);
        w.cmdEdit->click();
        w.txt[2]->setText("Ana (este puesto)");
        otroGuarda("Ana (otro puesto)");
        inst->dialogs().queueAnswer(ui::DialogService::Answer::No);
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QVERIFY(inst->dialogs().texts().first().startsWith("Otro puesto ha modificado este registro"));
        // Nothing written; what was typed still there, still editing.
        QCOMPARE(nombre(), QString("Ana (otro puesto)"));
        QCOMPARE(w.txt[2]->Text(), QString("Ana (este puesto)"));
        QVERIFY(w.cmdOk->isEnabled());
        // Read again: the stored value shows and a new edit stores over it.
        inst->dialogs().clear();
        inst->dialogs().queueAnswer(ui::DialogService::Answer::Yes);
        w.cmdOk->click();
        QCOMPARE(w.txt[2]->Text(), QString("Ana (otro puesto)"));
        QVERIFY(!w.cmdOk->isEnabled());
        w.cmdEdit->click();
        w.txt[2]->setText("Ana García");
        w.cmdOk->click();
        QCOMPARE(nombre(), QString("Ana García"));
        QCOMPARE(otro->scalar("SELECT Version FROM Propietarios").toInt(), 2);
    }

    // Changed before Edit was pressed: the window edits what is stored now.
    void editShowsWhatTheOtherSeatStored() {
        frmPropietarios w(ctx(), false);
        otroGuarda("Ana Luisa");
        w.cmdEdit->click();
        QCOMPARE(w.txt[2]->Text(), QString("Ana Luisa"));
        w.txt[2]->setText("Ana Luisa Pérez");
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(nombre(), QString("Ana Luisa Pérez"));
    }

    // Deleted by the other seat while shown here: Edit says so and brings nothing back.
    void deletedByTheOtherSeatIsToldAndNothingComesBack() {
        frmPropietarios w(ctx(), false);
        QCOMPARE(w.txt[2]->Text(), QString("Ana"));
        otro->execute("DELETE FROM Propietarios WHERE Cod = '0100001'");
        w.cmdEdit->click();
        const QStringList textos = inst->dialogs().texts();
        QCOMPARE(textos.size(), 1);
        QVERIFY2(textos.first().endsWith("\nEl registro ya no existe: se ha borrado desde otro puesto."),
                 qPrintable(textos.first()));
        QVERIFY(!w.cmdOk->isEnabled());
        QCOMPARE(otro->scalar("SELECT count(*) FROM Propietarios").toInt(), 0);
    }
};

QTEST_MAIN(TestOtroPuesto)
#include "tst_otropuesto.moc"
