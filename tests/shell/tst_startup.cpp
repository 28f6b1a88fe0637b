// Start-up of the program on real installation folders laid out by the
// installer: second copy, folders, captions, window, database and its version.

#include "TestInstallation.h"
#include "shell/ConfigStore.h"
#include "shell/Startup.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLockFile>
#include <QMenu>
#include <QProcess>
#include <QSysInfo>
#include <QToolBar>
#include <QtTest>

using orb::Arranque;
using orb::StartupHooks;
using Box = ui::DialogService::Box;
using Answer = ui::DialogService::Answer;
Q_DECLARE_METATYPE(ui::DialogService::Answer)

namespace {

struct Lanzamiento {
    QString programa;
    QStringList argumentos;
    QString carpeta;
};

const QString CarpetaPrograma = QStringLiteral("/opt/orbalia/bin");

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
        arranque = std::make_unique<Arranque>(hooks);
        return arranque->ejecutar(ctx, *w);
    }

    ui::ScriptedDialogService dialogs;
    orb::AppContext ctx;
    orb::WindowRegistry registro;
    std::unique_ptr<orb::frmMain> w;
    StartupHooks hooks;
    QList<Lanzamiento> lanzados;
    std::unique_ptr<Arranque> arranque;
};

void ponerVersion(const QString& rutaBd, int version) {
    auto database = db::Database::open(rutaBd);
    database->setUserVersion(version);
}

// -1 while the file cannot be read (the upgrader may hold it).
int leerVersion(const QString& rutaBd) {
    try {
        return db::Database::open(rutaBd)->userVersion();
    } catch (const db::DbError&) {
        return -1;
    }
}

orb::install::InstallOptions conOficina(const QString& codigo,
                                        const QString& agencia = QStringLiteral("Inmobiliaria Sol")) {
    orb::install::InstallOptions o;
    o.facts.CodigoOficina = codigo;
    o.facts.NombreAgencia = agencia;
    return o;
}

const QString PreguntaSegundaCopia = QStringLiteral(
    "Ya se está ejecutando una copia del programa y no es recomendable que se ejecute una nueva "
    "copia.\n¿Seguro que quiere ejecutar una nueva copia del programa?");

} // namespace

