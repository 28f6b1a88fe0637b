// orbalia-webexport: the web export without a window, for a scheduled task.
#include "shell/AppContext.h"
#include "shell/Herramienta.h"
#include "shell/Idioma.h"
#include "webexport/ExportacionWeb.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

int exportar(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    orb::InstalarIdioma(app, orb::IdiomaPuesto());
    QCoreApplication::setApplicationName(QStringLiteral("orbalia-webexport"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORBALIA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "orbalia-webexport", "Publica las propiedades marcadas para el web y sube sus fotos."));
    const QCommandLineOption home(
        QStringLiteral("home"),
        QCoreApplication::translate("orbalia-webexport", "Carpeta de la instalación."),
        QStringLiteral("DIR"));
    const QCommandLineOption sinSubida(
        QStringLiteral("no-upload"), QCoreApplication::translate("orbalia-webexport", "No sube las fotos."));
    parser.addOption(home);
    parser.addOption(sinSubida);
    if (const int fin = orb::LeerOpciones(parser, app.arguments()); fin >= 0)
        return fin;

    QTextStream out(stdout);
    QTextStream err(stderr);
    orb::AppContext ctx;
    if (const int fin = orb::AbrirInstalacionHerramienta(ctx, parser.value(home), err); fin >= 0)
        return fin;

    orb::ExportacionWeb exportacion(ctx, orb::AjustesWeb::leer(ctx));
    // Flushed when the run ends, not once per exported property.
    exportacion.alLog = [&out](const QString& linea) { out << linea << '\n'; };
    return exportacion.ejecutar(!parser.isSet(sinSubida)) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    return orb::EjecutarHerramienta([&] { return exportar(argc, argv); });
}
