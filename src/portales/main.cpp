// orbalia-portales: the portal feed without a window, for a scheduled task.
#include "portales/ExportacionPortales.h"
#include "shell/AppContext.h"
#include "shell/Herramienta.h"
#include "shell/Idioma.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

int exportar(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    orb::InstalarIdioma(app, orb::IdiomaPuesto());
    QCoreApplication::setApplicationName(QStringLiteral("orbalia-portales"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORBALIA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "orbalia-portales", "Escribe el fichero de propiedades para portales (Web/portales/kyero.xml) "
                            "y lo sube con las fotos del web."));
    const QCommandLineOption home(
        QStringLiteral("home"), QCoreApplication::translate("orbalia-portales", "Carpeta de la instalación."),
        QStringLiteral("DIR"));
    const QCommandLineOption sinSubida(
        QStringLiteral("no-upload"),
        QCoreApplication::translate("orbalia-portales", "Solo escribe el fichero, no lo sube."));
    parser.addOption(home);
    parser.addOption(sinSubida);
    if (const int fin = orb::LeerOpciones(parser, app.arguments()); fin >= 0)
        return fin;

    QTextStream out(stdout);
    QTextStream err(stderr);
    orb::AppContext ctx;
    if (const int fin = orb::AbrirInstalacionHerramienta(ctx, parser.value(home), err); fin >= 0)
        return fin;

    orb::ExportacionPortales exportacion(ctx, orb::AjustesPortales::leer(ctx));
    exportacion.alLog = [&out](const QString& linea) { out << linea << Qt::endl; };
    return exportacion.ejecutar(!parser.isSet(sinSubida)) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    return orb::EjecutarHerramienta([&] { return exportar(argc, argv); });
}
