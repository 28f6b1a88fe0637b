// Start-up of the program on real installation folders laid out by the
// installer: second copy, folders, captions, window, database and its version.

#include "TestInstallation.h"
#include "mainwindow/Arranque.h"
#include "mainwindow/frmMain.h"
#include "shell/ConfigStore.h"
#include "shell/DatabaseSession.h"
#include "shell/WindowRegistry.h"

#include "shell/Schema.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QProcess>
#include <QSysInfo>
#include <QToolBar>
#include <QtTest>

using Answer = ui::DialogService::Answer;
using Icon = ui::DialogService::Icon;
using Buttons = ui::DialogService::Buttons;
Q_DECLARE_METATYPE(ui::DialogService::Answer)

namespace {

struct Lanzamiento {
    QString programa;
    QStringList argumentos;
    QString carpeta;
};

const QString CarpetaPrograma = "/opt/orbalia/bin";

QString caja(const QString& titulo, Icon icono, Buttons botones, const QString& texto) {
    return QString("%1 (icon %2, buttons %3): %4").arg(titulo).arg(int(icono)).arg(int(botones)).arg(texto);
}

QStringList error(const QString& texto) {
    return {caja("Error", Icon::Critical, Buttons::Ok, texto)};
}

// One start of the program on an installation: its own context, dialogs and
// main window, with the detached start recorded instead of run.
class Inicio {
public:
    explicit Inicio(const QString& carpeta, bool registrarLanzamientos = true) {
        qputenv("ORBALIA_HOME", carpeta.toLocal8Bit());
        ctx.dialogs = &dialogs;
        w = std::make_unique<orb::frmMain>(ctx, registro);
        if (registrarLanzamientos) {
            hooks.iniciarSinEsperar = [this](const QString& p, const QStringList& a, const QString& c) {
                lanzados.append({p, a, c});
                return true;
            };
            hooks.carpetaPrograma = CarpetaPrograma;
        }
    }
    bool arrancar() {
        arranque = std::make_unique<orb::Arranque>(hooks);
        return arranque->ejecutar(ctx, *w);
    }
    // Every message box shown, as the user saw it.
    QStringList cajas() const {
        QStringList out;
        for (const auto& b : dialogs.boxes())
            out << caja(b.title, b.icon, b.buttons, b.text);
        return out;
    }

    ui::ScriptedDialogService dialogs;
    orb::AppContext ctx;
    orb::WindowRegistry registro;
    std::unique_ptr<orb::frmMain> w;
    orb::StartupHooks hooks;
    QList<Lanzamiento> lanzados;
    std::unique_ptr<orb::Arranque> arranque;
};

void ponerVersion(const QString& carpeta, int version) {
    db::Database::open(carpeta + "Orbalia.db")->setUserVersion(version);
}

// -1 while the file cannot be read (the upgrader may hold it).
int leerVersion(const QString& carpeta) {
    try {
        return db::Database::open(carpeta + "Orbalia.db")->userVersion();
    } catch (const db::DbError&) {
        return -1;
    }
}

orb::install::InstallOptions conOficina(const QString& codigo, const QString& agencia = "Inmobiliaria Sol") {
    orb::install::InstallOptions o;
    o.facts.CodigoOficina = codigo;
    o.facts.NombreAgencia = agencia;
    return o;
}

const QString PreguntaSegundaCopia =
    caja("Orbalia", Icon::Critical, Buttons::YesNo,
         "Ya se está ejecutando una copia del programa y no es recomendable que se ejecute una nueva "
         "copia.\n¿Seguro que quiere ejecutar una nueva copia del programa?");

} // namespace

