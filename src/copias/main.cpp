// orbalia-backup: a dated backup of the agency database into the
// installation's Copias/, keeping the newest; --restaurar puts one back.
#include "copias/CopiaSeguridad.h"
#include "shell/Herramienta.h"
#include "shell/Idioma.h"
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
    orb::InstalarIdioma(app, orb::IdiomaPuesto());
    QCoreApplication::setApplicationName(QStringLiteral("orbalia-backup"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORBALIA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate(
            "orbalia-backup",
            "Hace una copia de seguridad con fecha de la base de datos de la agencia en la carpeta "
            "Copias de la instalación y conserva las más recientes (clave Conservar de la sección "
            "[Copias] de Orbalia.ini, %1 por omisión). En un puesto del servidor la copia la hace "
            "pg_dump (Orbalia-AAAAMMDD-HHMMSS.dump); con el archivo, la propia base de datos "
            "(Orbalia-AAAAMMDD-HHMMSS.db).\n"
            "Termina con 0 si la copia está hecha, 1 si ha fallado y 2 si la carpeta, las opciones "
            "o los ajustes no se pueden usar.")
            .arg(ConservarPorOmision));
    parser.addPositionalArgument(
        QCoreApplication::translate("orbalia-backup", "CARPETA"),
        QCoreApplication::translate("orbalia-backup",
                                    "Carpeta de la instalación (por omisión, la habitual de este puesto)."),
        QCoreApplication::translate("orbalia-backup", "[CARPETA]"));
    const QCommandLineOption restaurar(
        QStringLiteral("restaurar"),
        QCoreApplication::translate(
            "orbalia-backup",
            "Restaura la copia ARCHIVO (una ruta o un nombre de la carpeta Copias) en vez de hacer una "
            "copia. En el servidor, la base de datos debe estar vacía; con el archivo, el programa "
            "debe estar cerrado, y antes se guarda una copia de la base de datos actual."),
        QCoreApplication::translate("orbalia-backup", "ARCHIVO"));
    parser.addOption(restaurar);
    if (const int fin = orb::LeerOpciones(parser, app.arguments()); fin >= 0)
        return fin;

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList posicionales = parser.positionalArguments();
    if (posicionales.size() > 1) {
        err << QCoreApplication::translate("orbalia-backup", "Error: sobran argumentos: %1")
                   .arg(posicionales.mid(1).join(u' '))
            << Qt::endl
            << QCoreApplication::translate("orbalia-backup", "Para ver las opciones: orbalia-backup --help")
            << Qt::endl;
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
                out << QCoreApplication::translate("orbalia-backup",
                                                   "La base de datos que había se ha guardado antes en %1.")
                           .arg(mostrada(r.anterior))
                    << Qt::endl;
            if (r.version > 0)
                out << QCoreApplication::translate(
                           "orbalia-backup", "Restaurada la copia %1 en %2 (versión %3 de la base de datos).")
                           .arg(mostrada(r.copia), mostrada(r.destino), QString::number(r.version));
            else
                out << QCoreApplication::translate("orbalia-backup", "Restaurada la copia %1 en %2.")
                           .arg(mostrada(r.copia), mostrada(r.destino));
            out << Qt::endl;
            return 0;
        }
        const Copia c = HacerCopia(carpeta, QDateTime::currentDateTime(), aviso);
        out << QCoreApplication::translate("orbalia-backup", "Copia de seguridad de %1 hecha en %2 (%3).")
                   .arg(mostrada(c.origen), mostrada(c.archivo),
                        QLocale(QLocale::Spanish, QLocale::Spain)
                            .formattedDataSize(c.bytes, 1, QLocale::DataSizeSIFormat))
            << Qt::endl;
        if (!c.borradas.isEmpty())
            out << QCoreApplication::translate(
                       "orbalia-backup", "Borradas las copias más antiguas que las %n más recientes: %1.",
                       nullptr, c.conservar)
                       .arg(c.borradas.join(QStringLiteral(", ")))
                << Qt::endl;
        if (!c.noBorradas.isEmpty())
            err << QCoreApplication::translate("orbalia-backup",
                                               "Aviso: no se han podido borrar las copias antiguas %1.")
                       .arg(c.noBorradas.join(QStringLiteral(", ")))
                << Qt::endl;
        return 0;
    } catch (const FalloCopia& e) {
        err << QCoreApplication::translate("orbalia-backup", "Error: %1").arg(e.texto()) << Qt::endl;
        return e.salida();
    }
}

} // namespace

int main(int argc, char* argv[]) {
    return orb::EjecutarHerramienta([&] { return ejecutar(argc, argv); });
}
