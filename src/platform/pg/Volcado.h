#pragma once

#include "Connection.h"

#include <QString>

namespace pg {

// A whole database to a file and back with the server's own client tools,
// pg_dump (custom format) and pg_restore, found on PATH. The password goes
// to the child in its environment only: never on its command line, where
// any user sees it, nor in a file a killed run would leave behind.

struct SalidaCliente {
    bool encontrado = true; // false: the program is not installed
    int codigo = -1;        // its exit code; -1 when it could not run or crashed
    QString errores;        // what it wrote on standard error, without the password
    bool ok() const { return encontrado && codigo == 0; }
};

// The program's path on PATH; empty when it is not installed.
QString programaCliente(const QString& nombre);
// The major version in "15.18", "pg_dump (PostgreSQL) 15.18 (Debian …)" or
// "16beta2"; 0 when the text holds none.
int versionPrincipal(const QString& texto);
// The major version of an installed client program (its --version); 0 when
// it is missing or says none.
int versionCliente(const QString& nombre);

// pg_dump -Fc of the database into archivo (written, or truncated, there).
SalidaCliente volcar(const ConnectOptions& o, const QString& archivo);
// pg_restore of archivo into the database, in one transaction that stops at
// the first error, so a failure leaves the database as it was. The objects
// belong to the role that restores, whoever owned them where the dump was made.
SalidaCliente restaurar(const ConnectOptions& o, const QString& archivo);
// True when archivo begins as pg_dump's custom format does.
bool esVolcado(const QString& archivo);
// What a dump holds, one object a line ("218; 1259 16390 TABLE public t owner"),
// as pg_restore --list tells it; empty when it cannot read the file.
QString indiceVolcado(const QString& archivo);

} // namespace pg
