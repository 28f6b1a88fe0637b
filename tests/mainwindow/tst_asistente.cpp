// First start on a seat with no installation: the assistant, the installer it
// runs, and the start-up that follows on the folder it laid out.

#include "Accessibility.h"
#include "Capturas.h"
#include "ModalUser.h"
#include "PdfTexto.h"
#include "mainwindow/Arranque.h"
#include "mainwindow/frmAsistente.h"
#include "mainwindow/frmMain.h"
#include "reports/Dossier.h"
#include "shell/ConfigStore.h"
#include "shell/Installation.h"
#include "shell/WindowRegistry.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

using namespace orb;

class tst_Asistente : public QObject {
    Q_OBJECT

    QTemporaryDir datos_;
    ui::ScriptedDialogService dialogs;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<WindowRegistry> registro;
    std::unique_ptr<frmMain> w;
    QString puesto() const { return datos_.path() + "/Orbalia/"; }

    bool arrancar() {
        StartupHooks hooks;
        hooks.carpetaPrograma = QStringLiteral(ORBALIA_BINARY_DIR);
        hooks.iniciarSinEsperar = [](const QString&, const QStringList&, const QString&) { return true; };
        Arranque arranque(hooks);
        return arranque.ejecutar(*ctx, *w);
    }
    static QStringList entradas(const QString& carpeta) {
        return QDir(carpeta).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

private Q_SLOTS:
    void init() {
        qunsetenv("ORBALIA_HOME");
        qputenv("XDG_DATA_HOME", datos_.path().toLocal8Bit());
        QDir(puesto()).removeRecursively();
        dialogs.clear();
        ctx = std::make_unique<AppContext>();
        ctx->dialogs = &dialogs;
        registro = std::make_unique<WindowRegistry>();
        w = std::make_unique<frmMain>(*ctx, *registro);
    }
    void cleanup() {
        w.reset();
        ctx.reset();
    }

    // Without ORBALIA_HOME and nothing beside the executable, the seat's own folder.
    void theSeatsFolderIsTheInstallation() {
        QCOMPARE(CarpetaDelPuesto(), puesto());
        QVERIFY(!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/Orbalia.ini"));
        QCOMPARE(CarpetaInstalacion(), puesto());
        qputenv("ORBALIA_HOME", datos_.path().toLocal8Bit());
        QCOMPARE(CarpetaInstalacion(), datos_.path() + u'/');
        qunsetenv("ORBALIA_HOME");
    }

    void cancellingTheAssistantWritesNothing() {
        ModalUser<frmAsistente> usuario([](frmAsistente* a) {
            a->txt[frmAsistente::Agencia]->setText("Pisos Ana");
            a->cmdCancelar->click();
        });
        QVERIFY(!arrancar());
        QCOMPARE(usuario.vistos(), 1);
        QVERIFY(dialogs.boxes().isEmpty());
        QVERIFY(!QFileInfo::exists(puesto()));
        QCOMPARE(entradas(datos_.path()), QStringList());
        QVERIFY(!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/Orbalia.lock"));
    }

    // Refused facts are named by their field and nothing is laid out; the
    // accepted ones start the program on the new folder.
    void theAssistantsInstallationStartsTheProgram() {
        QImage azul(200, 120, QImage::Format_RGB32);
        azul.fill(Qt::blue);
        const QString logo = datos_.path() + "/logo.png";
        QVERIFY(azul.save(logo));
        dialogs.queueFile(logo);
        QStringList rechazos;
        ModalUser<frmAsistente> usuario([&](frmAsistente* a) {
            QCOMPARE(accessibilityProblems(a), QStringList());
            guardarCaptura(QStringLiteral("asistente"), a);
            a->cmdCrear->click(); // nothing typed
            a->txt[frmAsistente::Agencia]->setText("Pisos Ana");
            a->txt[frmAsistente::Oficina]->setText("0/1");
            a->cmdCrear->click();
            QCOMPARE(QApplication::focusWidget(), a->txt[frmAsistente::Oficina]);
            a->txt[frmAsistente::Oficina]->setText("A1");
            a->txt[frmAsistente::Red]->setText("A1,B.2");
            a->cmdCrear->click();
            rechazos = dialogs.texts();
            QVERIFY(!QFileInfo::exists(puesto()));
            a->txt[frmAsistente::Red]->setText("A1,B2");
            a->txt[frmAsistente::Web]->setText("PANA");
            a->txtPie->setPlainText("Pisos Ana · Calle Mayor, 3 · Soria");
            a->chkPrincipal->setChecked(false);
            a->cmdElegir[frmAsistente::Logo]->click();
            a->cmdCrear->click();
        });
        QVERIFY(arrancar());
        QCOMPARE(usuario.vistos(), 1);
        QCOMPARE(rechazos,
                 (QStringList{
                     "Nombre de la agencia: Falta el nombre de la agencia.",
                     "Código de esta oficina: El código de oficina \"0/1\" solo puede tener letras y cifras.",
                     "Oficinas de la red: El código de oficina \"B.2\" de la lista RedAgencias solo "
                     "puede tener letras y cifras.",
                 }));

        QCOMPARE(w->windowTitle(), QString("Orbalia 4.0 - Pisos Ana"));
        QCOMPARE(ctx->RutaAplicacion, puesto());
        QCOMPARE(ctx->facts.PieDossier, QString("Pisos Ana · Calle Mayor, 3 · Soria"));
        QCOMPARE(ctx->facts.CodigoOficina, QString("A1"));
        QCOMPARE(ctx->facts.OficinaPrincipal, false);
        QCOMPARE(ctx->facts.CodigoAgenciaWeb, QString("PANA"));
        QCOMPARE(ctx->facts.RedAgencias, QString("A1,B2"));
        QVERIFY(ctx->BaseDatosAgencia);
        QCOMPARE(LeerConfig(ctx->db(), "SINC", "FTPUSUARIO").toString(), QString());
        const QImage fondo = QImageReader(puesto() + "Logo800.jpg").read();
        QCOMPARE(fondo.size(), QSize(200, 120));
        QVERIFY(qBlue(fondo.pixel(100, 60)) > 240);
        QVERIFY(QImageReader(puesto() + "DossierLogo.jpg").canRead());
        // Only the installation beside the seat's data: no staging folder left.
        QCOMPARE(entradas(datos_.path()), (QStringList{"logo.png", "Orbalia"}));
        QVERIFY(!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/Orbalia.lock"));

        // Its first dossier prints the typed footer.
        ctx->db().execute(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Precio) VALUES (?, ?, ?, ?, ?)",
            {"A100001", "A1", 1, false, 150000});
        const QString pdf = reports::DossierPDF(*ctx, "A100001");
        QVERIFY2(!pdf.isEmpty(), qPrintable(dialogs.texts().join('\n')));
        QVERIFY2(pdfText(pdf).contains("Pisos Ana · Calle Mayor, 3 · Soria"), qPrintable(pdfText(pdf)));
    }

    // A folder that holds a database is never laid out anew: start-up says the file is missing.
    void aFolderWithADatabaseIsNotReinstalled() {
        QVERIFY(QDir().mkpath(puesto()));
        QFile db(puesto() + "Orbalia.db");
        QVERIFY(db.open(QIODevice::WriteOnly));
        db.write("registros");
        db.close();
        ModalUser<frmAsistente> usuario([](frmAsistente* a) { a->cmdCancelar->click(); });
        QVERIFY(!arrancar());
        QCOMPARE(usuario.vistos(), 0);
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY(dialogs.texts().first().startsWith("No se encuentra el archivo de la instalación"));
        QVERIFY(db.open(QIODevice::ReadOnly));
        QCOMPARE(db.readAll(), QByteArray("registros"));
    }
};

QTEST_MAIN(tst_Asistente)
#include "tst_asistente.moc"
