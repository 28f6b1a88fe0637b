#pragma once

#include "platform/db/Database.h"

#include <QString>

namespace orb {

// Where a seat keeps its agency database when it is not the Orbalia.db file:
// section [Servidor] of Orbalia.ini (Servidor, Puerto, BaseDatos, Usuario).
// The password never goes into the ini: it lives in Orbalia.clave beside it,
// readable by this user only, or is asked at start-up when that file is missing.
struct ConexionServidor {
    QString servidor;
    int puerto = 5432;
    QString baseDatos;
    QString usuario;
    QString clave;

    // A seat with no server keeps the file.
    bool enServidor() const { return !servidor.trimmed().isEmpty(); }
    // What the data-access layer connects to.
    db::ServerAddress direccion() const;
    // "usuario@servidor:puerto/base", for messages and the log (never the password).
    QString descripcion() const { return direccion().describe(); }
};

inline constexpr const char* ClaveFileName = "Orbalia.clave";

// Reads [Servidor] of folder's Orbalia.ini and the password file; a seat
// without the section keeps the file (enServidor() is false).
ConexionServidor LeerConexionServidor(const QString& folder);
// Why the section cannot be used (a port that is not a number, no database or
// user); names the key. Empty when it can be used or there is no server.
QString ProblemaConexionServidor(const QString& folder);
// Writes [Servidor] and, when clave is not empty, the password file with
// owner-only permissions. False when either could not be written.
bool GuardarConexionServidor(const QString& folder, const ConexionServidor& conexion);

} // namespace orb
