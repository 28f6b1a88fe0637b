// orbalia-updatedb: creates a missing agency database or brings an older one
// to the current schema version, after a dated backup copy.

#include "shell/Herramienta.h"
#include "shell/Upgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <cstdio>

static int ejecutar(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    orb::upgrade::Places places;
    places.home = qEnvironmentVariable("ORBALIA_HOME");
    places.programDir = QCoreApplication::applicationDirPath();
    places.currentDir = QDir::currentPath();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return orb::upgrade::runUpdateDb(arguments, places, out, err);
}

int main(int argc, char* argv[]) {
    return orb::EjecutarHerramienta([&] { return ejecutar(argc, argv); });
}