class tst_Arranque : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { directorioInicial_ = QDir::currentPath(); }
    void cleanup() {
        qunsetenv("ORBALIA_HOME");
        QDir::setCurrent(directorioInicial_);
    }

    void missingDatabaseEndsWithError() {
        orb::install::InstallOptions o = conOficina("01");
        o.createDatabase = false;
        TestInstallation inst(o);
        Inicio inicio(inst.path());
        QVERIFY(!inicio.arrancar());
        QCOMPARE(inicio.cajas(),
                 error(QString("Error al abrir la base de datos [%1Orbalia.db]\nNo se encuentra el archivo "
                               "%1Orbalia.db.")
                           .arg(inst.path())));
        QVERIFY(!inicio.ctx.BaseDatosAgencia);
        QVERIFY(inicio.lanzados.isEmpty());
        QVERIFY(!QFile::exists(inst.file("Orbalia.db")));
    }

    void unusableInstallationFileEndsBeforeAnythingElse_data() {
        QTest::addColumn<QByteArray>("contenido"); // null: no file; "<dir>": a folder in its place
        QTest::addColumn<QString>("mensaje");
        const QString corregir =
            "\nCorrija la clave CodigoOficina de la sección [Instalacion] en el archivo de la "
            "instalación [%1] (por ejemplo, CodigoOficina=01).";
        const QString falta = QString("Falta el código de esta oficina.") + corregir;
        QTest::newRow("no file") << QByteArray()
                                 << QString("No se encuentra el archivo de la instalación [%1].\nCréelo "
                                            "con orbalia-install, o escriba en él la sección "
                                            "[Instalacion] con la clave CodigoOficina (el código de "
                                            "esta oficina).");
        QTest::newRow("a folder instead of the file")
            << QByteArray("<dir>")
            << QString("No se puede leer el archivo de la instalación [%1].\nCompruebe que es un "
                       "archivo de texto que el programa puede leer, con la clave CodigoOficina en la "
                       "sección [Instalacion].");
        QTest::newRow("empty file") << QByteArray("") << falta;
        QTest::newRow("no CodigoOficina")
            << QByteArray("[Instalacion]\nNombreAgencia=Inmobiliaria Sol\n") << falta;
        QTest::newRow("empty CodigoOficina")
            << QByteArray("[Instalacion]\nNombreAgencia=Inmobiliaria Sol\nCodigoOficina=\n") << falta;
        QTest::newRow("blank CodigoOficina") << QByteArray("[Instalacion]\nCodigoOficina=\"   \"\n") << falta;
        QTest::newRow("CodigoOficina in another section")
            << QByteArray("[Oficina]\nCodigoOficina=01\n") << falta;
        for (const QString codigo : {"ABCDEFGHIJK", "ÑÑÑÑÑÑÑÑÑÑÑ"}) // accents count once
            QTest::newRow(qPrintable(codigo))
                << ("[Instalacion]\nCodigoOficina=" + codigo + "\n").toUtf8()
                << QString(
                       "El código de oficina \"%1\" tiene 11 caracteres y el campo Agencia admite 10 como "
                       "máximo.")
                           .arg(codigo) +
                       corregir;
        // An office code names a folder of Exchange/ that the exchange empties:
        // "..", a slash or a blank would lead it out.
        for (const QString codigo : {"..", "0/1", "01 02", "1'"})
            QTest::newRow(qPrintable("CodigoOficina=" + codigo))
                << ("[Instalacion]\nCodigoOficina=\"" + codigo + "\"\n").toUtf8()
                << QString("El código de oficina \"%1\" solo puede tener letras y cifras.").arg(codigo) +
                       corregir;
        const QString red = "\nCorrija la clave RedAgencias de la sección [Instalacion] en el archivo de la "
                            "instalación [%1]: los códigos de las oficinas separados por comas, el de la "
                            "principal primero (por ejemplo, RedAgencias=01,02).";
        QTest::newRow("RedAgencias=01,..")
            << QByteArray("[Instalacion]\nCodigoOficina=01\nRedAgencias=\"01,..\"\n")
            << "El código de oficina \"..\" de la lista RedAgencias solo puede tener letras y cifras." + red;
        QTest::newRow("RedAgencias of one character each")
            << QByteArray("[Instalacion]\nCodigoOficina=1\nRedAgencias=1.\n")
            << "El código de oficina \".\" de la lista RedAgencias solo puede tener letras y cifras." + red;
        QTest::newRow("RedAgencias too wide")
            << QByteArray("[Instalacion]\nCodigoOficina=01\nRedAgencias=\"01;ABCDEFGHIJK\"\n")
            << "El código de oficina \"ABCDEFGHIJK\" de la lista RedAgencias tiene 11 caracteres y el campo "
               "Agencia admite 10 como máximo." +
                   red;
    }
    void unusableInstallationFileEndsBeforeAnythingElse() {
        QFETCH(QByteArray, contenido);
        QFETCH(QString, mensaje);
        TestInstallation inst(conOficina("01"));
        const QString ini = inst.file("Orbalia.ini");
        QVERIFY(QFile::remove(ini));
        if (contenido == "<dir>") {
            QVERIFY(QDir().mkdir(ini));
        } else if (!contenido.isNull()) {
            QFile f(ini);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(contenido) == contenido.size());
        }
        // Start-up must stop before it makes anything of the installation.
        QVERIFY(QDir(inst.file("Web")).removeRecursively());

        Inicio inicio(inst.path());
        QVERIFY(!inicio.arrancar());
        QCOMPARE(inicio.cajas(), error(mensaje.arg(ini)));
        QVERIFY(!inicio.ctx.BaseDatosAgencia);
        QVERIFY(inicio.ctx.RutaBaseDatos.isEmpty());
        QVERIFY(inicio.lanzados.isEmpty());
        QVERIFY(!QFileInfo::exists(inst.file("Web")));
        QVERIFY(!inicio.w->isVisible());
        QCOMPARE(inicio.w->windowTitle(), "Orbalia 4.0");
    }

    void outdatedDatabaseStartsUpgrader_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("oficina");
        QTest::addColumn<QStringList>("argumentos");
        QTest::newRow("0: no version yet") << 0 << "01" << QStringList();
        QTest::newRow("5 with office 01") << 5 << "01" << QStringList{"0100000"};
        QTest::newRow("5 with a ten-character office") << 5 << "ABCDEFGHIJ" << QStringList{"ABCDEFGHIJ00000"};
        QTest::newRow("9") << 9 << "01" << QStringList();
        QTest::newRow("10") << 10 << "01" << QStringList();
        QTest::newRow("the previous one") << orb::schema::CurrentVersion - 1 << "01" << QStringList();
    }
    void outdatedDatabaseStartsUpgrader() {
        QFETCH(int, version);
        QFETCH(QString, oficina);
        QFETCH(QStringList, argumentos);
        TestInstallation inst(conOficina(oficina));
        ponerVersion(inst.path(), version);
        Inicio inicio(inst.path());
        QVERIFY(!inicio.arrancar());
        QCOMPARE(inicio.cajas(),
                 QStringList{caja("Actualización de base de datos", Icon::Information, Buttons::Ok,
                                  QString("La base de datos encontrada está en la versión %1 "
                                          "cuando es necesario que esté en la versión %2.\n\nA "
                                          "continuación se procederá a su actualización.")
                                      .arg(version)
                                      .arg(orb::VersionRequerida))});
        QCOMPARE(inicio.lanzados.size(), 1);
        const Lanzamiento& l = inicio.lanzados.first();
        QCOMPARE(l.programa, CarpetaPrograma + "/orbalia-updatedb");
        QCOMPARE(l.argumentos, argumentos);
        QCOMPARE(QDir(l.carpeta).canonicalPath(), QDir(inst.path()).canonicalPath());
        // The database is closed for the upgrader and left as found.
        QVERIFY(!inicio.ctx.BaseDatosAgencia);
        QCOMPARE(leerVersion(inst.path()), version);
    }

    void realUpgraderNextToTheProgramBringsTheNextStartThrough() {
        TestInstallation inst(conOficina("01"));
        ponerVersion(inst.path(), 9);
        {
            // Nothing where the program is: only the information message.
            QTemporaryDir vacia;
            Inicio inicio(inst.path(), false);
            inicio.hooks.carpetaPrograma = vacia.path();
            QVERIFY(!inicio.arrancar());
            QCOMPARE(inicio.dialogs.boxes().size(), 1);
        }
        {
            // The test runs from the build folder, where the real upgrader is built.
            Inicio primero(inst.path(), false);
            QVERIFY(!primero.arrancar());
        }
        QTRY_COMPARE_WITH_TIMEOUT(leerVersion(inst.path()), orb::VersionRequerida, 60000);
        Inicio segundo(inst.path());
        QVERIFY(segundo.arrancar());
        QVERIFY(segundo.dialogs.boxes().isEmpty());
        QCOMPARE(segundo.ctx.VersionBD, orb::VersionRequerida);
    }

    void currentDatabaseStarts_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("addAgain");
        QTest::addColumn<bool>("esperado");
        const int actual = orb::VersionRequerida;
        QTest::newRow("current, never set") << actual << QString() << false;
        QTest::newRow("current, ADDAGAIN 1") << actual << "1" << true;
        QTest::newRow("newer, ADDAGAIN 0") << actual + 1 << "0" << false;
        QTest::newRow("newer, ADDAGAIN 1") << actual + 1 << "1" << true;
        QTest::newRow("current, ADDAGAIN not a number") << actual << "sí" << false;
    }
    void currentDatabaseStarts() {
        QFETCH(int, version);
        QFETCH(QString, addAgain);
        QFETCH(bool, esperado);
        TestInstallation inst(conOficina("02", "Costa Inmuebles"));
        ponerVersion(inst.path(), version);
        if (!addAgain.isNull())
            orb::GuardarConfig(*db::Database::open(inst.file("Orbalia.db")), "GENERAL", "ADDAGAIN", addAgain);
        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());

        QVERIFY(inicio.dialogs.boxes().isEmpty());
        QVERIFY(inicio.lanzados.isEmpty());
        QCOMPARE(inicio.ctx.AddAgainConfig, esperado);
        QCOMPARE(inicio.ctx.VersionBD, version);
        QVERIFY(inicio.ctx.BaseDatosAgencia);
        QCOMPARE(inicio.ctx.facts.CodigoOficina, "02");
        QCOMPARE(inicio.ctx.RutaFotos, inst.path() + "Fotos/");
        QCOMPARE(inicio.ctx.RutaBaseDatos, inst.path() + "Orbalia.db");
        QCOMPARE(QDir::current().canonicalPath(), QDir(inst.path()).canonicalPath());
        QCOMPARE(inicio.w->windowTitle(), "Orbalia 4.0 - Costa Inmuebles");
        QCOMPARE(inicio.w->size(), QSize(800, 600));
        // The logo is the background.
        QCOMPARE(inicio.w->fondo().size(), QImage(inst.file("Logo800.jpg")).size());
        QVERIFY(!inicio.w->fondo().isNull());
    }

    void foldersAreCreatedAndKept() {
        TestInstallation inst(conOficina("01"));
        QVERIFY(QDir(inst.file("Web")).removeRecursively());
        QVERIFY(QDir(inst.file("Exchange")).removeRecursively());
        QVERIFY(QFile::remove(inst.file("Logo800.jpg"))); // then no background either
        QFile foto(inst.file("Fotos/0100001_1.jpg"));
        QVERIFY(foto.open(QIODevice::WriteOnly) && foto.write("jpeg") == 4);
        foto.close();
        // A file where a folder should be: the folder cannot be made.
        QFile estorbo(inst.file("Web"));
        QVERIFY(estorbo.open(QIODevice::WriteOnly));
        estorbo.close();
        {
            Inicio inicio(inst.path());
            QVERIFY(!inicio.arrancar());
            QCOMPARE(inicio.cajas(),
                     error(QString("No se ha podido crear la carpeta [%1Web/]").arg(inst.path())));
            QVERIFY(!inicio.ctx.BaseDatosAgencia);
        }

        QVERIFY(estorbo.remove());
        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());
        for (const char* carpeta : {"Fotos", "Web", "Exchange"})
            QVERIFY2(QFileInfo(inst.file(QString::fromLatin1(carpeta))).isDir(), carpeta);
        QVERIFY(foto.open(QIODevice::ReadOnly));
        QCOMPARE(foto.readAll(), QByteArray("jpeg"));
        QVERIFY(inicio.dialogs.boxes().isEmpty());
        QCOMPARE(inicio.w->fondo().size(), QSize(0, 0));
    }

    void secondCopy_data() {
        QTest::addColumn<Answer>("respuesta");
        QTest::addColumn<bool>("sinIni"); // the installation file removed after the first start
        QTest::newRow("answered No") << Answer::No << false;
        QTest::newRow("answered Yes") << Answer::Yes << false;
        QTest::newRow("no file, answered No: only the question") << Answer::No << true;
        QTest::newRow("no file, answered Yes: then the missing file") << Answer::Yes << true;
    }
    void secondCopy() {
        QFETCH(Answer, respuesta);
        QFETCH(bool, sinIni);
        const bool arranca = respuesta == Answer::Yes && !sinIni;
        TestInstallation inst(conOficina("01", "Inmobiliaria Sol"));
        Inicio primera(inst.path());
        QVERIFY(primera.arrancar());
        QVERIFY(primera.dialogs.boxes().isEmpty());
        if (sinIni)
            QVERIFY(QFile::remove(inst.file("Orbalia.ini")));
        {
            Inicio segunda(inst.path());
            segunda.dialogs.queueAnswer(respuesta);
            QCOMPARE(segunda.arrancar(), arranca);
            // The installation file is read only once the user chose to go on.
            const QStringList vistas = segunda.cajas();
            QCOMPARE(vistas.value(0), PreguntaSegundaCopia);
            QCOMPARE(vistas.size(), sinIni && respuesta == Answer::Yes ? 2 : 1);
            if (vistas.size() == 2)
                QVERIFY2(vistas[1].startsWith(error("No se encuentra el archivo de la instalación [%1]")
                                                  .first()
                                                  .arg(inst.file("Orbalia.ini"))),
                         qPrintable(vistas[1]));
            QCOMPARE(segunda.dialogs.boxes().first().defaultButton, Answer::No);
            QVERIFY(!segunda.arranque->tieneBloqueo());
            QCOMPARE(segunda.w->windowTitle(),
                     arranca ? QString("Orbalia 4.0 - Inmobiliaria Sol") : QString("Orbalia 4.0"));
            // Both copies work on the same database file.
            QCOMPARE(segunda.ctx.RutaBaseDatos, arranca ? inst.file("Orbalia.db") : QString());
        }
        // The first copy holds the lock until it ends.
        primera.arranque.reset();
        QLockFile despues(inst.file("Orbalia.lock"));
        QVERIFY(despues.tryLock(0));
    }

    void lockOfACrashedCopyIsIgnored() {
        TestInstallation inst(conOficina("01"));
        // A lock left behind by a process that no longer runs.
        QProcess muerto;
        muerto.start("true", {});
        QVERIFY(muerto.waitForStarted());
        const qint64 pid = muerto.processId();
        QVERIFY(muerto.waitForFinished());
        QFile lock(inst.file("Orbalia.lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid) + "\norbalia\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();

        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());
        QVERIFY(inicio.dialogs.boxes().isEmpty());
        QVERIFY(inicio.arranque->tieneBloqueo());
    }

    void captionsAfterStartup() {
        TestInstallation inst(conOficina("01"));
        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());
        // The status bar tells, all day, which office this seat works as.
        QVERIFY2(inicio.w->lblOficina()->text().startsWith("Oficina 01"),
                 qPrintable(inicio.w->lblOficina()->text()));
        // Each menu's title and visible items in order ("" for a separator), then the toolbar's tooltips.
        QList<QStringList> vistos;
        for (int m = 0; m < 4; ++m) {
            vistos << QStringList{inicio.w->mnuMain(m)->title()};
            for (QAction* a : inicio.w->mnuMain(m)->actions())
                if (a->isVisible())
                    vistos.last() << a->text();
        }
        vistos << QStringList();
        for (QAction* a : inicio.w->tb()->actions())
            if (!a->isSeparator() && a->isVisible())
                vistos.last() << a->toolTip();
        const QList<QStringList> esperados = {
            {"&Archivos", "Propiedades en &Venta", "Propiedades en &Alquiler", "&Clientes de Ventas",
             "Clientes de Al&quileres", "&Propietarios de Ventas", "Propietarios de Alquile&res", "&Tipos",
             "&Localidades", "Ar&eas", "A&gentes", "", "&Salir"},
            {"&Listados", "Listado de Clientes de &Ventas", "Listado de Clientes de &Alquileres",
             "Listado de &Propietarios de Ventas", "Listado de Propietarios de Al&quileres",
             "Listado de &Localidades/Areas", "Listado de &Tipos"},
            {"&Herramientas", "Búsqueda de &Ventas", "Búsqueda de &Alquileres",
             "Búsqueda de Clie&ntes de Ventas", "Búsqueda de Clientes de Al&quileres",
             "Búsqueda de &Propietarios de Ventas", "Búsqueda de Propietarios de Alquile&res", "",
             "Exportación al &Web", "Exportación a por&tales", "", "Exportación &Oficina",
             "&Importación Oficina", "", "&Configuración"},
            {"Ay&uda", "&Acerca de"},
            {"Propiedades en Venta", "Propiedades en Alquiler", "Clientes de Ventas",
             "Clientes de Alquileres", "Propietarios de Ventas", "Propietarios de Alquileres",
             "Búsqueda de Ventas", "Búsqueda de Alquileres", "Búsqueda de Clientes de Ventas",
             "Busqueda de Clientes de Alquileres", "Búsqueda de Propietarios",
             "Búsqueda de Propietarios de Alquiler", "Salir"}};
        QCOMPARE(vistos, esperados);
    }

private:
    QString directorioInicial_;
};

QTEST_MAIN(tst_Arranque)
#include "tst_arranque.moc"
