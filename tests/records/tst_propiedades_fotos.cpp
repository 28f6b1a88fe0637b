// Photographs and activity log of the property window as a user edits them:
// pictures shown, copied on confirm, removed and replaced; log lines written.

#include "FotosPropiedadPrueba.h"
#include "ModalUser.h"
#include "TestServers.h"
#include "records/ActividadModel.h"
#include "search/Lookups.h"
#include "search/frmConsulta.h"
#include "shell/ConfigStore.h"

#include <QPushButton>
#include <QTableView>

using namespace prueba;

class TestPropiedadesFotos : public QObject, protected FotosPropiedadPrueba {
    Q_OBJECT

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() { preparar(); }
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
        ctx().db().execute(
            "INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Nombre) VALUES "
            "('0A00012', '0A', 12, FALSE, 'Marta Ruiz'), ('0100013', '01', 13, TRUE, 'Alquila')");
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
};

QTEST_MAIN(TestPropiedadesFotos)
#include "tst_propiedades_fotos.moc"
