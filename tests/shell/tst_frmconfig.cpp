// The settings dialog on a real installation.

#include "Accessibility.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "shell/ConfigStore.h"
#include "shell/Installation.h"
#include "shell/frmConfig.h"

#include <QApplication>
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
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        ctx().facts.CodigoOficina = "01";
    }
    void cleanup() { inst.reset(); }

    void showsTheStoredSettingsAndCancelWritesNothing() {
        GuardarConfig(ctx().db(), "CONTADORES", "CLIENTES", "41");
        GuardarConfig(ctx().db(), "WEB", "PASSWORD", "secreto");
        GuardarConfig(ctx().db(), "GENERAL", "ADDAGAIN", "1");
        frmConfig dlg(ctx());
        QCOMPARE(dlg.windowTitle(), QString("Configuración"));
        QCOMPARE(dlg.txt[0]->text(), QString("41"));
        QCOMPARE(dlg.txt[2]->text(), QString("400"));
        QCOMPARE(dlg.txt[18]->text(), QString("00000"));
        QVERIFY(dlg.chkAñadirTrasAñadir->isChecked());
        QCOMPARE(dlg.txt[25]->text(), QString("secreto"));
        QCOMPARE(dlg.txt[25]->echoMode(), QLineEdit::Password);
        QCOMPARE(dlg.txt[19]->echoMode(), QLineEdit::Password);
        QCOMPARE(dlg.txt[21]->text(), QString(""));
        QCOMPARE(dlg.txt[frmConfig::WebPuertoRsync]->text(), QString("5535"));
        QCOMPARE(dlg.txt[frmConfig::SincPuertoRsync]->text(), QString("")); // the installed script's

        const auto before = table(); // loading created the missing rows with their defaults
        dlg.txt[0]->setText("999");
        dlg.txt[23]->setText("otra");
        dlg.cmdCancel->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(table(), before);
    }

    void acceptWritesEverySetting() {
        frmConfig dlg(ctx());
        dlg.txt[0]->setText("12");
        dlg.txt[1]->setText("1.500"); // grouped as typed in Spain
        dlg.txt[13]->setText(" 0 ");
        dlg.txt[18]->setText("#0000");
        dlg.txt[22]->setText("web.example.es");
        dlg.txt[20]->setText("oficina2");
        dlg.txt[2]->setText("16");   // smallest size
        dlg.txt[5]->setText("8192"); // largest size
        dlg.txt[frmConfig::WebPuertoRsync]->setText("5536");
        dlg.txt[frmConfig::SincPuertoRsync]->setText(" 8873 ");
        QCOMPARE(dlg.txt[frmConfig::PortalesRechazoMaximo]->text(), QString("20"));
        QCOMPARE(dlg.txt[frmConfig::PortalesFotoAnchura]->text(), QString("1280"));
        QCOMPARE(dlg.txt[frmConfig::PortalesFotoAltura]->text(), QString("960"));
        dlg.txt[frmConfig::PortalesUrlFotos]->setText("https://www.agencia.es/fotos/");
        dlg.txt[frmConfig::PortalesRechazoMaximo]->setText("0");
        dlg.txt[frmConfig::PortalesFotoAnchura]->setText("1.600");
        dlg.chkAñadirTrasAñadir->setChecked(true);
        dlg.cmdOk->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(inst->dialogs().boxes().isEmpty());
        QCOMPARE(read("CONTADORES", "CLIENTES"), QString("12"));
        QCOMPARE(read("CONTADORES", "PROPIEDADES"), QString("1500"));
        QCOMPARE(read("CONTADORES", "PROPIETARIOS"), QString("0"));
        QCOMPARE(read("CODIGOS", "MASCARA"), QString("#0000"));
        QCOMPARE(read("GENERAL", "ADDAGAIN"), QString("1"));
        QCOMPARE(read("WEB", "SERVIDOR"), QString("web.example.es"));
        QCOMPARE(read("SINC", "FTPUSUARIO"), QString("oficina2"));
        QCOMPARE(read("WEB", "FOTOANCHURA"), QString("16"));
        QCOMPARE(read("WEB", "THUMBALTURA"), QString("8192"));
        QCOMPARE(read("PORTALES", "URLFOTOS"), QString("https://www.agencia.es/fotos/"));
        QCOMPARE(read("PORTALES", "RECHAZOMAXIMO"), QString("0"));
        QCOMPARE(read("PORTALES", "FOTOANCHURA"), QString("1600"));
        QCOMPARE(read("WEB", "FOTOALTURA"), QString("300"));
        QCOMPARE(read("WEB", "PUERTORSYNC"), QString("5536"));
        QCOMPARE(read("SINC", "PUERTORSYNC"), QString("8873"));
    }

    void acceptRefusesABadFieldAndWritesNothing_data() {
        QTest::addColumn<int>("campo");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("pestana");
        QTest::addColumn<QString>("mensaje");
        const QString contador = "no es un número entero igual o mayor que 0.";
        const QString medida = "no es un número entero de píxeles entre 16 y 8192.";
        const QString mascara = "no es una máscara válida: escriba uno o más caracteres 0 o #.";
        QTest::newRow("letters in a counter") << 0 << "12a" << 0 << "Clientes: \"12a\" " + contador;
        QTest::newRow("negative counter") << 1 << "-5" << 0 << "Propiedades: \"-5\" " + contador;
        QTest::newRow("empty counter") << 13 << "" << 0 << "Propietarios: \"\" " + contador;
        QTest::newRow("decimal counter") << 15 << "3,5" << 0 << "Tipos: \"3,5\" " + contador;
        QTest::newRow("badly grouped counter") << 17 << "1.50" << 0 << "Areas: \"1.50\" " + contador;
        QTest::newRow("empty mask") << 18 << "" << 0 << "Máscara: \"\" " + mascara;
        QTest::newRow("letter in the mask") << 18 << "00a00" << 0 << "Máscara: \"00a00\" " + mascara;
        // Codes are office code + masked number, and Cod holds 20 characters.
        QTest::newRow("mask longer than the code")
            << 18 << QString(30, u'0') << 0
            << "Máscara: \"" + QString(30, u'0') +
                   "\" es demasiado larga: con el código de oficina 01 los códigos tendrían 32 caracteres y "
                   "caben como máximo 20.";
        QTest::newRow("size below 16") << 2 << "15" << 1 << "Anchura foto normal: \"15\" " + medida;
        QTest::newRow("size above 8192") << 3 << "8193" << 1 << "Altura foto normal: \"8193\" " + medida;
        QTest::newRow("letters in a size") << 4 << "abc" << 1 << "Anchura foto pequeña: \"abc\" " + medida;
        QTest::newRow("negative size") << 5 << "-80" << 1 << "Altura foto pequeña: \"-80\" " + medida;
        const QString puerto = "no es un número de puerto entre 1 y 65535.";
        QTest::newRow("web port above 65535")
            << frmConfig::WebPuertoRsync << "70000" << 1 << "Puerto de subida de fotos: \"70000\" " + puerto;
        QTest::newRow("empty web port")
            << frmConfig::WebPuertoRsync << "" << 1 << "Puerto de subida de fotos: \"\" " + puerto;
        QTest::newRow("exchange port 0")
            << frmConfig::SincPuertoRsync << "0" << 2 << "Puerto: \"0\" " + puerto;
        QTest::newRow("letters in the exchange port")
            << frmConfig::SincPuertoRsync << "rsync" << 2 << "Puerto: \"rsync\" " + puerto;
        // The portals fetch the pictures from that address: it must be a whole web address.
        const QString direccion = "no es una dirección completa que empiece por http:// o https://.";
        QTest::newRow("photo address without scheme")
            << frmConfig::PortalesUrlFotos << "www.agencia.es/fotos" << 1
            << "Dirección de las fotos en la web: \"www.agencia.es/fotos\" " + direccion;
        QTest::newRow("photo address by ftp")
            << frmConfig::PortalesUrlFotos << "ftp://agencia.es/" << 1
            << "Dirección de las fotos en la web: \"ftp://agencia.es/\" " + direccion;
        QTest::newRow("refused share above 100")
            << frmConfig::PortalesRechazoMaximo << "101" << 1
            << "Máximo de propiedades rechazadas (%): \"101\" no es un porcentaje entero entre 0 y 100.";
        QTest::newRow("portal picture below 16")
            << frmConfig::PortalesFotoAltura << "10" << 1 << "Altura foto portales: \"10\" " + medida;
    }
    void acceptRefusesABadFieldAndWritesNothing() {
        QFETCH(int, campo);
        QFETCH(QString, texto);
        QFETCH(int, pestana);
        QFETCH(QString, mensaje);
        frmConfig probe(ctx()); // loading creates the missing rows with their defaults
        const auto before = table();

        frmConfig dlg(ctx());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        dlg.tab->setCurrentIndex(2);
        // Valid changes before and after the refused field are not written either.
        dlg.txt[0]->setText(campo == 0 ? texto : QString("77"));
        dlg.txt[campo]->setText(texto);
        dlg.txt[22]->setText("otro.example.es");
        dlg.txt[5]->setText(campo == 5 ? texto : QString("99"));
        dlg.cmdOk->click();

        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QCOMPARE(inst->dialogs().boxes().first().title, QString("Error"));
        QCOMPARE(inst->dialogs().boxes().first().text, mensaje);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(dlg.tab->currentIndex(), pestana);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg.txt[campo]));
        QCOMPARE(dlg.txt[campo]->selectedText(), texto);
        QCOMPARE(table(), before);

        // Corrected, the same dialog writes.
        dlg.txt[campo]->setText(campo == 18                            ? QString("000")
                                : campo == frmConfig::PortalesUrlFotos ? QString("http://fotos.agencia.es")
                                                                       : QString("64"));
        dlg.cmdOk->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(read("WEB", "SERVIDOR"), QString("otro.example.es"));
    }

    // The longest mask is the one whose shortest code fills Cod with this office's code.
    void theLongestMaskFillsTheCodeWithTheOfficeCode() {
        frmConfig dlg(ctx());
        dlg.txt[18]->setText(QString(19, u'0'));
        dlg.cmdOk->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(read("CODIGOS", "MASCARA"), QString("00000"));
        QVERIFY(inst->dialogs().texts().value(0).contains("tendrían 21 caracteres"));
        // "#" positions show nothing for a missing digit: they make no code longer.
        dlg.txt[18]->setText("#" + QString(18, u'0'));
        dlg.cmdOk->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(read("CODIGOS", "MASCARA"), "#" + QString(18, u'0'));

        // A longer office code leaves less room.
        ctx().facts.CodigoOficina = "MADRID";
        frmConfig otra(ctx());
        otra.txt[18]->setText(QString(15, u'0'));
        otra.cmdOk->click();
        QCOMPARE(otra.result(), int(QDialog::Rejected));
        QVERIFY(inst->dialogs().texts().value(1).contains("con el código de oficina MADRID"));
        otra.txt[18]->setText(QString(14, u'0'));
        otra.cmdOk->click();
        QCOMPARE(otra.result(), int(QDialog::Accepted));
    }

    // A failure among the writes must not leave the first settings changed.
    void aFailureHalfwayLeavesEverySettingAsItWas() {
        frmConfig probe(ctx());
        // The refusal comes from the database, after the counters have been written.
        // Each engine's own trigger language.
        if (ctx().db().onServer()) {
            ctx().db().execute("CREATE FUNCTION falla_web() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN "
                               "IF NEW.Grupo = 'WEB' AND NEW.Variable = 'FOTOANCHURA' THEN "
                               "RAISE EXCEPTION 'disco lleno'; END IF; RETURN NEW; END$$");
            ctx().db().execute(
                "CREATE TRIGGER falla_web BEFORE UPDATE ON Config FOR EACH ROW EXECUTE FUNCTION falla_web()");
        } else {
            ctx().db().execute("CREATE TRIGGER falla_web BEFORE UPDATE ON Config "
                               "WHEN NEW.Grupo = 'WEB' AND NEW.Variable = 'FOTOANCHURA' "
                               "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
        }
        const auto before = table();
        frmConfig dlg(ctx());
        dlg.txt[0]->setText("41");
        dlg.txt[18]->setText("0000");
        dlg.txt[2]->setText("640");
        dlg.txt[19]->setText("clave");
        dlg.cmdOk->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QVERIFY(inst->dialogs().boxes().first().text.startsWith("No se pudo guardar la configuración"));
        QCOMPARE(table(), before);
        QCOMPARE(read("CONTADORES", "CLIENTES"), QString("0"));
        QVERIFY(!ctx().db().inTransaction());

        // The failure is gone: the same dialog writes everything.
        ctx().db().execute(ctx().db().onServer() ? "DROP TRIGGER falla_web ON Config"
                                                 : "DROP TRIGGER falla_web");
        dlg.cmdOk->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(read("CONTADORES", "CLIENTES"), QString("41"));
        QCOMPARE(read("WEB", "FOTOANCHURA"), QString("640"));
    }

    void secondaryOfficeKeepsItsHiddenCatalogueCounters() {
        GuardarConfig(ctx().db(), "CONTADORES", "TIPOS", "8");
        GuardarConfig(ctx().db(), "CONTADORES", "AREAS", "33");
        // Hidden, a value the dialog would refuse cannot be corrected: it is kept, not refused.
        GuardarConfig(ctx().db(), "CONTADORES", "LOCALIDADES", "-3");
        ctx().facts.OficinaPrincipal = false;
        frmConfig dlg(ctx());
        for (int i : {15, 16, 17})
            QVERIFY(dlg.txt[i]->isHidden());
        for (int i : {16, 17, 18})
            QVERIFY(dlg.lbl[i]->isHidden());
        QVERIFY(!dlg.txt[0]->isHidden());
        dlg.cmdOk->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(read("CONTADORES", "TIPOS"), QString("8"));
        QCOMPARE(read("CONTADORES", "LOCALIDADES"), QString("-3"));
        QCOMPARE(read("CONTADORES", "AREAS"), QString("33"));
    }

    // The installation's facts: shown as the file holds them, refused with the
    // field's message, written for the next start.
    void installationPage() {
        InstallationFacts hechos;
        hechos.NombreAgencia = "Pisos Ana";
        hechos.CodigoOficina = "01";
        hechos.RedAgencias = "01,02";
        hechos.ModelosDossier = 2;
        hechos.PieDossier = "Calle Mayor, 3";
        QVERIFY(GuardarDatosInstalacion(ctx().RutaAplicacion, hechos));
        auto leerIni = [&] {
            QFile f(inst->file("Orbalia.ini"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray ini = leerIni();
        const auto config = table();

        frmConfig dlg(ctx());
        QCOMPARE(accessibilityProblems(&dlg), QStringList());
        QCOMPARE(dlg.txt[frmConfig::InstAgencia]->text(), "Pisos Ana");
        QCOMPARE(dlg.txt[frmConfig::InstOficina]->text(), "01");
        QCOMPARE(dlg.txt[frmConfig::InstRed]->text(), "01,02");
        QCOMPARE(dlg.txtPie->toPlainText(), "Calle Mayor, 3");
        QVERIFY(dlg.chkPrincipal->isChecked());

        dlg.show();
        dlg.txt[frmConfig::ContadorClientes]->setText("77"); // would be written with the page
        dlg.txt[frmConfig::InstOficina]->setText("0/1");
        dlg.cmdOk->click();
        QCOMPARE(
            inst->dialogs().texts(),
            QStringList{
                "Código de esta oficina: El código de oficina \"0/1\" solo puede tener letras y cifras."});
        QVERIFY(dlg.result() != QDialog::Accepted);
        QCOMPARE(dlg.tab->tabText(dlg.tab->currentIndex()), "I&nstalación");
        QCOMPARE(leerIni(), ini);
        QCOMPARE(table(), config);

        inst->dialogs().clear();
        dlg.txt[frmConfig::InstOficina]->setText("01");
        dlg.txt[frmConfig::InstRed]->setText("01,0.2");
        dlg.cmdOk->click();
        QCOMPARE(inst->dialogs().texts().size(), 1);
        QVERIFY(inst->dialogs().texts().first().startsWith("Oficinas de la red: "));
        QCOMPARE(leerIni(), ini);

        inst->dialogs().clear();
        dlg.txt[frmConfig::InstRed]->setText("01,02,03");
        dlg.txt[frmConfig::InstAgencia]->setText("Pisos Ana y Luis");
        dlg.txtPie->setPlainText("Calle Mayor, 5 · Soria");
        dlg.cmdOk->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(
            inst->dialogs().texts(),
            QStringList{"Los datos de la instalación se han guardado y se aplicarán la próxima vez que se "
                        "inicie el programa."});
        const InstallationFacts leidos = LeerDatosInstalacion(ctx().RutaAplicacion);
        QCOMPARE(leidos.NombreAgencia, "Pisos Ana y Luis");
        QCOMPARE(leidos.RedAgencias, "01,02,03");
        QCOMPARE(leidos.PieDossier, "Calle Mayor, 5 · Soria");
        QCOMPARE(leidos.ModelosDossier, 2); // not on the page: kept
        QCOMPARE(read("CONTADORES", "CLIENTES"), QString("77"));
        // This run goes on with the facts it started with.
        QCOMPARE(ctx().facts.NombreAgencia, QString());
    }
};

QTEST_MAIN(TestFrmConfig)
#include "tst_frmconfig.moc"