class tst_Startup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { directorioInicial_ = QDir::currentPath(); }
    void cleanup() {
        qunsetenv("ORBALIA_HOME");
        QDir::setCurrent(directorioInicial_);
    }

    void missingDatabaseEndsWithError() {
        orb::install::InstallOptions o;
        o.createDatabase = false;
        TestInstallation inst(o);
        Inicio inicio(inst.path());

        QVERIFY(!inicio.arrancar());
        QCOMPARE(inicio.dialogs.boxes().size(), 1);
        const Box& b = inicio.dialogs.boxes().first();
        QCOMPARE(b.text, QStringLiteral("Error al abrir la base de datos [") + inst.path() +
                             QStringLiteral("Orbalia.db]"));
        QCOMPARE(b.title, QStringLiteral("Error"));
        QCOMPARE(b.icon, ui::DialogService::Icon::Critical);
        QCOMPARE(b.buttons, ui::DialogService::Buttons::Ok);
        QVERIFY(!inicio.ctx.BaseDatosAgencia);
        QVERIFY(inicio.lanzados.isEmpty());
        QVERIFY(!QFile::exists(inst.file(QStringLiteral("Orbalia.db"))));
    }

    void outdatedDatabaseStartsUpgrader_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("oficina");
        QTest::addColumn<QStringList>("argumentos");
        QTest::newRow("0: no version yet") << 0 << "01" << QStringList();
        QTest::newRow("5 with office 01") << 5 << "01" << QStringList{QStringLiteral("0100000")};
        QTest::newRow("5 with empty office") << 5 << "" << QStringList{QStringLiteral("00000")};
        QTest::newRow("9") << 9 << "01" << QStringList();
    }
    void outdatedDatabaseStartsUpgrader() {
        QFETCH(int, version);
        QFETCH(QString, oficina);
        QFETCH(QStringList, argumentos);
        TestInstallation inst(conOficina(oficina));
        ponerVersion(inst.file(QStringLiteral("Orbalia.db")), version);
        Inicio inicio(inst.path());

        QVERIFY(!inicio.arrancar());

        QCOMPARE(inicio.dialogs.boxes().size(), 1);
        const Box& b = inicio.dialogs.boxes().first();
        QCOMPARE(b.text,
                 QStringLiteral("La base de datos encontrada está en la versión %1 cuando es necesario que "
                                "esté en la versión 10.\n\nA continuación se procederá a su actualización.")
                     .arg(version));
        QCOMPARE(b.title, QStringLiteral("Actualización de base de datos"));
        QCOMPARE(b.icon, ui::DialogService::Icon::Information);
        QCOMPARE(b.buttons, ui::DialogService::Buttons::Ok);

        QCOMPARE(inicio.lanzados.size(), 1);
        const Lanzamiento& l = inicio.lanzados.first();
        QCOMPARE(l.programa, CarpetaPrograma + QStringLiteral("/orbalia-updatedb"));
        QCOMPARE(l.argumentos, argumentos);
        QCOMPARE(QDir(l.carpeta).canonicalPath(), QDir(inst.path()).canonicalPath());

        // The database is closed for the upgrader and left as found.
        QVERIFY(!inicio.ctx.BaseDatosAgencia);
        QCOMPARE(leerVersion(inst.file(QStringLiteral("Orbalia.db"))), version);
    }

    void upgraderIsLookedUpNextToTheProgram() {
        TestInstallation inst;
        ponerVersion(inst.file(QStringLiteral("Orbalia.db")), 9);
        Inicio inicio(inst.path());
        inicio.hooks.carpetaPrograma.clear();

        QVERIFY(!inicio.arrancar());
        QCOMPARE(inicio.lanzados.size(), 1);
        // The test runs from the build folder, where the real upgrader is built.
        const QFileInfo programa(inicio.lanzados.first().programa);
        QCOMPARE(programa.fileName(), QStringLiteral("orbalia-updatedb"));
        QVERIFY2(programa.isFile() && programa.isExecutable(), qPrintable(programa.filePath()));
        QVERIFY(!programa.absolutePath().startsWith(QDir(inst.path()).absolutePath()));
    }

    void missingUpgraderIsIgnored() {
        TestInstallation inst;
        ponerVersion(inst.file(QStringLiteral("Orbalia.db")), 9);
        QTemporaryDir vacia;
        Inicio inicio(inst.path(), false);
        inicio.hooks.carpetaPrograma = vacia.path();

        QVERIFY(!inicio.arrancar());
        // Only the information message; the failed start is not reported.
        QCOMPARE(inicio.dialogs.boxes().size(), 1);
        QCOMPARE(inicio.dialogs.boxes().first().title, QStringLiteral("Actualización de base de datos"));
    }

    void realUpgraderBringsTheNextStartThrough() {
        TestInstallation inst(conOficina(QStringLiteral("01")));
        ponerVersion(inst.file(QStringLiteral("Orbalia.db")), 9);
        {
            Inicio primero(inst.path(), false);
            QVERIFY(!primero.arrancar());
        }
        QTRY_COMPARE_WITH_TIMEOUT(leerVersion(inst.file(QStringLiteral("Orbalia.db"))), 10, 60000);

        Inicio segundo(inst.path());
        QVERIFY(segundo.arrancar());
        QVERIFY(segundo.dialogs.boxes().isEmpty());
        QCOMPARE(segundo.ctx.VersionBD, 10);
    }

    void currentDatabaseStarts_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("addAgain");
        QTest::addColumn<bool>("esperado");
        QTest::newRow("10, never set") << 10 << QString() << false;
        QTest::newRow("10, ADDAGAIN 1") << 10 << "1" << true;
        QTest::newRow("11, ADDAGAIN 0") << 11 << "0" << false;
        QTest::newRow("11, ADDAGAIN 1") << 11 << "1" << true;
        QTest::newRow("10, ADDAGAIN not a number") << 10 << "sí" << false;
    }
    void currentDatabaseStarts() {
        QFETCH(int, version);
        QFETCH(QString, addAgain);
        QFETCH(bool, esperado);
        TestInstallation inst(conOficina(QStringLiteral("02"), QStringLiteral("Costa Inmuebles")));
        {
            auto database = db::Database::open(inst.file(QStringLiteral("Orbalia.db")));
            database->setUserVersion(version);
            if (!addAgain.isNull())
                orb::GuardarConfig(*database, QStringLiteral("GENERAL"), QStringLiteral("ADDAGAIN"),
                                   addAgain);
        }
        Inicio inicio(inst.path());

        QVERIFY(inicio.arrancar());

        QVERIFY(inicio.dialogs.boxes().isEmpty());
        QVERIFY(inicio.lanzados.isEmpty());
        QCOMPARE(inicio.ctx.AddAgainConfig, esperado);
        QCOMPARE(inicio.ctx.VersionBD, version);
        QVERIFY(inicio.ctx.BaseDatosAgencia);
        QCOMPARE(inicio.ctx.facts.NombreAgencia, QStringLiteral("Costa Inmuebles"));
        QCOMPARE(inicio.ctx.facts.CodigoOficina, QStringLiteral("02"));
        QCOMPARE(inicio.ctx.RutaAplicacion, inst.path());
        QCOMPARE(inicio.ctx.RutaFotos, inst.path() + QStringLiteral("Fotos/"));
        QCOMPARE(inicio.ctx.RutaWeb, inst.path() + QStringLiteral("Web/"));
        QCOMPARE(inicio.ctx.RutaExchange, inst.path() + QStringLiteral("Exchange/"));
        QCOMPARE(inicio.ctx.RutaBaseDatos, inst.path() + QStringLiteral("Orbalia.db"));
        QCOMPARE(QDir::current().canonicalPath(), QDir(inst.path()).canonicalPath());
        QCOMPARE(inicio.w->windowTitle(), QStringLiteral("Orbalia 4.0 - Costa Inmuebles"));
        QCOMPARE(inicio.w->size(), QSize(800, 600));
        // The setting is read once and stays stored.
        QCOMPARE(inicio.ctx.db()
                     .scalar(QStringLiteral("select count(*) from Config where Grupo='GENERAL' and "
                                            "Variable='ADDAGAIN'"))
                     .toInt(),
                 1);
    }

    void foldersAreCreatedAndKept() {
        TestInstallation inst;
        // A first start in a folder without them; Fotos already holds a photograph.
        QVERIFY(QDir(inst.file(QStringLiteral("Web"))).removeRecursively());
        QVERIFY(QDir(inst.file(QStringLiteral("Exchange"))).removeRecursively());
        QFile foto(inst.file(QStringLiteral("Fotos/0100001_1.jpg")));
        QVERIFY(foto.open(QIODevice::WriteOnly));
        foto.write("jpeg");
        foto.close();

        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());

        for (const char* carpeta : {"Fotos", "Web", "Exchange"})
            QVERIFY2(QFileInfo(inst.file(QString::fromLatin1(carpeta))).isDir(), carpeta);
        QFile guardada(inst.file(QStringLiteral("Fotos/0100001_1.jpg")));
        QVERIFY(guardada.open(QIODevice::ReadOnly));
        QCOMPARE(guardada.readAll(), QByteArray("jpeg"));
    }

    void folderThatCannotBeCreatedEnds() {
        TestInstallation inst;
        // A file where the folder should be: the folder cannot be made.
        QVERIFY(QDir(inst.file(QStringLiteral("Web"))).removeRecursively());
        QFile estorbo(inst.file(QStringLiteral("Web")));
        QVERIFY(estorbo.open(QIODevice::WriteOnly));
        estorbo.close();

        Inicio inicio(inst.path());
        QVERIFY(!inicio.arrancar());
        QCOMPARE(inicio.dialogs.boxes().size(), 1);
        const Box& b = inicio.dialogs.boxes().first();
        QCOMPARE(b.text, QStringLiteral("No se ha podido crear la carpeta [") + inst.path() +
                             QStringLiteral("Web/]"));
        QCOMPARE(b.title, QStringLiteral("Error"));
        QVERIFY(!inicio.ctx.BaseDatosAgencia);
    }

    void secondCopy_data() {
        QTest::addColumn<Answer>("respuesta");
        QTest::addColumn<bool>("arranca");
        QTest::newRow("answered No") << Answer::No << false;
        QTest::newRow("answered Yes") << Answer::Yes << true;
    }
    void secondCopy() {
        QFETCH(Answer, respuesta);
        QFETCH(bool, arranca);
        TestInstallation inst(conOficina(QStringLiteral("01"), QStringLiteral("Inmobiliaria Sol")));
        QLockFile primeraCopia(inst.file(QStringLiteral("Orbalia.lock")));
        QVERIFY(primeraCopia.tryLock(0));

        Inicio inicio(inst.path());
        inicio.dialogs.queueAnswer(respuesta);
        QCOMPARE(inicio.arrancar(), arranca);

        QVERIFY(!inicio.dialogs.boxes().isEmpty());
        const Box& b = inicio.dialogs.boxes().first();
        QCOMPARE(b.text, PreguntaSegundaCopia);
        QCOMPARE(b.title, QStringLiteral("Orbalia"));
        QCOMPARE(b.buttons, ui::DialogService::Buttons::YesNo);
        QCOMPARE(b.defaultButton, Answer::No);
        QCOMPARE(b.icon, ui::DialogService::Icon::Critical);
        QCOMPARE(inicio.dialogs.boxes().size(), 1);
        QVERIFY(!inicio.arranque->tieneBloqueo());
        if (arranca) {
            // Both copies share the same database file.
            QCOMPARE(inicio.ctx.RutaBaseDatos, inst.path() + QStringLiteral("Orbalia.db"));
            QCOMPARE(inicio.w->windowTitle(), QStringLiteral("Orbalia 4.0 - Inmobiliaria Sol"));
        } else {
            QVERIFY(!inicio.ctx.BaseDatosAgencia);
            QCOMPARE(inicio.w->windowTitle(), QStringLiteral("Orbalia 4.0"));
        }
    }

    void firstCopyHoldsTheLockUntilItEnds() {
        TestInstallation inst;
        Inicio primera(inst.path());
        QVERIFY(primera.arrancar());
        QVERIFY(primera.dialogs.boxes().isEmpty());
        QVERIFY(primera.arranque->tieneBloqueo());

        {
            Inicio segunda(inst.path());
            QVERIFY(!segunda.arrancar()); // the scripted default answer is No
            QCOMPARE(segunda.dialogs.texts(), QStringList{PreguntaSegundaCopia});
        }

        primera.arranque.reset();
        QLockFile despues(inst.file(QStringLiteral("Orbalia.lock")));
        QVERIFY(despues.tryLock(0));
    }

    void lockOfACrashedCopyIsIgnored() {
        TestInstallation inst;
        // A lock left behind by a process that no longer runs.
        QProcess muerto;
        muerto.start(QStringLiteral("true"), {});
        QVERIFY(muerto.waitForStarted());
        const qint64 pid = muerto.processId();
        QVERIFY(muerto.waitForFinished());
        QFile lock(inst.file(QStringLiteral("Orbalia.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid) + "\norbalia\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();

        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());
        QVERIFY(inicio.dialogs.boxes().isEmpty());
        QVERIFY(inicio.arranque->tieneBloqueo());
    }

    void captionsAfterStartup_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("texto");
        const QList<QPair<QString, QString>> menus = {
            {"mnuMain(0)", "&Archivos"},
            {"mnuMain(1)", "&Listados"},
            {"mnuMain(2)", "&Herramientas"},
            {"mnuMain(3)", "Ay&uda"},
            {"mnuArchivo(0)", "Propiedades en &Venta"},
            {"mnuArchivo(1)", "Propiedades en &Alquiler"},
            {"mnuArchivo(2)", "Clientes de &Ventas"},
            {"mnuArchivo(3)", "Clientes de &Alquileres"},
            {"mnuArchivo(4)", "Propietarios de &Ventas"},
            {"mnuArchivo(5)", "Propietarios de &Alquileres"},
            {"mnuArchivo(6)", "&Tipos"},
            {"mnuArchivo(7)", "&Localidades"},
            {"mnuArchivo(8)", "&Areas"},
            {"mnuArchivo(10)", "&Salir"},
            {"mnuLis(0)", "Listado de Clientes de &Ventas"},
            {"mnuLis(1)", "Listado de Clientes de &Alquileres"},
            {"mnuLis(2)", "Listado de Propietarios de &Ventas"},
            {"mnuLis(3)", "Listado de Propietarios de &Alquileres"},
            {"mnuLis(4)", "Listado de &Localidades/Areas"},
            {"mnuLis(5)", "Listado de &Tipos"},
            {"mnuTool(0)", "Búsqueda de &Ventas"},
            {"mnuTool(1)", "Búsqueda de &Alquileres"},
            {"mnuTool(2)", "Búsqueda de Clientes de &Ventas"},
            {"mnuTool(3)", "Búsqueda de Clientes de Alquileres"},
            {"mnuTool(4)", "Búsqueda de Propietarios de &Ventas"},
            {"mnuTool(5)", "Búsqueda de Propietarios de Alquileres"},
            {"mnuTool(7)", "Exportación al &Web"},
            {"mnuTool(9)", "Exportación Oficina"},
            {"mnuTool(10)", "Importación Oficina"},
            {"mnuTool(12)", "&Configuración"},
            {"mnuAyu(0)", "&Acerca de"},
        };
        for (const auto& [nombre, texto] : menus)
            QTest::newRow(qPrintable(nombre)) << nombre << texto;
        const QList<QPair<QString, QString>> botones = {
            {"propiedades", "Propiedades en Venta"},
            {"propiedadesalquiler", "Propiedades en Alquiler"},
            {"clientes", "Clientes de Ventas"},
            {"clientesalquiler", "Clientes de Alquileres"},
            {"propietarios", "Propietarios de Ventas"},
            {"propietariosalquiler", "Propietarios de Alquileres"},
            {"busqueda", "Búsqueda de Ventas"},
            {"busquedaalquiler", "Búsqueda de Alquileres"},
            {"busquedaclientes", "Búsqueda de Clientes de Ventas"},
            {"busquedaclientesalquiler", "Busqueda de Clientes de Alquileres"},
            {"busquedapropietarios", "Búsqueda de Propietarios"},
            {"busquedapropietariosalquiler", "Búsqueda de Propietarios de Alquiler"},
            {"salir", "Salir"},
        };
        for (const auto& [key, tooltip] : botones)
            QTest::newRow(qPrintable(QStringLiteral("tb ") + key)) << QStringLiteral("tb/") + key << tooltip;
    }
    void captionsAfterStartup() {
        QFETCH(QString, nombre);
        QFETCH(QString, texto);
        TestInstallation inst;
        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());

        if (nombre.startsWith(QLatin1String("tb/"))) {
            QAction* boton = inicio.w->tbBoton(nombre.mid(3));
            QVERIFY(boton);
            QVERIFY(inicio.w->tb()->actions().contains(boton));
            QCOMPARE(boton->toolTip(), texto);
            QVERIFY(boton->isVisible());
        } else {
            QAction* item = nullptr;
            for (QAction* a : inicio.w->findChildren<QAction*>(nombre))
                item = a;
            QVERIFY2(item, qPrintable(nombre));
            QCOMPARE(item->text(), texto);
            QVERIFY(item->isVisible());
        }
    }

    void logoIsTheBackground() {
        TestInstallation inst;
        const QImage logo(inst.file(QStringLiteral("Logo800.jpg")));
        QVERIFY(!logo.isNull());
        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());
        QCOMPARE(inicio.w->fondo().size(), logo.size());
    }

    void missingLogoIsIgnored() {
        TestInstallation inst;
        QVERIFY(QFile::remove(inst.file(QStringLiteral("Logo800.jpg"))));
        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());
        QVERIFY(inicio.dialogs.boxes().isEmpty());
        QVERIFY(inicio.w->fondo().isNull());
    }

private:
    QString directorioInicial_;
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
