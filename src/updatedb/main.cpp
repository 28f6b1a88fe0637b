// orbalia-updatedb: creates a missing agency database or brings an older one
// to the current schema version, after a dated backup copy.

#include "shell/Herramienta.h"
#include "shell/Idioma.h"
#include "shell/Schema.h"
#include "shell/Upgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <cstdio>

static int ejecutar(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    orb::InstalarIdioma(app, orb::IdiomaPuesto());
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    orb::upgrade::Places places;
    places.home = qEnvironmentVariable("ORBALIA_HOME");
    places.programDir = QCoreApplication::applicationDirPath();
    places.currentDir = QDir::currentPath();
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Asked for, the usage goes to the output and is no error.
    if (arguments.size() == 1 && QStringList({"-h", "--help", "--ayuda"}).contains(arguments.first())) {
        out << QCoreApplication::translate(
                   "orbalia-updatedb",
                   "Uso: orbalia-updatedb [CÓDIGO_OFICINA00000]\n"
                   "Crea o actualiza Orbalia.db a la versión %1, tras guardar una copia con fecha.\n"
                   "  CÓDIGO_OFICINA00000  código de la oficina seguido de 00000\n"
                   "La base de datos se busca en $ORBALIA_HOME, la carpeta del programa o la actual.\n")
                   .arg(orb::schema::CurrentVersion);
        return 0;
    }
    return orb::upgrade::runUpdateDb(arguments, places, out, err);
}

int main(int argc, char* argv[]) {
    return orb::EjecutarHerramienta([&] { return ejecutar(argc, argv); });
}
