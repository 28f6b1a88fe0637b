// orbalia-backup: a dated backup of the agency database into the
// installation's Copias/, keeping the newest; --restaurar puts one back.
#include "copias/CopiaSeguridad.h"
#include "shell/Herramienta.h"
#include "shell/Installation.h"
#include "shell/Log.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

namespace {

using namespace orb::copias;

QString mostrada(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

int ejecutar(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orbalia-backup"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORBALIA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Hace una copia de seguridad con fecha de la base de datos de la agencia en la carpeta "
            "Copias de la instalación y conserva las más recientes (clave Conservar de la sección "
            "[Copias] de Orbalia.ini, %1 por omisión). En un puesto del servidor la copia la hace "
            "pg_dump (Orbalia-AAAAMMDD-HHMMSS.dump); con el archivo, la propia base de datos "
            "(Orbalia-AAAAMMDD-HHMMSS.db).\n"
            "Termina con 0 si la copia está hecha, 1 si ha fallado y 2 si la carpeta, las opciones "
            "o los ajustes no se pueden usar.")
            .arg(ConservarPorOmision));
    parser.addPositionalArgument(
        QStringLiteral("CARPETA"),
        QStringLiteral("Carpeta de la instalación (por omisión, la habitual de este puesto)."),
        QStringLiteral("[CARPETA]"));
    const QCommandLineOption restaurar(
        QStringLiteral("restaurar"),
        QStringLiteral(
            "Restaura la copia ARCHIVO (una ruta o un nombre de la carpeta Copias) en vez de hacer una "
            "copia. En el servidor, la base de datos debe estar vacía; con el archivo, el programa "
            "debe estar cerrado, y antes se guarda una copia de la base de datos actual."),
        QStringLiteral("ARCHIVO"));
    parser.addOption(restaurar);
    if (const int fin = orb::LeerOpciones(parser, app.arguments()); fin >= 0)
        return fin;

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList posicionales = parser.positionalArguments();
    if (posicionales.size() > 1) {
        err << "Error: sobran argumentos: " << posicionales.mid(1).join(u' ') << Qt::endl
            << "Para ver las opciones: orbalia-backup --help" << Qt::endl;
        return SalidaNoEmpieza;
    }
    const QString carpeta = posicionales.isEmpty() ? orb::CarpetaInstalacion() : posicionales.first();
    // The engine's own words go to the installation's Orbalia.log, if it is one.
    if (QFileInfo(carpeta).isDir() && !orb::CarpetaSinInstalacion(carpeta))
        orb::IniciarLog(QDir(carpeta).absolutePath() + u'/');
    const Aviso aviso = [&out](const QString& linea) { out << linea << Qt::endl; };

    try {
        if (parser.isSet(restaurar)) {
            const Restauracion r = Restaurar(carpeta, parser.value(restaurar), aviso);
            if (!r.anterior.isEmpty())
                out << "La base de datos que había se ha guardado antes en " << mostrada(r.anterior) << "."
                    << Qt::endl;
            out << "Restaurada la copia " << mostrada(r.copia) << " en " << mostrada(r.destino);
            if (r.version > 0)
                out << " (versión " << r.version << " de la base de datos)";
            out << "." << Qt::endl;
            return 0;
        }
        const Copia c = HacerCopia(carpeta, QDateTime::currentDateTime(), aviso);
        out << "Copia de seguridad de " << mostrada(c.origen) << " hecha en " << mostrada(c.archivo) << " ("
            << QLocale(QLocale::Spanish, QLocale::Spain)
                   .formattedDataSize(c.bytes, 1, QLocale::DataSizeSIFormat)
            << ")." << Qt::endl;
        if (!c.borradas.isEmpty())
            out << "Borradas las copias más antiguas que las " << c.conservar
                << " más recientes: " << c.borradas.join(QStringLiteral(", ")) << "." << Qt::endl;
        if (!c.noBorradas.isEmpty())
            err << "Aviso: no se han podido borrar las copias antiguas "
                << c.noBorradas.join(QStringLiteral(", ")) << "." << Qt::endl;
        return 0;
    } catch (const FalloCopia& e) {
        err << "Error: " << e.texto() << Qt::endl;
        return e.salida();
    }
}

} // namespace

int main(int argc, char* argv[]) {
    return orb::EjecutarHerramienta([&] { return ejecutar(argc, argv); });
}
