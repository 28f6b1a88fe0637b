// orbalia-install DIR [--agencia …] [--oficina …] … [--demo N]  (see usage())
// Lays out a complete installation folder, optionally with demo data;
// orbalia-install DIR --servidor HOST … carries it onto a PostgreSQL server.

#include "install/Installer.h"
#include "install/OrdenServidor.h"
#include "shell/Herramienta.h"
#include "shell/Idioma.h"
#include "shell/Installation.h"
#include "shell/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QTextStream>
#include <cstdio>
#include <tuple>

namespace {

void usage(QTextStream& err) {
    err << QCoreApplication::translate("orbalia-install",
                                       "Uso: orbalia-install CARPETA [opciones]\n"
                                       "Crea una instalación completa en CARPETA (se crea si no existe).\n"
                                       "\n")
        << QCoreApplication::translate(
               "orbalia-install",
               "Datos de la agencia (Orbalia.ini); los que no se indican quedan vacíos, o con los de\n"
               "la agencia de demostración si se usa --demo:\n"
               "  --agencia NOMBRE          nombre de la agencia (título de la ventana)\n"
               "  --oficina CÓDIGO          código de esta oficina (letras y cifras)\n"
               "  --principal               esta oficina es la principal (por omisión)\n"
               "  --secundaria              esta oficina no es la principal\n"
               "  --web CÓDIGO              código de la agencia en la web\n"
               "  --red CÓDIGOS             códigos de las oficinas de la red, separados por comas,\n"
               "                            el de la principal primero (por ejemplo 01,02)\n"
               "  --pie TEXTO               pie de página del dossier\n"
               "  --modelos N               número de modelos de dossier (por omisión 1)\n"
               "  --logo ARCHIVO            imagen de fondo de la ventana principal (Logo800.jpg)\n"
               "  --logo-dossier ARCHIVO    logotipo del dossier (DossierLogo.jpg)\n"
               "                            sin --logo ni --logo-dossier, un dibujo sencillo con el nombre\n"
               "\n")
        << QCoreApplication::translate(
               "orbalia-install",
               "Intercambio entre oficinas:\n"
               "  --usuario-intercambio U   usuario (y módulo) del servidor de intercambio\n"
               "  --servidor-intercambio H  servidor rsync del intercambio\n"
               "  --puerto-intercambio N    puerto del servidor rsync (por omisión 873)\n"
               "  --clave-intercambio-de F  lee la contraseña del intercambio del archivo F\n"
               "\n")
        << QCoreApplication::translate(
               "orbalia-install",
               "Demostración:\n"
               "  --demo N                  N propiedades de demostración con sus propietarios, clientes\n"
               "                            y catálogos, y los datos de la agencia de demostración\n"
               "  --sin-fotos               propiedades de demostración sin fotografías\n"
               "  --semilla N               semilla de los datos de demostración (los mismos datos para\n"
               "                            la misma semilla)\n"
               "  --nueva                   CARPETA no debe existir (o debe estar vacía); la instalación se\n"
               "                            prepara aparte y aparece completa o no aparece\n"
               "  -h, --help, --ayuda       muestra esta ayuda\n"
               "\n");
    orb::install::usoServidor(err);
    err.flush();
}

bool positiveNumber(const QString& text, qint64 max, qint64* value) {
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < 0 || v > max)
        return false;
    *value = v;
    return true;
}

} // namespace

