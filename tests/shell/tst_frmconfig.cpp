// The settings dialog on a real installation.

#include "TestInstallation.h"
#include "shell/ConfigStore.h"
#include "shell/frmConfig.h"

#include <QtTest>

using namespace orb;

class TestFrmConfig : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }
    QString read(const QString& g, const QString& v) { return LeerConfig(ctx().db(), g, v).toString(); }
    QList<db::Row> table() {
        return ctx().db().query("SELECT Grupo, Variable, Valor FROM Config ORDER BY Grupo, Variable");
    }

private slots:
    void init() { inst = std::make_unique<TestInstallation>(); }
    void cleanup() { inst.reset(); }

    void showsTheStoredSettings() {
        GuardarConfig(ctx().db(), "CONTADORES", "CLIENTES", "41");
        GuardarConfig(ctx().db(), "WEB", "PASSWORD", "secreto");
        GuardarConfig(ctx().db(), "GENERAL", "ADDAGAIN", "1");
        frmConfig dlg(ctx());
        QCOMPARE(dlg.windowTitle(), QString("Configuración"));
        QCOMPARE(dlg.tab->count(), 3);
        QCOMPARE(dlg.txt[0]->text(), QString("41"));
        QCOMPARE(dlg.txt[2]->text(), QString("400"));
        QCOMPARE(dlg.txt[18]->text(), QString("00000"));
        QVERIFY(dlg.chk2->isChecked());
        QCOMPARE(dlg.txt[25]->text(), QString("secreto"));
        QCOMPARE(dlg.txt[25]->echoMode(), QLineEdit::Password);
        QCOMPARE(dlg.txt[19]->echoMode(), QLineEdit::Password);
        QCOMPARE(dlg.txt[21]->text(), QString(""));
    }

    void acceptWritesEverySettingAsTyped() {
        frmConfig dlg(ctx());
        dlg.txt[0]->setText("12a");
        dlg.txt[1]->setText("1.500");
        dlg.txt[18]->setText("0000");
        dlg.txt[22]->setText("web.example.es");
        dlg.txt[20]->setText("oficina2");
        dlg.chk2->setChecked(true);
        dlg.cmdOk->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(read("CONTADORES", "CLIENTES"), QString("0"));
        QCOMPARE(read("CONTADORES", "PROPIEDADES"), QString("1500"));
        QCOMPARE(read("CODIGOS", "MASCARA"), QString("0000"));
        QCOMPARE(read("GENERAL", "ADDAGAIN"), QString("1"));
        QCOMPARE(read("WEB", "SERVIDOR"), QString("web.example.es"));
        QCOMPARE(read("SINC", "FTPUSUARIO"), QString("oficina2"));
        QCOMPARE(read("WEB", "THUMBALTURA"), QString("60"));
    }

    void cancelWritesNothing() {
        frmConfig probe(ctx()); // loading creates the missing rows with their defaults
        const auto before = table();
        frmConfig dlg(ctx());
        dlg.txt[0]->setText("999");
        dlg.txt[23]->setText("otra");
        dlg.cmdCancel->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(table(), before);
    }

    void secondaryOfficeKeepsItsHiddenCatalogueCounters() {
        GuardarConfig(ctx().db(), "CONTADORES", "TIPOS", "8");
        GuardarConfig(ctx().db(), "CONTADORES", "AREAS", "33");
        ctx().facts.OficinaPrincipal = false;
        frmConfig dlg(ctx());
        for (int i : {15, 16, 17})
            QVERIFY(dlg.txt[i]->isHidden());
        for (int i : {16, 17, 18})
            QVERIFY(dlg.lbl[i]->isHidden());
        QVERIFY(!dlg.txt[0]->isHidden());
        dlg.cmdOk->click();
        QCOMPARE(read("CONTADORES", "TIPOS"), QString("8"));
        QCOMPARE(read("CONTADORES", "AREAS"), QString("33"));
    }
};

QTEST_MAIN(TestFrmConfig)
#include "tst_frmconfig.moc"
