// Photographs and activity log of the property window: real JPEG and BMP
// files, the real photo folder and database file.

#include "ActividadPrueba.h"
#include "ModalUser.h"
#include "TestInstallation.h"
#include "records/ActividadModel.h"
#include "records/FotosPropiedad.h"
#include "records/frmPropiedades.h"
#include "search/Lookups.h"
#include "search/frmConsulta.h"
#include "shell/ConfigStore.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QtTest>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace orb;
using namespace orb::prop;

class TestPropiedadesFotos : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    QTemporaryDir fuera; // where the user's pictures come from
    AppContext& ctx() { return inst->context(); }
    QVariant campo(const QString& cod, const QString& field) {
        return ctx().db().scalar(QStringLiteral("SELECT %1 FROM Propiedades WHERE Cod = ?").arg(field),
                                 {cod});
    }
    QString imagen(const QString& nombre, QColor color, const char* formato = "JPG") {
        QImage img(640, 480, QImage::Format_RGB32);
        img.fill(color);
        const QString ruta = fuera.filePath(nombre);
        if (!img.save(ruta, formato))
            qFatal("cannot write %s", qPrintable(ruta));
        return ruta;
    }
    // Message boxes shown, without the file dialogs the service also records.
    QStringList mensajes() {
        QStringList l = inst->dialogs().texts();
        l.removeAll("Cargar fotografía");
        return l;
    }
    static QByteArray bytes(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList carpetaFotos() {
        return QDir(ctx().RutaFotos).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QStringList log(const QString& cod) { return prueba::actividadesGuardadas(ctx(), cod); }
    QStringList lineas(const frmPropiedades& w) { return prueba::actividadesEnPantalla(w); }
    void escribir(frmPropiedades& w, int fila, int columna, const QString& texto) {
        QVERIFY(w.actividades->setData(w.actividades->index(fila, columna), texto));
    }
    void esperarFotos(frmPropiedades& w) { QTRY_COMPARE(w.fotos->decodificando(), 0); }
    void propiedad(const QString& cod, int quick, const QString& foto1 = {}, const QString& foto2 = {}) {
        ctx().db().execute(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, Direccion, Foto1, "
            "Foto2) VALUES (?, '01', ?, 0, 'En Venta', 'Calle Sol', ?, ?)",
            {cod, quick, foto1, foto2});
    }
    // Tokens of confirms whose copies are not in place.
    QStringList pendientes() {
        QStringList l;
        for (const db::Row& r : ctx().db().query(
                 "SELECT Variable FROM Config WHERE Grupo = 'FOTOSPENDIENTES' ORDER BY Variable"))
            l << r[0].toString();
        return l;
    }
    // A file in the photo folder with desde's bytes, last written hace seconds ago.
    void poner(const QString& nombre, const QString& desde, int hace) {
        const QString ruta = ctx().RutaFotos + nombre;
        QFile::remove(ruta);
        QVERIFY(QFile::copy(desde, ruta));
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(
            f.setFileTime(QDateTime::currentDateTime().addSecs(-hace), QFileDevice::FileModificationTime));
    }
    void actividad(const QString& cod, const QString& fecha, const QString& texto) {
        ctx().db().execute("INSERT INTO Actividades (Propiedad, Fecha, CodCliente, Cliente, Actividad) "
                           "VALUES (?, ?, '', '', ?)",
                           {cod, fecha, texto});
    }

private slots:
    void init() {
        inst = std::make_unique<TestInstallation>();
        for (const char* t : {"Propiedades", "Actividades"})
            ctx().db().execute(QStringLiteral("DELETE FROM %1").arg(t));
        QDir(ctx().RutaFotos).removeRecursively();
        QDir().mkpath(ctx().RutaFotos);
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
    }
    void cleanup() { inst.reset(); }

    void chosenPictureIsShownAndCopiedOnlyOnConfirm() {
        propiedad("0100001", 1);
        frmPropiedades w(ctx(), false);
        w.cmdEdit->click();
        const QString rojo = imagen("rojo.jpg", Qt::red);
        inst->dialogs().queueFile(rojo);
        w.fotos->butFotoCargar[0]->click();
        esperarFotos(w);
        QVERIFY(w.fotos->conImagen(0));
        // Decoded at display size, not at the file's.
        QVERIFY(w.fotos->imgFoto[0]->pixmap().width() <= w.fotos->imgFoto[0]->width());
        QVERIFY(carpetaFotos().isEmpty());
        w.cmdCancel->click();
        esperarFotos(w);
        QVERIFY(!w.fotos->conImagen(0));
        QVERIFY(carpetaFotos().isEmpty());
        QCOMPARE(campo("0100001", "Foto1").toString(), QString());

        // A file that is not a picture is refused and leaves its slot empty.
        w.cmdEdit->click();
        QFile f(fuera.filePath("nota.jpg"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("esto no es una foto");
        f.close();
        inst->dialogs().queueFile(f.fileName());
        w.fotos->butFotoCargar[2]->click();
        QCOMPARE(mensajes(), QStringList({"El archivo \"nota.jpg\" no es una imagen que se pueda mostrar."}));
        QVERIFY(!w.fotos->conImagen(2));
        QVERIFY(w.fotos->pendiente(2).isEmpty());
        inst->dialogs().clear();
        inst->dialogs().queueFile(rojo);
        w.fotos->butFotoCargar[0]->click();
        w.cmdOk->click();
        QVERIFY2(mensajes().isEmpty(), qPrintable(mensajes().join('|')));
        QCOMPARE(campo("0100001", "Foto1").toString(), QString("0100001-1.jpg"));
        QCOMPARE(campo("0100001", "Foto3").toString(), QString());
        QCOMPARE(carpetaFotos(), QStringList({"0100001-1.jpg"})); // no temporary left
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-1.jpg"), bytes(rojo));
    }

    void removedPictureKeepsFileAndReplacedOneOverwritesIt() {
        const QString azul = imagen("azul.jpg", Qt::blue);
        QFile::copy(azul, ctx().RutaFotos + "0100001-1.jpg");
        propiedad("0100001", 1, "0100001-1.jpg");
        frmPropiedades w(ctx(), false);
        esperarFotos(w);
        QVERIFY(w.fotos->conImagen(0));
        w.cmdEdit->click();
        // Chosen, then removed in the same edit: the removal wins, the file stays.
        const QString verde = imagen("verde.jpg", Qt::green);
        inst->dialogs().queueFile(verde);
        w.fotos->butFotoCargar[0]->click();
        w.fotos->butFotoBorrar[0]->click();
        esperarFotos(w);
        QVERIFY(!w.fotos->conImagen(0));
        w.cmdOk->click();
        QCOMPARE(campo("0100001", "Foto1").toString(), QString());
        QCOMPARE(carpetaFotos(), QStringList({"0100001-1.jpg"}));
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-1.jpg"), bytes(azul)); // untouched

        // A new picture takes the old file's name; a BMP keeps its bytes under a .jpg name.
        w.cmdEdit->click();
        const QString bmp = imagen("plano.bmp", Qt::yellow, "BMP");
        inst->dialogs().queueFile(verde);
        inst->dialogs().queueFile(bmp);
        w.fotos->butFotoCargar[0]->click();
        w.fotos->butFotoCargar[1]->click();
        w.cmdOk->click();
        QVERIFY(mensajes().isEmpty());
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-1.jpg"), bytes(verde));
        QCOMPARE(campo("0100001", "Foto2").toString(), QString("0100001-2.jpg"));
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-2.jpg"), bytes(bmp));
        QCOMPARE(carpetaFotos(), QStringList({"0100001-1.jpg", "0100001-2.jpg"}));
    }

    void newQuickIdNamesNewPicturesOnly() {
        QFile::copy(imagen("azul.jpg", Qt::blue), ctx().RutaFotos + "0100001-2.jpg");
        propiedad("0100001", 1, QString(), "0100001-2.jpg");
        frmPropiedades w(ctx(), false);
        w.cmdEdit->click();
        w.txt[QuickID]->setText("7");
        inst->dialogs().queueFile(imagen("rojo.jpg", Qt::red));
        w.fotos->butFotoCargar[0]->click();
        w.cmdOk->click();
        QCOMPARE(campo("0100007", "Foto1").toString(), QString("0100007-1.jpg"));
        QCOMPARE(campo("0100007", "Foto2").toString(), QString("0100001-2.jpg"));
        QVERIFY(QFile::exists(ctx().RutaFotos + "0100007-1.jpg"));
    }

    void failedCopyLeavesFolderAndRecordAsTheyWere() {
        const QString azul = imagen("azul.jpg", Qt::blue);
        QFile::copy(azul, ctx().RutaFotos + "0100001-1.jpg");
        propiedad("0100001", 1, "0100001-1.jpg");
        frmPropiedades w(ctx(), false);
        w.cmdEdit->click();
        const QString rojo = imagen("rojo.jpg", Qt::red);
        const QString desaparece = imagen("desaparece.jpg", Qt::green);
        inst->dialogs().queueFile(rojo);
        inst->dialogs().queueFile(desaparece);
        w.fotos->butFotoCargar[0]->click();
        w.fotos->butFotoCargar[1]->click();
        QFile::remove(desaparece); // gone before the confirm
        w.txt[Direccion]->setText("Otra");
        w.cmdOk->click();
        QCOMPARE(mensajes().size(), 1);
        QVERIFY(mensajes().first().startsWith("Se ha producido el error ("));
        QVERIFY(w.data->EstadoModificando());
        // The stored picture of the first slot is still the old one, and no copy is left.
        QCOMPARE(carpetaFotos(), QStringList({"0100001-1.jpg"}));
        QCOMPARE(bytes(ctx().RutaFotos + "0100001-1.jpg"), bytes(azul));
        QCOMPARE(campo("0100001", "Direccion").toString(), QString("Calle Sol"));
        QCOMPARE(w.fotos->pendiente(0), rojo); // the user can still correct and confirm
    }

    void steppingThroughRecordsShowsEachRecordsPictures() {
        const QString rojo = imagen("rojo.jpg", Qt::red);
        QFile::copy(rojo, ctx().RutaFotos + "0100001-1.jpg");
        propiedad("0100001", 1, "0100001-1.jpg");
        propiedad("0100002", 2, "falta.jpg"); // named but missing
        propiedad("0100003", 3);
        frmPropiedades w(ctx(), false);
        // Move on at once: a late result for the first record must not show on the others.
        w.cmdNext->click();
        w.cmdNext->click();
        esperarFotos(w);
        QVERIFY(!w.fotos->conImagen(0));
        w.cmdFirst->click();
        esperarFotos(w);
        QVERIFY(w.fotos->conImagen(0));
        const QColor c = w.fotos->imgFoto[0]->pixmap().toImage().pixelColor(10, 10);
        QVERIFY(c.red() > 200 && c.green() < 60); // the first record's red picture
        w.cmdNext->click();
        esperarFotos(w);
        QVERIFY(!w.fotos->conImagen(0));
        QVERIFY(mensajes().isEmpty());
    }

    void activityLinesInsertedCancelledAndRewrittenInOrder() {
        propiedad("0100001", 1);
        actividad("0100001", "2024-01-10", "A");
        actividad("0100001", "2024-02-10", "B");
        actividad("0100001", "2024-03-10", "C");
        frmPropiedades w(ctx(), false);
        QCOMPARE(lineas(w), QStringList({"10/01/2024|||A", "10/02/2024|||B", "10/03/2024|||C"}));
        QVERIFY(!w.cmdInsertarLinea->isEnabled());
        w.cmdEdit->click();
        w.grd->setCurrentIndex(w.actividades->index(1, 0));
        w.cmdInsertarLinea->click();
        QCOMPARE(lineas(w), QStringList({"10/01/2024|||A", "|||", "10/02/2024|||B", "10/03/2024|||C"}));
        w.grd->setCurrentIndex(w.actividades->index(3, 0));
        w.cmdBorrarLinea->click();
        w.cmdCancel->click();
        QCOMPARE(lineas(w), QStringList({"10/01/2024|||A", "10/02/2024|||B", "10/03/2024|||C"}));

        const qint64 ultimo = ctx().db().scalar("SELECT max(Cod) FROM Actividades").toLongLong();
        w.cmdEdit->click();
        w.grd->setCurrentIndex(w.actividades->index(1, 0));
        w.cmdInsertarLinea->click();
        escribir(w, 1, ActividadModel::ColFecha, "1/2/24");
        escribir(w, 1, ActividadModel::ColActividad, "Nueva");
        QCOMPARE(w.actividades->linea(1)[ActividadModel::ColFecha], QString("01/02/2024"));
        // The new-row line at the end takes a new line.
        escribir(w, 4, ActividadModel::ColFecha, "15/04/2024");
        escribir(w, 4, ActividadModel::ColCodCliente, "0A00012");
        escribir(w, 4, ActividadModel::ColActividad, "Visita");
        w.grd->setCurrentIndex(w.actividades->index(5, 0));
        w.cmdBorrarLinea->click(); // on the new-row line: nothing
        QCOMPARE(w.actividades->lineas(), 5);
        w.cmdOk->click();
        QVERIFY2(mensajes().isEmpty(), qPrintable(mensajes().join('|')));
        QCOMPARE(log("0100001"), QStringList({"10/01/2024|||A", "01/02/2024|||Nueva", "10/02/2024|||B",
                                              "10/03/2024|||C", "15/04/2024|0A00012||Visita"}));
        QVERIFY(ctx().db().scalar("SELECT min(Cod) FROM Actividades").toLongLong() > ultimo);
    }

    void pickedClientKeepsItsTextCodeAndName() {
        Lookups lookups(ctx());
        ctx().lookups = &lookups;
        ctx().db().execute("INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
                           "('0A00012', '0A', 12, 0, 'Marta Ruiz'), ('0100013', '01', 13, 1, 'Alquila')");
        ModalUser<frmConsulta> usuario([](frmConsulta* f) {
            QCOMPARE(f->grd->model()->rowCount(), 1); // the sales clients only
            f->grd->setCurrentIndex(f->grd->model()->index(0, 0));
            f->cmd[0]->click();
        });
        propiedad("0100001", 1);
        frmPropiedades w(ctx(), false);
        w.cmdEdit->click();
        escribir(w, 0, ActividadModel::ColFecha, "02/05/2024");
        const QModelIndex celda = w.actividades->index(0, ActividadModel::ColCliente);
        w.grd->setCurrentIndex(celda);
        w.grd->edit(celda);
        auto* boton = w.grd->viewport()->findChild<QToolButton*>("butCliente");
        QVERIFY(boton);
        boton->click();
        w.grd->setCurrentIndex(w.actividades->index(0, ActividadModel::ColActividad)); // leaves the cell
        QCOMPARE(lineas(w), QStringList({"02/05/2024|0A00012|Marta Ruiz|"}));
        w.cmdOk->click();
        QVERIFY2(mensajes().isEmpty(), qPrintable(mensajes().join('|')));
        QCOMPARE(log("0100001"), QStringList({"02/05/2024|0A00012|Marta Ruiz|"}));

        // A name typed over the picked one is stored as typed.
        w.cmdEdit->click();
        escribir(w, 0, ActividadModel::ColCliente, "Marta R.");
        w.cmdOk->click();
        QCOMPARE(log("0100001"), QStringList({"02/05/2024|0A00012|Marta R.|"}));
        ctx().lookups = nullptr;
    }

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
            QVERIFY2(salida.contains("PASS   : TestPropiedadesFotos::fullDiskDuringConfirmIsToldAsSuch()"),
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

QTEST_MAIN(TestPropiedadesFotos)
#include "tst_propiedades_fotos.moc"