static int ejecutar(int argc, char* argv[]) {
    // Pictures are painted off screen; fonts need a GUI application, no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    orb::InstalarIdioma(app, orb::IdiomaPuesto());
    QTextStream out(stdout);
    QTextStream err(stderr);

    orb::install::InstallOptions options;
    options.exchangeUser.clear();
    options.facts.ModelosDossier = 1;
    // Facts given on the command line; --demo fills the others with the demo agency's.
    QSet<QString> dados;
    bool demo = false;
    bool nueva = false;
    QString dir;
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.contains(QStringLiteral("--servidor")))
        return orb::install::ejecutarServidor(args, out, err);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        qint64 n = 0;
        auto value = [&]() -> QString { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == u"--demo") {
            if (!positiveNumber(value(), 10'000'000, &n)) {
                err << QCoreApplication::translate("orbalia-install",
                                                   "Error: --demo necesita un número de propiedades.")
                    << "\n";
                usage(err);
                return 2;
            }
            options.demoProperties = int(n);
            demo = true;
        } else if (a == u"--sin-fotos") {
            options.demoPhotos = false;
        } else if (a == u"--semilla") {
            if (!positiveNumber(value(), 0xffffffffLL, &n)) {
                err << QCoreApplication::translate("orbalia-install", "Error: --semilla necesita un número.")
                    << "\n";
                usage(err);
                return 2;
            }
            options.seed = quint32(n);
        } else if (a == u"--agencia") {
            options.facts.NombreAgencia = value();
            dados << a;
        } else if (a == u"--web") {
            options.facts.CodigoAgenciaWeb = value();
            dados << a;
        } else if (a == u"--red") {
            options.facts.RedAgencias = value();
            dados << a;
        } else if (a == u"--pie") {
            options.facts.PieDossier = value();
            dados << a;
        } else if (a == u"--modelos") {
            if (!positiveNumber(value(), 99, &n) || n == 0) {
                err << QCoreApplication::translate(
                           "orbalia-install",
                           "Error: --modelos necesita un número de modelos de dossier entre 1 y 99.")
                    << "\n";
                usage(err);
                return 2;
            }
            options.facts.ModelosDossier = int(n);
            dados << a;
        } else if (a == u"--nueva") {
            nueva = true;
        } else if (a == u"--logo") {
            options.backgroundLogo = value();
        } else if (a == u"--logo-dossier") {
            options.dossierLogo = value();
        } else if (a == u"--principal") {
            options.facts.OficinaPrincipal = true;
            dados << a;
        } else if (a == u"--oficina") {
            options.facts.CodigoOficina = value();
            dados << a;
            // The program would refuse to start with it.
            if (const QString problema = orb::ProblemaCodigoOficina(options.facts.CodigoOficina);
                !problema.isEmpty()) {
                err << QCoreApplication::translate("orbalia-install", "Error: --oficina: %1").arg(problema)
                    << "\n";
                usage(err);
                return 2;
            }
        } else if (a == u"--secundaria") {
            options.facts.OficinaPrincipal = false;
            dados << QStringLiteral("--principal");
        } else if (a == u"--usuario-intercambio") {
            options.exchangeUser = value();
            dados << a;
        } else if (a == u"--servidor-intercambio") {
            options.exchangeServer = value();
        } else if (a == u"--puerto-intercambio") {
            if (!positiveNumber(value(), 65535, &n) || n == 0) {
                err << QCoreApplication::translate(
                           "orbalia-install", "Error: --puerto-intercambio necesita un número de puerto.")
                    << "\n";
                usage(err);
                return 2;
            }
            options.exchangePort = int(n);
        } else if (a == u"--clave-intercambio-de") {
            // Read from a file: a password on the command line would show in the process list.
            QFile f(value());
            if (!f.open(QIODevice::ReadOnly)) {
                err << QCoreApplication::translate(
                           "orbalia-install",
                           "Error: no se puede leer el archivo de la contraseña del intercambio.")
                    << "\n";
                return 2;
            }
            options.exchangePassword = QString::fromUtf8(f.readAll()).trimmed();
        } else if (a == u"-h" || a == u"--help" || a == u"--ayuda") {
            usage(out);
            return 0;
        } else if (a.startsWith(u'-') || !dir.isEmpty()) {
            err << QCoreApplication::translate("orbalia-install", "Error: argumento no reconocido: %1").arg(a)
                << "\n";
            usage(err);
            return 2;
        } else {
            dir = a;
        }
    }
    if (dir.isEmpty()) {
        usage(err);
        return 2;
    }

    if (demo) {
        const orb::InstallationFacts d = orb::install::demoFacts();
        orb::InstallationFacts& f = options.facts;
        for (const auto& [opcion, dato, demoDato] :
             {std::tuple{"--agencia", &f.NombreAgencia, d.NombreAgencia},
              std::tuple{"--oficina", &f.CodigoOficina, d.CodigoOficina},
              std::tuple{"--web", &f.CodigoAgenciaWeb, d.CodigoAgenciaWeb},
              std::tuple{"--red", &f.RedAgencias, d.RedAgencias},
              std::tuple{"--pie", &f.PieDossier, d.PieDossier},
              std::tuple{"--usuario-intercambio", &options.exchangeUser,
                         QString::fromLatin1(orb::install::SampleExchangeUser)}})
            if (!dados.contains(QLatin1String(opcion)))
                *dato = demoDato;
        if (!dados.contains(QStringLiteral("--principal")))
            f.OficinaPrincipal = d.OficinaPrincipal;
        if (!dados.contains(QStringLiteral("--modelos")))
            f.ModelosDossier = d.ModelosDossier;
    }

    QElapsedTimer timer;
    timer.start();
    // The new folder's Orbalia.log receives the engine's words of a failure;
    // one laid out aside tells them on the error output.
    if (!nueva && QDir().mkpath(dir))
        orb::IniciarLog(dir);
    try {
        if (nueva)
            orb::install::createNewInstallation(dir, options);
        else
            orb::install::createInstallation(dir, options);
    } catch (const std::exception&) {
        err << orb::LineaError(std::current_exception()) << "\n";
        err.flush();
        return 1;
    }
    const QString creada = QDir::toNativeSeparators(QDir(dir).absolutePath());
    const QString ms = QString::number(timer.elapsed());
    if (options.demoProperties > 0)
        out << QCoreApplication::translate(
                   "orbalia-install", "Instalación creada en %1 con %n propiedades de demostración (%2 ms).",
                   nullptr, options.demoProperties)
                   .arg(creada, ms);
    else
        out << QCoreApplication::translate("orbalia-install", "Instalación creada en %1 (%2 ms).")
                   .arg(creada, ms);
    out << "\n";
    return 0;
}

int main(int argc, char* argv[]) {
    return orb::EjecutarHerramienta([&] { return ejecutar(argc, argv); });
}
