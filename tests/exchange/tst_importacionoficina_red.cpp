// The network of offices an import reads: the list's codes, and the folders
// under Exchange/ they name.

#include "ImportacionPrueba.h"
#include "exchange/ImportacionOficina.h"
#include "platform/process/ProcessRunner.h"
#include "shell/Installation.h"

#include <QRegularExpression>
#include <QTest>

using namespace prueba;

class tst_ImportacionOficinaRed : public QObject, private RegistroImportacion {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        ORB_MOTOR_DISPONIBLE();
        iniciarRegistro();
    }
    void init() { vaciarRegistro(); }

    void onlyThisOfficeInTheListDoesNothing() {
        TestInstallation aqui(oficina("1", true, "1"));
        Registro r;
        proc::ProcessRunner runner;
        QVERIFY(orb::ImportacionOficina(aqui.context(), r.informe()).ejecutar(runner));
        QCOMPARE(r.lineas, QStringList());
    }

    // A code of the network is a folder name under Exchange/: ".." or a quote
    // would lead the download's mirror (which deletes) out of it.
    void unusableNetworkCodesTouchNothing() {
        TestInstallation aqui(oficina("1", true, "1"));
        // The installer and start-up refuse it; the import does not rely on them.
        aqui.context().facts.RedAgencias = "1,..,2',/";
        escribir(aqui.file("Exchange/guardado.txt"), "sigue aquí");
        const QStringList antes = ficherosInstalacion(aqui.path());
        Registro r;
        proc::ProcessRunner runner;
        QVERIFY(!orb::ImportacionOficina(aqui.context(), r.informe()).ejecutar(runner));
        QCOMPARE(r.lineas.filter("Iniciando bajada").size(), 0);
        for (const char* codigo : {"..", "2'", "/"})
            QVERIFY2(r.lineas.filter(QString("No se importa la oficina \"%1\".").arg(codigo)).size() == 1,
                     qPrintable(r.lineas.join('\n')));
        QVERIFY(r.lineas.filter("solo puede tener letras y cifras").size() == 3);
        QVERIFY(r.lineas.filter("clave RedAgencias").size() == 3);
        QCOMPARE(ficherosInstalacion(aqui.path()), antes);
    }

    // The office's folder is a link to the installation: what rsync would
    // delete there is the program's own files.
    void officeFolderOutsideExchangeIsRefused() {
        TestInstallation aqui(oficina("1", true, "12"));
        QVERIFY(QFile::link(aqui.path(), aqui.file("Exchange/2")));
        // Opened first: a seat on a server writes its connection into the folder then.
        orb::AppContext& ctx = aqui.context();
        const QStringList antes = ficherosInstalacion(aqui.path());
        Registro r;
        orb::ImportacionOficina imp(ctx, r.informe());
        proc::ProcessRunner runner;
        QVERIFY(!imp.Bajar(runner, "2"));
        QVERIFY(!imp.Importar("2", "1"));
        QCOMPARE(r.lineas.filter("no está dentro de").size(), 2);
        QVERIFY(r.lineas.filter("rsync_").isEmpty()); // the script never ran
        QCOMPARE(ficherosInstalacion(aqui.path()), antes);
    }

    // A list without commas is one character per office, unless the codes are longer.
    void networkCodes_data() {
        QTest::addColumn<QString>("red");
        QTest::addColumn<QString>("propia");
        QTest::addColumn<QStringList>("codigos");
        QTest::newRow("un carácter cada una") << "122"
                                              << "1" << QStringList{"1", "2", "2"};
        QTest::newRow("letras fuera del BMP") << "1𝔸"
                                              << "1" << QStringList{"1", "𝔸"};
        QTest::newRow("una oficina de dos caracteres") << "02"
                                                       << "01" << QStringList{"02"};
        QTest::newRow("con comas") << "01,02"
                                   << "01" << QStringList{"01", "02"};
        QTest::newRow("comas de un carácter") << "1,2"
                                              << "1" << QStringList{"1", "2"};
        QTest::newRow("punto y coma y blancos") << " 01; 02  03 "
                                                << "02" << QStringList{"01", "02", "03"};
        QTest::newRow("vacía") << "  "
                               << "01" << QStringList();
    }
    void networkCodes() {
        QFETCH(QString, red);
        QFETCH(QString, propia);
        QFETCH(QStringList, codigos);
        QCOMPARE(orb::CodigosRed(red, propia), codigos);
        QCOMPARE(orb::ProblemaRedAgencias(red, propia), QString());
    }

    // RedAgencias=02 at office 01: office 02 is downloaded and imported once,
    // never offices "0" and "2".
    void networkOfOneTwoCharacterOffice() {
        TestInstallation aqui(oficina("01", false, "02"));
        TestInstallation otra(oficina("02", true, "02"));
        catalogo(otra.context().db(), 3, "Dúplex");
        fila(otra.context().db(), "Propiedades", "0200001", "02");
        exportarOficina(otra, aqui);
        Registro r;
        proc::ProcessRunner runner;
        orb::ImportacionOficina(aqui.context(), r.informe()).ejecutar(runner);
        QCOMPARE(r.lineas.count("Iniciando bajada ..."), 1);
        QVERIFY2(r.lineas.filter(QRegularExpression("oficina [02][ :.]")).isEmpty(),
                 qPrintable(r.lineas.join('\n')));
        QCOMPARE(r.lineas.count("Importación finalizada."), 1);
        QCOMPARE(tabla(aqui.context().db(), "Propiedades"), tabla(otra.context().db(), "Propiedades"));
    }
};

QTEST_GUILESS_MAIN(tst_ImportacionOficinaRed)
#include "tst_importacionoficina_red.moc"
