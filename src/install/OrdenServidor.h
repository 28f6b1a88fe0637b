#pragma once

#include <QStringList>
#include <QTextStream>

namespace orb::install {

// orbalia-install CARPETA --servidor HOST …: carries the office of an existing
// installation folder onto a PostgreSQL server and points its seat there.
// args without the program's name. Returns the exit code.
int ejecutarServidor(const QStringList& args, QTextStream& out, QTextStream& err);

// The lines of the usage text for it.
void usoServidor(QTextStream& s);

} // namespace orb::install
