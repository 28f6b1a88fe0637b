// The photo dialog of the property window through the real dialog service:
// the pictures filter, the folder it opens in, and a confirm after it that
// survives another process on the database file.

#include "Capturas.h"
#include "TestInstallation.h"
#include "records/FotosPropiedad.h"
#include "records/frmPropiedades.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

using namespace orb;
using namespace orb::prop;

// The real file dialog; message boxes still answered by the script.
class DialogoReal : public ui::DialogService {
public:
    ui::ScriptedDialogService* guion = nullptr;
    Answer message(QWidget* parent, const Box& box) override { return guion->message(parent, box); }
    QString openFile(QWidget* parent, const QString& title, const QString& filter,
                     const QString& directory) override {
        return real_.openFile(parent, title, filter, directory);
    }
    bool choosePrinter(QWidget* parent, QPrinter& printer) override {
        return guion->choosePrinter(parent, printer);
    }
    bool signIn(QWidget* parent, const SignIn& request, QString& user, QString& password) override {
        return guion->signIn(parent, request, user, password);
    }

private:
    ui::QtDialogService real_;
};

class TestFotosDialogo : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    DialogoReal real;
    AppContext& ctx() { return inst->context(); }

    struct Visto {
        QStringList filtros;
        QString carpeta;
    };
    // Presses the button; when the real dialog is up and has listed its
    // folder (file types included), notes what it shows and then picks
    // `elegir` or cancels.
    Visto abrir(QPushButton* boton, const QString& elegir = {}) {
        Visto visto;
        QTimer::singleShot(0, [&] {
            QFileDialog* d = nullptr;
            QDeadlineTimer plazo(10000);
            while (!(d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) &&
                   !plazo.hasExpired())
                QTest::qWait(20);
            if (!d)
                return;
            visto.filtros = d->nameFilters();
            visto.carpeta = d->directory().absolutePath();
            if (auto* modelo = d->findChild<QFileSystemModel*>()) {
                const QModelIndex raiz = modelo->index(visto.carpeta);
                while (modelo->rowCount(raiz) == 0 && !plazo.hasExpired())
                    QTest::qWait(20);
            }
            QTest::qWait(300); // the type of each file is read by a worker meanwhile
            guardarCaptura(QStringLiteral("dialogo-fotos"), d);
            if (elegir.isEmpty()) {
                d->reject();
            } else {
                // Typed into the name box, as a user may.
                if (auto* nombre = d->findChild<QLineEdit*>("fileNameEdit"))
                    nombre->setText(elegir);
                static_cast<QDialog*>(d)->accept(); // QFileDialog checks the choice
                if (d->isVisible())
                    d->reject();
            }
        });
        boton->click();
        return visto;
    }
    QString imagen(const QString& ruta) {
        QImage img(320, 240, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        if (!img.save(ruta, "JPG"))
            qFatal("cannot write %s", qPrintable(ruta));
        return ruta;
    }

private slots:
    void init() {
        inst = std::make_unique<TestInstallation>();
        real.guion = &inst->dialogs();
        ctx().dialogs = &real;
        ctx().db().execute("DELETE FROM Propiedades");
        ctx().db().execute(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, Direccion, Agente) "
            "VALUES ('0100001', '01', 1, FALSE, 'En Venta', 'Calle Sol', 'Ana')");
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
    }
    void cleanup() { inst.reset(); }

    void dialogOffersPicturesAndRemembersTheFolder() {
        frmPropiedades w(ctx(), false);
        w.show();
        w.cmdEdit->click();
        const Visto primero = abrir(w.fotos->butFotoCargar[0]);
        QCOMPARE(primero.filtros, QStringList({"Imágenes (*.bmp *.jpg *.jpeg)"}));
        QVERIFY(QDir(primero.carpeta) != QDir(inst->path()));
        const QString imagenes = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        QCOMPARE(QDir(primero.carpeta), QDir(QFileInfo(imagenes).isDir() ? imagenes : QDir::homePath()));

        // The next dialog opens where the last picture came from.
        QTemporaryDir fuera;
        const QString foto = imagen(fuera.filePath("casa.jpg"));
        abrir(w.fotos->butFotoCargar[0], foto);
        QCOMPARE(w.fotos->pendiente(0), foto);
        QCOMPARE(QDir(abrir(w.fotos->butFotoCargar[1]).carpeta), QDir(fuera.path()));
        w.cmdCancel->click();
    }

    // The dialog shown on the installation folder reads Orbalia.db, -wal and
    // -shm to guess their types; the confirm after it must still reach the file.
    void confirmAfterTheDialogSurvivesAnotherProcess() {
        const QString sqlite3 = QStandardPaths::findExecutable("sqlite3");
        if (sqlite3.isEmpty())
            QSKIP("sqlite3 no está instalado (paquete sqlite3)");
        {
            frmPropiedades w(ctx(), false);
            w.show();
            w.cmdEdit->click();
            ctx().CarpetaFotosElegidas = inst->path();
            QCOMPARE(QDir(abrir(w.fotos->butFotoCargar[0]).carpeta), QDir(inst->path()));
            w.cmdCancel->click();

            QProcess otro;
            otro.start(sqlite3, {"-batch", ctx().RutaBaseDatos, "SELECT count(*) FROM sqlite_master;"});
            QVERIFY(otro.waitForFinished(30000));
            QCOMPARE(otro.exitCode(), 0);

            w.cmdEdit->click();
            w.txt[Agente]->setText("Beatriz");
            w.cmdOk->click();
            QCOMPARE(inst->dialogs().boxes().size(), 0);

            // Another process (a scheduled web export) reads what was confirmed.
            otro.start(sqlite3, {"-batch", ctx().RutaBaseDatos, "SELECT Agente FROM Propiedades;"});
            QVERIFY(otro.waitForFinished(30000));
            QCOMPARE(QString::fromUtf8(otro.readAllStandardOutput()).trimmed(), QString("Beatriz"));
        }
        const QString carpeta = inst->path();
        inst->context().BaseDatosAgencia.reset(); // the program ends
        auto fresca = db::Database::open(carpeta + "Orbalia.db", {.readOnly = true});
        QCOMPARE(fresca->scalar("SELECT Agente FROM Propiedades WHERE Cod = '0100001'").toString(),
                 QString("Beatriz"));
    }
};

QTEST_MAIN(TestFotosDialogo)
#include "tst_fotosdialogo.moc"
