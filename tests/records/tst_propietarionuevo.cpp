// The new-owner dialog and the creation of the owner.

#include "Capturas.h"
#include "FallosProvocados.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "platform/widgets/BoundControls.h"
#include "records/frmPropietarioNuevo.h"
#include "shell/ConfigStore.h"

#include <QtTest>

using namespace orb;

class TestPropietarioNuevo : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }
    QString counter() { return LeerConfig(ctx().db(), "CONTADORES", "PROPIETARIOS").toString(); }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        ctx().db().execute("DELETE FROM Propietarios");
        ctx().facts.CodigoOficina = "01";
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIETARIOS", 41);
    }
    void cleanup() { inst.reset(); }

    void dialogReturnsWhatWasTyped() {
        frmPropietarioNuevo dlg;
        // Limits in characters, as the database counts them: an emoji is one.
        for (const auto& [i, n] : {std::pair{2, 50}, {3, 70}, {9, 5}}) {
            dlg.txt[i]->insert(QString::fromUtf8("😀").repeated(n + 1)); // as pasted
            QCOMPARE(ui::Caracteres(dlg.txt[i]->text()), n);
            QCOMPARE(dlg.txt[i]->text().size(), 2 * n);
            dlg.txt[i]->clear();
        }
        dlg.show();
        dlg.txt[2]->setText("Seán O'Connor");
        dlg.txt[14]->setText("sean@correo.ie");
        dlg.txtComentarios->setPlainText("Llamar\npor la tarde");
        dlg.cmdOk->click();
        QVERIFY(dlg.Aceptado);
        QVERIFY(dlg.isHidden());
        QCOMPARE(dlg.Nombre, QString("Seán O'Connor"));
        QCOMPARE(dlg.Comentarios, QString("Llamar\npor la tarde"));
    }

    // A whole international number typed into a telephone box of the dialog,
    // at the size it opens with, is seen from its first character.
    void telephoneBoxesShowAWholeInternationalNumber_data() {
        QTest::addColumn<int>("caja");
        QTest::newRow("Teléfono") << 1;
        QTest::newRow("Móvil") << 6;
        QTest::newRow("Fax") << 10;
    }
    void telephoneBoxesShowAWholeInternationalNumber() {
        QFETCH(int, caja);
        frmPropietarioNuevo dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QLineEdit* e = dlg.txt[caja];
        const QString numero = "+49 613 481468";
        QTest::keyClicks(e, numero);
        QCOMPARE(e->text(), numero);
        QCOMPARE(e->cursorPosition(), int(numero.size()));
        // With the cursor after the last digit, the first one has not scrolled away.
        const int y = e->height() / 2;
        QCOMPARE(e->cursorPositionAt(QPoint(e->contentsRect().left() + 1, y)), 0);
        QCOMPARE(e->cursorPositionAt(QPoint(e->contentsRect().right() - 1, y)), int(numero.size()));
        guardarCaptura(QStringLiteral("propietario-nuevo"), &dlg);
    }

    void closeBoxIsRefused() {
        frmPropietarioNuevo dlg;
        dlg.show();
        QVERIFY(!dlg.close());
        QVERIFY(dlg.isVisible());
        dlg.cmdCancel->click();
        QVERIFY(!dlg.Aceptado);
        QVERIFY(dlg.isHidden());
    }

    void createsTheOwnerWithTheNextNumber() {
        frmPropietarioNuevo dlg;
        dlg.txt[2]->setText("Seán O'Connor");
        dlg.txt[9]->setText("29780");
        dlg.cmdOk->click();
        const QString cod = CrearPropietario(ctx(), dlg, true);
        QCOMPARE(cod, QString("0100042"));
        QCOMPARE(counter(), QString("42"));
        const auto row = ctx().db().query(
            "SELECT Nombre, Cp, QuickID, Agencia, Alquiler, FechaAlta FROM Propietarios WHERE Cod = ?",
            {cod});
        QCOMPARE(row.size(), 1);
        QCOMPARE(row[0][0].toString(), QString("Seán O'Connor"));
        QCOMPARE(row[0][1].toString(), QString("29780"));
        QCOMPARE(row[0][2].toInt(), 42);
        QCOMPARE(row[0][3].toString(), QString("01"));
        QCOMPARE(row[0][4].toBool(), true);
        QCOMPARE(row[0][5].toDate(), QDate::currentDate());
    }

    void takenNumbersAreSkipped() {
        ctx().db().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Nombre) VALUES "
                           "('0100042', '01', 42, 'A'), ('0100043', '01', 43, 'B')");
        frmPropietarioNuevo dlg;
        dlg.txt[2]->setText("C");
        dlg.cmdOk->click();
        QCOMPARE(CrearPropietario(ctx(), dlg, false), QString("0100044"));
        QCOMPARE(counter(), QString("44"));
        QCOMPARE(ctx().db().scalar("SELECT count(*) FROM Propietarios").toInt(), 3);
    }

    void aRefusalOtherThanATakenCodeStopsWithAnError() {
        // A second unique rule that no renumbering can satisfy.
        ctx().db().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Nombre, Dni) VALUES ('X1', "
                           "'01', 1, 'A', '12345678Z')");
        ctx().db().execute("CREATE UNIQUE INDEX Propietarios_Dni ON Propietarios(Dni)");
        frmPropietarioNuevo dlg;
        dlg.txt[13]->setText("12345678Z");
        dlg.cmdOk->click();
        try {
            CrearPropietario(ctx(), dlg, false);
            QFAIL("a duplicate DNI must not be stored");
        } catch (const db::DbError& e) {
            QCOMPARE(e.number(), int(db::ErrDuplicateKey));
        }
        QCOMPARE(counter(), QString("41"));
        QCOMPARE(ctx().db().scalar("SELECT count(*) FROM Propietarios").toInt(), 1);
    }

    void counterThatCannotBeWrittenStoresNoOwner() {
        fallos::provocar(ctx().db(), "NoContar", "BEFORE UPDATE", "Config", "NEW.Variable = 'PROPIETARIOS'");
        frmPropietarioNuevo dlg;
        dlg.txt[2]->setText("Nadie");
        dlg.cmdOk->click();
        QVERIFY_THROWS_EXCEPTION(db::DbError, CrearPropietario(ctx(), dlg, false));
        QCOMPARE(ctx().db().scalar("SELECT count(*) FROM Propietarios").toInt(), 0);
        QCOMPARE(counter(), QString("41"));
        QVERIFY(!ctx().db().inTransaction());
    }

    void cancelledDialogWritesNothing() {
        frmPropietarioNuevo dlg;
        dlg.txt[2]->setText("Nadie");
        dlg.cmdCancel->click();
        QVERIFY(!dlg.Aceptado);
        QCOMPARE(ctx().db().scalar("SELECT count(*) FROM Propietarios").toInt(), 0);
        QCOMPARE(counter(), QString("41"));
    }
};

QTEST_MAIN(TestPropietarioNuevo)
#include "tst_propietarionuevo.moc"
