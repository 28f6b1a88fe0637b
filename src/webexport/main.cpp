// orbalia-webexport: the web export without a window, for a scheduled task.
#include "platform/db/Database.h"
#include "shell/AppContext.h"
#include "shell/DatabaseSession.h"
#include "shell/ErrorReport.h"
#include "shell/Herramienta.h"
#include "shell/Installation.h"
#include "shell/Log.h"
#include "webexport/ExportacionWeb.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

int exportar(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orbalia-webexport"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORBALIA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Publica las propiedades marcadas para el web y sube sus fotos."));
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Carpeta de la instalación."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption sinSubida(QStringLiteral("no-upload"), QStringLiteral("No sube las fotos."));
    parser.addOption(home);
    parser.addOption(sinSubida);
    if (const int fin = orb::LeerOpciones(parser, app.arguments()); fin >= 0)
        return fin;

    QTextStream out(stdout);
    QTextStream err(stderr);
    QString carpeta = parser.isSet(home) ? parser.value(home) : orb::CarpetaInstalacion();
    carpeta = QDir(carpeta).absolutePath() + u'/';
    if (!QDir(carpeta).exists()) {
        err << "No existe la carpeta de la instalación: " << carpeta << Qt::endl;
        return 2;
    }
    // From here the engine's own words go to the installation's Orbalia.log.
    orb::IniciarLog(carpeta);

    orb::AppContext ctx;
    ctx.PonerCarpeta(carpeta);
    ctx.facts = orb::LeerDatosInstalacion(carpeta);
    try {
        ctx.BaseDatosAgencia = db::Database::open(ctx.RutaBaseDatos);
    } catch (const db::DbError& e) {
        orb::RegistrarError(QStringLiteral("abrir la base de datos"), e);
        err << "Error al abrir la base de datos [" << ctx.RutaBaseDatos
            << "]: " << orb::CausaError(e, {}, ctx.RutaBaseDatos) << Qt::endl;
        return 2;
    }
    const int version = orb::LeerVersionBD(ctx);
    if (version < 0) {
        err << "Error al abrir la base de datos [" << ctx.RutaBaseDatos
            << "]: El archivo no es una base de datos de Orbalia o está dañado." << Qt::endl;
        return 2;
    }
    if (version < orb::VersionRequerida) {
        err << "La base de datos es de una versión anterior: abra el programa para actualizarla." << Qt::endl;
        return 2;
    }

    orb::ExportacionWeb exportacion(ctx, orb::AjustesWeb::leer(ctx));
    // Flushed when the run ends, not once per exported property.
    exportacion.alLog = [&out](const QString& linea) { out << linea << '\n'; };
    return exportacion.ejecutar(!parser.isSet(sinSubida)) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    return orb::EjecutarHerramienta([&] { return exportar(argc, argv); });
}
