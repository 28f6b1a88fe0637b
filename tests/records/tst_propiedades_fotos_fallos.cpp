// Confirms of the property window that fail or are cut short: the photo
// folder, the row and the log stay as they were or are finished on start-up.

#include "FotosPropiedadPrueba.h"
#include "records/ActividadModel.h"
#include "shell/ConfigStore.h"

#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace prueba;

class TestPropiedadesFotosFallos : public QObject, protected FotosPropiedadPrueba {
    Q_OBJECT

private slots:
    void init() { preparar(); }
    void cleanup() { inst.reset(); }

    void refusedConfirmLeavesRowLogCounterAndFolderAlone_data() {
        QTest::addColumn<bool>("alta");
        QTest::addColumn<bool>("fechaMala"); // else the log write fails
        QTest::newRow("edit, bad date") << false << true;
        QTest::newRow("add, bad date") << true << true;
        QTest::newRow("edit, log write fails") << false << false;
        QTest::newRow("add, log write fails") << true << false;
    }
    // The row, its photo names, the counter and the log are one transaction: a
    // line with a bad date, or a failure in the last statement of the confirm,
    // leaves all as it was.
    void refusedConfirmLeavesRowLogCounterAndFolderAlone() {
        QFETCH(bool, alta);
        QFETCH(bool, fechaMala);
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIEDADES", 41);
        const QString azul = imagen("azul.jpg", Qt::blue);
        QFile::copy(azul, ctx().RutaFotos + "0100001-1.jpg");
        propiedad("0100001", 1, "0100001-1.jpg");
        actividad("0100001", "2024-01-10", "A");
        if (!fechaMala)
            ctx().db().execute("CREATE TRIGGER actividad_rota BEFORE INSERT ON Actividades "
                               "BEGIN SELECT RAISE(ABORT, 'registro de actividad roto'); END");
        const auto filas = [this] { return ctx().db().query("SELECT * FROM Propiedades ORDER BY Cod"); };
        const auto antes = filas();
        frmPropiedades w(ctx(), false);
        if (alta)
            w.cmdAdd->click();
        else
            w.cmdEdit->click();
        const QString verde = imagen("verde.jpg", Qt::green);
        inst->dialogs().queueFile(verde);
        inst->dialogs().queueFile(imagen("rojo.jpg", Qt::red));
        w.fotos->butFotoCargar[0]->click(); // replaces the stored 0100001-1.jpg when editing
        w.fotos->butFotoCargar[1]->click();
        w.txt[Direccion]->setText("Cambiada");
        const int n = w.actividades->lineas();
        escribir(w, n, ActividadModel::ColFecha, fechaMala ? "31/02/2024" : "01/03/2024");
        escribir(w, n, ActividadModel::ColActividad, "Visita");
        w.cmdOk->click();

        QCOMPARE(mensajes().size(), 1);
        if (fechaMala) {
            QCOMPARE(mensajes().first(),
                     QString("Actividades, línea %1: \"31/02/2024\" no es una fecha válida (dd/mm/aaaa).")
                         .arg(n + 1));
            QCOMPARE(w.tabs->currentWidget(), w.picActividades);
        } else {
            QVERIFY2(mensajes().first().startsWith("Se ha producido el error ("),
                     qPrintable(mensajes().first()));
        }
        QVERIFY(alta ? w.data->EstadoAñadiendo() : w.data->EstadoModificando());
        QCOMPARE(filas(), antes);
        QCOMPARE(log("0100001"), QStringList({"10/01/2024|||A"}));
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "PROPIEDADES").toString(), QString("41"));
        QCOMPARE(carpetaFotos(), QStringList({"0100001-1.jpg"})); // no copy, no temporary
        QCOMPARE(pendientes(), QStringList()); // the copies' token went with the transaction
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-1.jpg"), bytes(azul));
        QCOMPARE(w.txt[Direccion]->Text(), QString("Cambiada")); // kept for the user to try again

        // Corrected, the same confirm stores everything.
        if (fechaMala)
            escribir(w, n, ActividadModel::ColFecha, "01/03/2024");
        else
            ctx().db().execute("DROP TRIGGER actividad_rota");
        inst->dialogs().clear();
        w.cmdOk->click();
        QVERIFY2(mensajes().isEmpty(), qPrintable(mensajes().join('|')));
        QVERIFY(w.data->EstadoPaseando());
        const QString cod = alta ? "0100042" : "0100001";
        QCOMPARE(campo(cod, "Direccion").toString(), QString("Cambiada"));
        QCOMPARE(log(cod).last(), QString("01/03/2024|||Visita"));
        QCOMPARE(carpetaFotos(), alta ? QStringList({"0100001-1.jpg", "0100042-1.jpg", "0100042-2.jpg"})
                                      : QStringList({"0100001-1.jpg", "0100001-2.jpg"}));
        QCOMPARE(bytes(ctx().RutaFotos + cod + "-1.jpg"), bytes(verde));
        QCOMPARE(LeerConfig(ctx().db(), "CONTADORES", "PROPIEDADES").toString(),
                 alta ? QString("42") : QString("41"));
        QCOMPARE(pendientes(), QStringList()); // placed: nothing left for a start-up to finish
    }

    // Every statement of the confirm succeeds and the COMMIT itself is refused
    // (a deferred foreign key is checked only then): the pictures keep the
    // names they had, as the row does.
    void commitRefusedAtTheEndLeavesFolderAlone() {
        const QString azul = imagen("azul.jpg", Qt::blue);
        QFile::copy(azul, ctx().RutaFotos + "0100001-1.jpg");
        propiedad("0100001", 1, "0100001-1.jpg");
        ctx().db().execute(
            "CREATE TABLE Vigia (Cod TEXT REFERENCES Ausente (Cod) DEFERRABLE INITIALLY DEFERRED)");
        ctx().db().execute("CREATE TABLE Ausente (Cod TEXT PRIMARY KEY)");
        ctx().db().execute("CREATE TRIGGER commit_roto AFTER UPDATE ON Propiedades "
                           "BEGIN INSERT INTO Vigia VALUES ('nadie'); END");
        const auto filas = [this] { return ctx().db().query("SELECT * FROM Propiedades ORDER BY Cod"); };
        const auto antes = filas();
        frmPropiedades w(ctx(), false);
        w.cmdEdit->click();
        const QString verde = imagen("verde.jpg", Qt::green);
        inst->dialogs().queueFile(verde);
        inst->dialogs().queueFile(imagen("rojo.jpg", Qt::red));
        w.fotos->butFotoCargar[0]->click(); // replaces the stored 0100001-1.jpg
        w.fotos->butFotoCargar[1]->click();
        w.txt[Direccion]->setText("Cambiada");
        w.cmdOk->click();

        QCOMPARE(mensajes().size(), 1);
        QVERIFY(w.data->EstadoModificando());
        QCOMPARE(filas(), antes);
        QCOMPARE(ctx().db().scalar("SELECT COUNT(*) FROM Vigia").toInt(), 0);
        QCOMPARE(carpetaFotos(), QStringList({"0100001-1.jpg"})); // no copy, no temporary
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-1.jpg"), bytes(azul));
        QCOMPARE(pendientes(), QStringList());

        // With the constraint met, the same confirm places both pictures.
        ctx().db().execute("INSERT INTO Ausente VALUES ('nadie')");
        inst->dialogs().clear();
        w.cmdOk->click();
        QVERIFY2(mensajes().isEmpty(), qPrintable(mensajes().join('|')));
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(carpetaFotos(), QStringList({"0100001-1.jpg", "0100001-2.jpg"}));
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-1.jpg"), bytes(verde));
    }

    void pictureThatCannotTakeItsNameAfterTheCommitIsTold() {
        propiedad("0100001", 1);
        QDir(ctx().RutaFotos).mkdir("0100001-1.jpg"); // a folder where the file should go
        frmPropiedades w(ctx(), false);
        w.cmdEdit->click();
        inst->dialogs().queueFile(imagen("rojo.jpg", Qt::red));
        w.fotos->butFotoCargar[0]->click();
        w.txt[Direccion]->setText("Guardada");
        w.cmdOk->click();
        // The record is stored; the user hears which picture is missing, and no copy is left.
        QCOMPARE(mensajes(),
                 QStringList({"La propiedad se ha guardado, pero no se pudo colocar en la carpeta de "
                              "fotos: 0100001-1.jpg."}));
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(campo("0100001", "Direccion").toString(), QString("Guardada"));
        QCOMPARE(carpetaFotos(), QStringList());
    }

    // Start-up after confirms killed half-way: copies whose confirm committed
    // (their token stored) take their names, the others go; files another
    // copy may still be writing, and every file not of the program's own
    // temporary naming, stay.
    void leftoversOfKilledConfirmsAreFinishedOrRemoved() {
        const QString azul = imagen("azul.jpg", Qt::blue), rojo = imagen("rojo.jpg", Qt::red),
                      verde = imagen("verde.jpg", Qt::green);
        const auto token = [this](const QString& t, const QString& cod) {
            ctx().db().execute("INSERT INTO Config (Grupo, Variable, Valor) VALUES ('FOTOSPENDIENTES', ?, ?)",
                               {t, cod});
        };
        const QString a = "00000000000000a1", b = "00000000000000b2", c = "00000000000000c3",
                      d = "00000000000000d4", e = "00000000000000e5", v = "00000000000000f6";
        // Committed, killed before the renames: a new picture and a replaced one.
        poner(".0100001-1.jpg." + a + ".tmp", rojo, 60);
        poner("0100002-1.jpg", azul, 120);
        poner(".0100002-1.jpg." + a + ".tmp", verde, 60);
        token(a, "0100001");
        // Committed, but a later confirm that finished placed a newer picture.
        poner("0100008-1.jpg", azul, 10);
        poner(".0100008-1.jpg." + v + ".tmp", rojo, 60);
        token(v, "0100008");
        // Never committed: the stored picture stays.
        poner("0100003-1.jpg", azul, 120);
        poner(".0100003-1.jpg." + b + ".tmp", rojo, 60);
        // The earlier naming, the import's copies and Qt's.
        poner(".0100004-2.jpg.tmp", rojo, 60);
        poner("0100005-1.jpg.part", rojo, 60);
        poner("qt_temp.Ab12Cd", rojo, 60);
        // Written after this run started: may be another copy's.
        poner(".0100006-1.jpg." + c + ".tmp", rojo, 0);
        token(c, "0100006");
        // Held by a confirm still running.
        poner(".0100007-1.jpg." + d + ".tmp", rojo, 60);
        token(d, "0100007");
        const int vivo =
            ::open(QFile::encodeName(ctx().RutaFotos + ".0100007-1.jpg." + d + ".tmp"), O_RDONLY);
        QVERIFY(vivo >= 0 && ::flock(vivo, LOCK_EX | LOCK_NB) == 0);
        // The user's files.
        const QStringList ajenos = {".oculto.tmp",        "0100001-1.jpg.bak", "notas.part",
                                    ".0100001-7.jpg.tmp", "qt_temp.txt",       ".0100009-1.jpg.zz.tmp"};
        for (const QString& n : ajenos)
            poner(n, azul, 3600);
        token(e, "0100009"); // its copies are gone

        const auto r = FotosPropiedad::limpiarRestos(ctx().db(), ctx().RutaFotos,
                                                     QDateTime::currentDateTime().addSecs(-30));
        ::close(vivo);

        QCOMPARE(r.colocadas, 2);
        QCOMPARE(r.borrados, 5);
        QStringList quedan = ajenos;
        quedan << "0100001-1.jpg"
               << "0100002-1.jpg"
               << "0100003-1.jpg"
               << "0100008-1.jpg"
               << ".0100006-1.jpg." + c + ".tmp"
               << ".0100007-1.jpg." + d + ".tmp";
        quedan.sort();
        QCOMPARE(carpetaFotos(), quedan);
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-1.jpg"), bytes(rojo));
        QCOMPARE(bytes(ctx().RutaFotos + "0100002-1.jpg"), bytes(verde));
        QCOMPARE(bytes(ctx().RutaFotos + "0100003-1.jpg"), bytes(azul));
        QCOMPARE(bytes(ctx().RutaFotos + "0100008-1.jpg"), bytes(azul));
        QCOMPARE(pendientes(), QStringList({c, d})); // only the tokens still in use
    }

    // A second copy starting while this one confirms leaves the copies alone:
    // they stay locked until they are placed.
    void copiesOfARunningConfirmSurviveAnotherStartUp() {
        propiedad("0100001", 1);
        frmPropiedades w(ctx(), false);
        w.cmdEdit->click();
        const QString rojo = imagen("rojo.jpg", Qt::red);
        inst->dialogs().queueFile(rojo);
        w.fotos->butFotoCargar[0]->click();
        w.fotos->preparar(ctx().db(), "0100001"); // its token committed at once, outside a transaction
        QCOMPARE(pendientes().size(), 1);
        const auto r = FotosPropiedad::limpiarRestos(ctx().db(), ctx().RutaFotos,
                                                     QDateTime::currentDateTime().addSecs(60));
        QCOMPARE(r.colocadas + r.borrados, 0);
        QCOMPARE(carpetaFotos().size(), 1);
        QCOMPARE(w.fotos->colocar(), QString());
        QCOMPARE(carpetaFotos(), QStringList({"0100001-1.jpg"}));
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-1.jpg"), bytes(rojo));
        QCOMPARE(pendientes(), QStringList());
        w.cmdCancel->click();
    }

    // A photo folder on a full disk: the user reads that the disk is full, as
    // for a full database, and nothing is stored. Run in a namespace of its own
    // where the photo folder is a small file system.
    void fullDiskDuringConfirmIsToldAsSuch() {
        if (!qEnvironmentVariableIsSet("ORB_DISCO_PEQUENO")) {
            QProcess p;
            p.setProcessChannelMode(QProcess::MergedChannels);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("ORB_DISCO_PEQUENO", "1");
            p.setProcessEnvironment(env);
            p.start("unshare",
                    {"--user", "--map-root-user", "--mount", "--", QCoreApplication::applicationFilePath(),
                     "fullDiskDuringConfirmIsToldAsSuch"});
            QVERIFY(p.waitForFinished(60000));
            const QString salida = QString::fromUtf8(p.readAll());
            if (!salida.contains("Start testing of"))
                QSKIP(qPrintable("no se puede montar un sistema de archivos pequeño: " + salida.trimmed()));
            if (salida.contains("SKIP   : "))
                QSKIP(qPrintable(salida));
            QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, qPrintable(salida));
            QVERIFY2(
                salida.contains("PASS   : TestPropiedadesFotosFallos::fullDiskDuringConfirmIsToldAsSuch()"),
                qPrintable(salida));
            return;
        }
        if (::mount("tmpfs", QFile::encodeName(ctx().RutaFotos).constData(), "tmpfs", 0, "size=256k") != 0)
            QSKIP("no se puede montar un sistema de archivos pequeño");
        const QString azul = imagen("azul.jpg", Qt::blue);
        QVERIFY(QFile::copy(azul, ctx().RutaFotos + "0100001-1.jpg"));
        propiedad("0100001", 1, "0100001-1.jpg");
        // Noise keeps the JPEG larger than the whole file system.
        QImage ruido(1000, 750, QImage::Format_RGB32);
        for (int y = 0; y < ruido.height(); ++y)
            for (int x = 0; x < ruido.width(); ++x)
                ruido.setPixel(x, y, QRandomGenerator::global()->generate() | 0xff000000u);
        const QString grande = fuera.filePath("grande.jpg");
        QVERIFY(ruido.save(grande, "JPG", 95));
        QVERIFY(QFileInfo(grande).size() > 256 * 1024);

        frmPropiedades w(ctx(), false);
        w.cmdEdit->click();
        inst->dialogs().queueFile(imagen("rojo.jpg", Qt::red));
        inst->dialogs().queueFile(grande);
        w.fotos->butFotoCargar[0]->click();
        w.fotos->butFotoCargar[1]->click();
        w.txt[Direccion]->setText("Otra");
        w.cmdOk->click();
        QCOMPARE(mensajes(),
                 QStringList({"Se ha producido el error (3000 - Error de la base de datos) al pulsar "
                              "el botón de aceptar.\nEl disco está lleno."}));
        QVERIFY(w.data->EstadoModificando());
        QCOMPARE(campo("0100001", "Direccion").toString(), QString("Calle Sol"));
        QCOMPARE(carpetaFotos(), QStringList({"0100001-1.jpg"}));
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-1.jpg"), bytes(azul));
        QCOMPARE(pendientes(), QStringList());
        w.cmdCancel->click();
        esperarFotos(w);
        ::umount2(QFile::encodeName(ctx().RutaFotos).constData(), MNT_DETACH);
    }
};

QTEST_MAIN(TestPropiedadesFotosFallos)
#include "tst_propiedades_fotos_fallos.moc"
