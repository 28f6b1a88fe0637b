// The interface language on a Spanish seat: chosen per seat in the settings,
// applied at the next start, never stored in the agency database; and the
// Spanish plural forms, which every program gets without asking.

#include "TestInstallation.h"
#include "search/AvisoCoincidencias.h"
#include "shell/Idioma.h"
#include "shell/Puesto.h"
#include "shell/frmConfig.h"

#include <QApplication>
#include <QtTest>

using namespace orb;

class TestIdioma : public QObject {
    Q_OBJECT

    QList<db::Row> config(AppContext& ctx) {
        return ctx.db().query("SELECT Grupo, Variable, Valor FROM Config ORDER BY Grupo, Variable");
    }

private slots:
    void theSeatChoosesAndTheNextStartApplies() {
        TestInstallation inst;
        AppContext& ctx = inst.context();
        QCOMPARE(IdiomaPuesto(), Idioma::Espanol);
        {
            frmConfig dlg(ctx);
            QCOMPARE(dlg.cboIdioma->currentText(), QString("Español"));
            QCOMPARE(dlg.cboIdioma->accessibleName(), QString("Idioma de la interfaz"));
            dlg.cboIdioma->setCurrentIndex(dlg.cboIdioma->findText("English"));
            dlg.cmdCancel->click();
        }
        QCOMPARE(IdiomaPuesto(), Idioma::Espanol); // Cancel stores nothing
        QVERIFY(inst.dialogs().boxes().isEmpty());

        {
            frmConfig dlg(ctx); // accepting once writes every setting as the dialog holds them
            dlg.cmdOk->click();
        }
        QVERIFY(inst.dialogs().boxes().isEmpty()); // nothing to say when the language stays
        const auto antes = config(ctx);
        {
            frmConfig dlg(ctx);
            dlg.cboIdioma->setCurrentIndex(dlg.cboIdioma->findText("English"));
            dlg.cmdOk->click();
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
        }
        QCOMPARE(IdiomaPuesto(), Idioma::Ingles);
        QCOMPARE(inst.dialogs().texts(),
                 QStringList{"El idioma de la interfaz se aplicará la próxima vez que se abra Orbalia."});
        // The running program keeps the language it started in.
        QCOMPARE(IdiomaActual(), Idioma::Espanol);
        QCOMPARE(QCoreApplication::translate("orb::frmConfig", "Configuración"), QString("Configuración"));
        // Per seat: the agency database holds nothing of it.
        QCOMPARE(config(ctx), antes);

        // The dialog shows the seat's choice again.
        frmConfig dlg(ctx);
        QCOMPARE(dlg.cboIdioma->currentText(), QString("English"));
    }

    void anotherSeatKeepsItsOwn() {
        TestInstallation uno;
        GuardarIdiomaPuesto(Idioma::Ingles);
        TestInstallation otro; // another PC: its own seat settings
        QCOMPARE(IdiomaPuesto(), Idioma::Espanol);
    }

    void spanishCountsTakeTheirPluralForm() {
        QCOMPARE(AvisoCoincidencias::Texto(0),
                 QString("Ningún cliente en espera tiene propiedades nuevas que encajen."));
        QCOMPARE(AvisoCoincidencias::Texto(1),
                 QString("1 cliente en espera tiene propiedades nuevas que encajan."));
        QCOMPARE(AvisoCoincidencias::Texto(3),
                 QString("3 clientes en espera tienen propiedades nuevas que encajan."));
    }
};

QTEST_MAIN(TestIdioma)
#include "tst_idioma.moc"
