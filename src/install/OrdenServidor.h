#pragma once

#include <QStringList>
#include <QTextStream>

namespace pg {
class PgError;
}

namespace orb {
struct ConexionServidor;
}

namespace orb::install {

// What the server's refusal means for the person moving the office, in the seat's language:
// wrong password, no server at that address, no such database, a value of the
// office the server cannot hold (naming its table and field)…
QString ExplicarFalloServidor(const pg::PgError& error, const ConexionServidor& conexion);

// orbalia-install CARPETA --servidor HOST …: carries the office of an existing
// installation folder onto a PostgreSQL server and points its seat there.
// args without the program's name. Returns the exit code.
int ejecutarServidor(const QStringList& args, QTextStream& out, QTextStream& err);

// The lines of the usage text for it.
void usoServidor(QTextStream& s);

} // namespace orb::install
