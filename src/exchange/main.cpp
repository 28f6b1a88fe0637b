// orbalia-exchange export|import [--home CARPETA]
// The office export or import without a window: the log goes to standard
// output; the exit code is 0 only when every step succeeded.

#include "exchange/ExportacionOficina.h"
#include "exchange/ImportacionOficina.h"
#include "platform/process/ProcessRunner.h"
#include "shell/Agentes.h"
#include "shell/AppContext.h"
#include "shell/DatabaseSession.h"
#include "shell/Herramienta.h"
#include "shell/Idioma.h"
#include "shell/Installation.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

namespace {

void usage(QTextStream& err) {
    err << QCoreApplication::translate(
        "orbalia-exchange",
        "Uso: orbalia-exchange export|import [--home CARPETA]\n"
        "  export          exporta los datos de esta oficina y los sube al servidor de intercambio\n"
        "  import          baja e importa los datos de las demás oficinas de la red\n"
        "  --home CARPETA  carpeta de la instalación (por omisión $ORBALIA_HOME o la del programa)\n");
    err.flush();
}

} // namespace

static int ejecutar(int argc, char* argv[]) {
    // Pictures are decoded and written off screen; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    orb::InstalarIdioma(app, orb::IdiomaPuesto());
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString orden;
    QString home;
    QStringList args = app.arguments();
    args.removeFirst();
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--home" && i + 1 < args.size()) {
            home = args[++i];
        } else if ((a == u"export" || a == u"import") && orden.isEmpty()) {
            orden = a;
        } else if (a == u"-h" || a == u"--help" || a == u"--ayuda") {
            usage(out);
            return 0;
        } else {
            err << QCoreApplication::translate("orbalia-exchange", "Error: argumento no reconocido: %1")
                       .arg(a)
                << "\n";
            usage(err);
            return 2;
        }
    }
    if (orden.isEmpty()) {
        usage(err);
        return 2;
    }

    orb::AppContext ctx;
    // A seat on a server exchanges the server's rows, as its agent's office:
    // its Orbalia.db is only what it kept before it moved there.
    if (orb::AbrirInstalacionHerramienta(ctx, home, err) >= 0)
        return 1;
    orb::IdentificarAgente(ctx, nullptr);
    const QString carpeta = ctx.RutaAplicacion;
    // The office codes name the folders this run empties and mirrors into.
    if (const QString problema = orb::ProblemaInstalacion(carpeta, ctx.facts); !problema.isEmpty()) {
        err << QCoreApplication::translate("orbalia-exchange", "Error: %1").arg(problema) << "\n";
        return 1;
    }
    if (ctx.BaseDatosAgencia->userVersion() != orb::VersionRequerida) {
        err << QCoreApplication::translate("orbalia-exchange",
                                           "Error: la base de datos no está en la versión %1; ejecute "
                                           "orbalia-updatedb.")
                   .arg(orb::VersionRequerida)
            << "\n";
        return 1;
    }

    orb::InformeIntercambio informe;
    informe.log = [&out](const QString& linea) {
        out << linea << '\n';
        out.flush();
    };
    proc::ProcessRunner runner;
    runner.setWorkingDirectory(carpeta);
    bool ok = false;
    try {
        if (orden == u"export") {
            orb::ExportacionOficina exportacion(ctx, informe);
            ok = exportacion.ejecutar(runner);
        } else {
            orb::ImportacionOficina importacion(ctx, informe);
            ok = importacion.ejecutar(runner);
        }
    } catch (const db::DbError&) {
        err << orb::LineaError(std::current_exception(), ctx.RutaBaseDatos) << "\n";
        return 1;
    }
    return ok ? 0 : 1;
}

int main(int argc, char* argv[]) {
    return orb::EjecutarHerramienta([&] { return ejecutar(argc, argv); });
}
