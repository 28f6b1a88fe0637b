// orbalia-install DIR [--demo N] [--sin-fotos] [--semilla N] [--oficina CÓDIGO] [--secundaria]
//                 [--usuario-intercambio U] [--servidor-intercambio H] [--puerto-intercambio N]
//                 [--clave-intercambio-de FICHERO]
// Lays out a complete installation folder, optionally with demo data.

#include "install/Installer.h"
#include "shell/Herramienta.h"
#include "shell/Installation.h"
#include "shell/Log.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

namespace {

void usage(QTextStream& err) {
    err << "Uso: orbalia-install CARPETA [--demo N] [--sin-fotos] [--semilla N] [--oficina CÓDIGO] "
           "[--secundaria]\n"
        << "  CARPETA          carpeta de la instalación (se crea si no existe)\n"
        << "  --demo N         N propiedades de demostración con sus propietarios, clientes y catálogos\n"
        << "  --sin-fotos      propiedades de demostración sin fotografías\n"
        << "  --semilla N      semilla de los datos de demostración (los mismos datos para la misma "
           "semilla)\n"
        << "  --oficina CÓDIGO código de esta oficina (por omisión 01)\n"
        << "  --secundaria     oficina secundaria (por omisión, la principal)\n"
        << "  --usuario-intercambio U   usuario (y módulo) del servidor de intercambio entre oficinas\n"
        << "  --servidor-intercambio H  servidor rsync del intercambio\n"
        << "  --puerto-intercambio N    puerto del servidor rsync (por omisión 873)\n"
        << "  --clave-intercambio-de F  lee la contraseña del intercambio del archivo F\n";
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
    QTextStream out(stdout);
    QTextStream err(stderr);

    orb::install::InstallOptions options;
    options.facts = orb::install::demoFacts();
    QString dir;
    QStringList args = app.arguments();
    args.removeFirst();
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        qint64 n = 0;
        auto value = [&]() -> QString { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == u"--demo") {
            if (!positiveNumber(value(), 10'000'000, &n)) {
                err << "Error: --demo necesita un número de propiedades.\n";
                usage(err);
                return 2;
            }
            options.demoProperties = int(n);
        } else if (a == u"--sin-fotos") {
            options.demoPhotos = false;
        } else if (a == u"--semilla") {
            if (!positiveNumber(value(), 0xffffffffLL, &n)) {
                err << "Error: --semilla necesita un número.\n";
                usage(err);
                return 2;
            }
            options.seed = quint32(n);
        } else if (a == u"--oficina") {
            options.facts.CodigoOficina = value();
            // The program would refuse to start with it.
            if (const QString problema = orb::ProblemaCodigoOficina(options.facts.CodigoOficina);
                !problema.isEmpty()) {
                err << "Error: --oficina: " << problema << "\n";
                usage(err);
                return 2;
            }
        } else if (a == u"--secundaria") {
            options.facts.OficinaPrincipal = false;
        } else if (a == u"--usuario-intercambio") {
            options.exchangeUser = value();
        } else if (a == u"--servidor-intercambio") {
            options.exchangeServer = value();
        } else if (a == u"--puerto-intercambio") {
            if (!positiveNumber(value(), 65535, &n) || n == 0) {
                err << "Error: --puerto-intercambio necesita un número de puerto.\n";
                usage(err);
                return 2;
            }
            options.exchangePort = int(n);
        } else if (a == u"--clave-intercambio-de") {
            // Read from a file: a password on the command line would show in the process list.
            QFile f(value());
            if (!f.open(QIODevice::ReadOnly)) {
                err << "Error: no se puede leer el archivo de la contraseña del intercambio.\n";
                return 2;
            }
            options.exchangePassword = QString::fromUtf8(f.readAll()).trimmed();
        } else if (a == u"-h" || a == u"--help" || a == u"--ayuda") {
            usage(out);
            return 0;
        } else if (a.startsWith(u'-') || !dir.isEmpty()) {
            err << "Error: argumento no reconocido: " << a << "\n";
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

    QElapsedTimer timer;
    timer.start();
    // The new folder's Orbalia.log receives the engine's words of a failure.
    if (QDir().mkpath(dir))
        orb::IniciarLog(dir);
    try {
        orb::install::createInstallation(dir, options);
    } catch (const std::exception&) {
        err << orb::LineaError(std::current_exception()) << "\n";
        err.flush();
        return 1;
    }
    out << "Instalación creada en " << QDir::toNativeSeparators(QDir(dir).absolutePath());
    if (options.demoProperties > 0)
        out << " con " << options.demoProperties << " propiedades de demostración";
    out << " (" << timer.elapsed() << " ms).\n";
    return 0;
}

int main(int argc, char* argv[]) {
    return orb::EjecutarHerramienta([&] { return ejecutar(argc, argv); });
}
