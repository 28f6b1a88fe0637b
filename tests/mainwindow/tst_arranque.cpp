// Start-up of the program on real installation folders laid out by the
// installer: second copy, folders, captions, window, database and its version.

#include "TestInstallation.h"
#include "mainwindow/Arranque.h"
#include "mainwindow/frmMain.h"
#include "shell/ConfigStore.h"
#include "shell/WindowRegistry.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLockFile>
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

const QString CarpetaPrograma = QStringLiteral("/opt/orbalia/bin");

QString caja(const QString& titulo, Icon icono, Buttons botones, const QString& texto) {
    return QStringLiteral("%1 (icon %2, buttons %3): %4")
        .arg(titulo)
        .arg(int(icono))
        .arg(int(botones))
        .arg(texto);
}

QStringList error(const QString& texto) {
    return {caja(QStringLiteral("Error"), Icon::Critical, Buttons::Ok, texto)};
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
    db::Database::open(carpeta + QStringLiteral("Orbalia.db"))->setUserVersion(version);
}

// -1 while the file cannot be read (the upgrader may hold it).
int leerVersion(const QString& carpeta) {
    try {
        return db::Database::open(carpeta + QStringLiteral("Orbalia.db"))->userVersion();
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

const QString PreguntaSegundaCopia =
    caja(QStringLiteral("Orbalia"), Icon::Critical, Buttons::YesNo,
         QStringLiteral(
             "Ya se está ejecutando una copia del programa y no es recomendable que se ejecute una nueva "
             "copia.\n¿Seguro que quiere ejecutar una nueva copia del programa?"));

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
        orb::install::InstallOptions o = conOficina(QStringLiteral("01"));
        o.createDatabase = false;
        TestInstallation inst(o);
        Inicio inicio(inst.path());
        QVERIFY(!inicio.arrancar());
        QCOMPARE(
            inicio.cajas(),
            error(QStringLiteral("Error al abrir la base de datos [%1Orbalia.db]\nNo se encuentra el archivo "
                                 "%1Orbalia.db.")
                      .arg(inst.path())));
        QVERIFY(!inicio.ctx.BaseDatosAgencia);
        QVERIFY(inicio.lanzados.isEmpty());
        QVERIFY(!QFile::exists(inst.file(QStringLiteral("Orbalia.db"))));
    }

    void unusableInstallationFileEndsBeforeAnythingElse_data() {
        QTest::addColumn<QByteArray>("contenido"); // null: no file; "<dir>": a folder in its place
        QTest::addColumn<QString>("mensaje");
        const QString corregir =
            QStringLiteral("\nCorrija la clave CodigoOficina de la sección [Instalacion] en el archivo de la "
                           "instalación [%1] (por ejemplo, CodigoOficina=01).");
        const QString falta = QStringLiteral("Falta el código de esta oficina.") + corregir;
        QTest::newRow("no file") << QByteArray()
                                 << QStringLiteral(
                                        "No se encuentra el archivo de la instalación [%1].\nCréelo "
                                        "con orbalia-install, o escriba en él la sección "
                                        "[Instalacion] con la clave CodigoOficina (el código de "
                                        "esta oficina).");
        QTest::newRow("a folder instead of the file")
            << QByteArray("<dir>")
            << QStringLiteral("No se puede leer el archivo de la instalación [%1].\nCompruebe que es un "
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
        QTest::newRow("eleven characters")
            << QByteArray("[Instalacion]\nCodigoOficina=ABCDEFGHIJK\n")
            << QStringLiteral("El código de oficina \"ABCDEFGHIJK\" tiene 11 caracteres y el campo Agencia "
                              "admite 10 como máximo.") +
                   corregir;
        QTest::newRow("eleven characters, accents counted once")
            << QByteArray("[Instalacion]\nCodigoOficina=ÑÑÑÑÑÑÑÑÑÑÑ\n")
            << QStringLiteral("El código de oficina \"ÑÑÑÑÑÑÑÑÑÑÑ\" tiene 11 caracteres y el campo Agencia "
                              "admite 10 como máximo.") +
                   corregir;
    }
    void unusableInstallationFileEndsBeforeAnythingElse() {
        QFETCH(QByteArray, contenido);
        QFETCH(QString, mensaje);
        TestInstallation inst(conOficina(QStringLiteral("01")));
        const QString ini = inst.file(QStringLiteral("Orbalia.ini"));
        QVERIFY(QFile::remove(ini));
        if (contenido == "<dir>") {
            QVERIFY(QDir().mkdir(ini));
        } else if (!contenido.isNull()) {
            QFile f(ini);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(contenido) == contenido.size());
        }
        // Start-up must stop before it makes anything of the installation.
        QVERIFY(QDir(inst.file(QStringLiteral("Web"))).removeRecursively());

        Inicio inicio(inst.path());
        QVERIFY(!inicio.arrancar());
        QCOMPARE(inicio.cajas(), error(mensaje.arg(ini)));
        QVERIFY(!inicio.ctx.BaseDatosAgencia);
        QVERIFY(inicio.ctx.RutaBaseDatos.isEmpty());
        QVERIFY(inicio.lanzados.isEmpty());
        QVERIFY(!QFileInfo::exists(inst.file(QStringLiteral("Web"))));
        QVERIFY(!inicio.w->isVisible());
        QCOMPARE(inicio.w->windowTitle(), QStringLiteral("Orbalia 4.0"));
    }

    void installationFileIsCheckedAfterTheSecondCopyQuestion_data() {
        QTest::addColumn<Answer>("respuesta");
        QTest::addColumn<int>("cajas");
        QTest::newRow("answered No: only the question") << Answer::No << 1;
        QTest::newRow("answered Yes: then the missing file") << Answer::Yes << 2;
    }
    void installationFileIsCheckedAfterTheSecondCopyQuestion() {
        QFETCH(Answer, respuesta);
        QFETCH(int, cajas);
        TestInstallation inst(conOficina(QStringLiteral("01")));
        Inicio primera(inst.path());
        QVERIFY(primera.arrancar());
        QVERIFY(QFile::remove(inst.file(QStringLiteral("Orbalia.ini"))));

        Inicio segunda(inst.path());
        segunda.dialogs.queueAnswer(respuesta);
        QVERIFY(!segunda.arrancar());
        const QStringList vistas = segunda.cajas();
        QCOMPARE(vistas.size(), cajas);
        QCOMPARE(vistas.first(), PreguntaSegundaCopia);
        if (cajas == 2)
            QVERIFY2(vistas.last().startsWith(
                         QStringLiteral("Error (icon %1, buttons %2): No se encuentra el archivo de la "
                                        "instalación [%3]")
                             .arg(int(Icon::Critical))
                             .arg(int(Buttons::Ok))
                             .arg(inst.file(QStringLiteral("Orbalia.ini")))),
                     qPrintable(vistas.last()));
    }

    void outdatedDatabaseStartsUpgrader_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("oficina");
        QTest::addColumn<QStringList>("argumentos");
        QTest::newRow("0: no version yet") << 0 << "01" << QStringList();
        QTest::newRow("5 with office 01") << 5 << "01" << QStringList{QStringLiteral("0100000")};
        QTest::newRow("5 with a ten-character office")
            << 5 << "ABCDEFGHIJ" << QStringList{QStringLiteral("ABCDEFGHIJ00000")};
        QTest::newRow("9") << 9 << "01" << QStringList();
        QTest::newRow("10") << 10 << "01" << QStringList();
    }
    void outdatedDatabaseStartsUpgrader() {
        QFETCH(int, version);
        QFETCH(QString, oficina);
        QFETCH(QStringList, argumentos);
        TestInstallation inst(conOficina(oficina));
        ponerVersion(inst.path(), version);
        Inicio inicio(inst.path());
        QVERIFY(!inicio.arrancar());
        QCOMPARE(
            inicio.cajas(),
            QStringList{caja(QStringLiteral("Actualización de base de datos"), Icon::Information, Buttons::Ok,
                             QStringLiteral("La base de datos encontrada está en la versión %1 "
                                            "cuando es necesario que esté en la versión 11.\n\nA "
                                            "continuación se procederá a su actualización.")
                                 .arg(version))});
        QCOMPARE(inicio.lanzados.size(), 1);
        const Lanzamiento& l = inicio.lanzados.first();
        QCOMPARE(l.programa, CarpetaPrograma + QStringLiteral("/orbalia-updatedb"));
        QCOMPARE(l.argumentos, argumentos);
        QCOMPARE(QDir(l.carpeta).canonicalPath(), QDir(inst.path()).canonicalPath());
        // The database is closed for the upgrader and left as found.
        QVERIFY(!inicio.ctx.BaseDatosAgencia);
        QCOMPARE(leerVersion(inst.path()), version);
    }

    void realUpgraderNextToTheProgramBringsTheNextStartThrough() {
        TestInstallation inst(conOficina(QStringLiteral("01")));
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
        QTRY_COMPARE_WITH_TIMEOUT(leerVersion(inst.path()), 11, 60000);
        Inicio segundo(inst.path());
        QVERIFY(segundo.arrancar());
        QVERIFY(segundo.dialogs.boxes().isEmpty());
        QCOMPARE(segundo.ctx.VersionBD, 11);
    }

    void currentDatabaseStarts_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("addAgain");
        QTest::addColumn<bool>("esperado");
        QTest::newRow("11, never set") << 11 << QString() << false;
        QTest::newRow("11, ADDAGAIN 1") << 11 << "1" << true;
        QTest::newRow("12, ADDAGAIN 0") << 12 << "0" << false;
        QTest::newRow("12, ADDAGAIN 1") << 12 << "1" << true;
        QTest::newRow("11, ADDAGAIN not a number") << 11 << "sí" << false;
    }
    void currentDatabaseStarts() {
        QFETCH(int, version);
        QFETCH(QString, addAgain);
        QFETCH(bool, esperado);
        TestInstallation inst(conOficina(QStringLiteral("02"), QStringLiteral("Costa Inmuebles")));
        ponerVersion(inst.path(), version);
        if (!addAgain.isNull())
            orb::GuardarConfig(*db::Database::open(inst.file(QStringLiteral("Orbalia.db"))),
                               QStringLiteral("GENERAL"), QStringLiteral("ADDAGAIN"), addAgain);
        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());

        QVERIFY(inicio.dialogs.boxes().isEmpty());
        QVERIFY(inicio.lanzados.isEmpty());
        QCOMPARE(inicio.ctx.AddAgainConfig, esperado);
        QCOMPARE(inicio.ctx.VersionBD, version);
        QVERIFY(inicio.ctx.BaseDatosAgencia);
        QCOMPARE(inicio.ctx.facts.CodigoOficina, QStringLiteral("02"));
        QCOMPARE(inicio.ctx.RutaFotos, inst.path() + QStringLiteral("Fotos/"));
        QCOMPARE(inicio.ctx.RutaBaseDatos, inst.path() + QStringLiteral("Orbalia.db"));
        QCOMPARE(QDir::current().canonicalPath(), QDir(inst.path()).canonicalPath());
        QCOMPARE(inicio.w->windowTitle(), QStringLiteral("Orbalia 4.0 - Costa Inmuebles"));
        QCOMPARE(inicio.w->size(), QSize(800, 600));
    }

    void foldersAreCreatedAndKept() {
        TestInstallation inst(conOficina(QStringLiteral("01")));
        QVERIFY(QDir(inst.file(QStringLiteral("Web"))).removeRecursively());
        QVERIFY(QDir(inst.file(QStringLiteral("Exchange"))).removeRecursively());
        QFile foto(inst.file(QStringLiteral("Fotos/0100001_1.jpg")));
        QVERIFY(foto.open(QIODevice::WriteOnly) && foto.write("jpeg") == 4);
        foto.close();
        // A file where a folder should be: the folder cannot be made.
        QFile estorbo(inst.file(QStringLiteral("Web")));
        QVERIFY(estorbo.open(QIODevice::WriteOnly));
        estorbo.close();
        {
            Inicio inicio(inst.path());
            QVERIFY(!inicio.arrancar());
            QCOMPARE(inicio.cajas(),
                     error(QStringLiteral("No se ha podido crear la carpeta [%1Web/]").arg(inst.path())));
            QVERIFY(!inicio.ctx.BaseDatosAgencia);
        }

        QVERIFY(estorbo.remove());
        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());
        for (const char* carpeta : {"Fotos", "Web", "Exchange"})
            QVERIFY2(QFileInfo(inst.file(QString::fromLatin1(carpeta))).isDir(), carpeta);
        QVERIFY(foto.open(QIODevice::ReadOnly));
        QCOMPARE(foto.readAll(), QByteArray("jpeg"));
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
        Inicio primera(inst.path());
        QVERIFY(primera.arrancar());
        QVERIFY(primera.dialogs.boxes().isEmpty());
        {
            Inicio segunda(inst.path());
            segunda.dialogs.queueAnswer(respuesta);
            QCOMPARE(segunda.arrancar(), arranca);
            QCOMPARE(segunda.cajas(), QStringList{PreguntaSegundaCopia});
            QCOMPARE(segunda.dialogs.boxes().first().defaultButton, Answer::No);
            QVERIFY(!segunda.arranque->tieneBloqueo());
            QCOMPARE(segunda.w->windowTitle(), arranca ? QStringLiteral("Orbalia 4.0 - Inmobiliaria Sol")
                                                       : QStringLiteral("Orbalia 4.0"));
            // Both copies work on the same database file.
            QCOMPARE(segunda.ctx.RutaBaseDatos,
                     arranca ? inst.file(QStringLiteral("Orbalia.db")) : QString());
        }
        // The first copy holds the lock until it ends.
        primera.arranque.reset();
        QLockFile despues(inst.file(QStringLiteral("Orbalia.lock")));
        QVERIFY(despues.tryLock(0));
    }

    void lockOfACrashedCopyIsIgnored() {
        TestInstallation inst(conOficina(QStringLiteral("01")));
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
        // Each menu's items in order ("" for a separator), then the toolbar's tooltips in order.
        const QList<QPair<const char*, QStringList>> textos = {
            {"mnuMain", {"&Archivos", "&Listados", "&Herramientas", "Ay&uda"}},
            {"mnuArchivo",
             {"Propiedades en &Venta", "Propiedades en &Alquiler", "Clientes de &Ventas",
              "Clientes de &Alquileres", "Propietarios de &Ventas", "Propietarios de &Alquileres", "&Tipos",
              "&Localidades", "&Areas", "", "&Salir"}},
            {"mnuLis",
             {"Listado de Clientes de &Ventas", "Listado de Clientes de &Alquileres",
              "Listado de Propietarios de &Ventas", "Listado de Propietarios de &Alquileres",
              "Listado de &Localidades/Areas", "Listado de &Tipos"}},
            {"mnuTool",
             {"Búsqueda de &Ventas", "Búsqueda de &Alquileres", "Búsqueda de Clientes de &Ventas",
              "Búsqueda de Clientes de Alquileres", "Búsqueda de Propietarios de &Ventas",
              "Búsqueda de Propietarios de Alquileres", "", "Exportación al &Web", "", "Exportación Oficina",
              "Importación Oficina", "", "&Configuración"}},
            {"mnuAyu", {"&Acerca de"}},
            {"tb",
             {"Propiedades en Venta", "Propiedades en Alquiler", "Clientes de Ventas",
              "Clientes de Alquileres", "Propietarios de Ventas", "Propietarios de Alquileres",
              "Búsqueda de Ventas", "Búsqueda de Alquileres", "Búsqueda de Clientes de Ventas",
              "Busqueda de Clientes de Alquileres", "Búsqueda de Propietarios",
              "Búsqueda de Propietarios de Alquiler", "Salir"}}};
        for (const auto& [menu, items] : textos)
            for (int i = 0; i < items.size(); ++i) {
                const QString nombre = qstrcmp(menu, "tb") == 0
                                           ? QStringLiteral("tb/") + orb::frmMain::tbKeys().value(i)
                                           : QStringLiteral("%1(%2)").arg(QLatin1String(menu)).arg(i);
                if (!items[i].isEmpty())
                    QTest::newRow(qPrintable(nombre)) << nombre << items[i];
            }
    }
    void captionsAfterStartup() {
        QFETCH(QString, nombre);
        QFETCH(QString, texto);
        TestInstallation inst(conOficina(QStringLiteral("01")));
        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());
        const bool boton = nombre.startsWith(QLatin1String("tb/"));
        const QList<QAction*> items = inicio.w->findChildren<QAction*>(nombre);
        QAction* a = boton ? inicio.w->tbBoton(nombre.mid(3)) : items.value(items.size() - 1);
        QVERIFY2(a && a->isVisible(), qPrintable(nombre));
        QVERIFY(!boton || inicio.w->tb()->actions().contains(a));
        QCOMPARE(boton ? a->toolTip() : a->text(), texto);
    }

    void logoIsTheBackground_data() {
        QTest::addColumn<bool>("hayLogo");
        QTest::newRow("Logo800.jpg") << true;
        QTest::newRow("no logo") << false;
    }
    void logoIsTheBackground() {
        QFETCH(bool, hayLogo);
        TestInstallation inst(conOficina(QStringLiteral("01")));
        const QImage logo(inst.file(QStringLiteral("Logo800.jpg")));
        QVERIFY(!logo.isNull());
        if (!hayLogo)
            QVERIFY(QFile::remove(inst.file(QStringLiteral("Logo800.jpg"))));
        Inicio inicio(inst.path());
        QVERIFY(inicio.arrancar());
        QVERIFY(inicio.dialogs.boxes().isEmpty());
        QCOMPARE(inicio.w->fondo().size(), hayLogo ? logo.size() : QSize(0, 0));
    }

private:
    QString directorioInicial_;
};

QTEST_MAIN(tst_Arranque)
#include "tst_arranque.moc"
