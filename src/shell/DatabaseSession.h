#pragma once

#include <QString>

namespace orb {

struct AppContext;
struct ConexionServidor;

// Connects a seat whose Orbalia.ini names a server into ctx.BaseDatosAgencia
// (shared under the file's path). Empty when connected; else why not, in
// plain words, for a message or a tool's output. numero, when given, gets
// the data layer's error number of a refused connection (0 otherwise).
QString ConectarServidor(AppContext& ctx, const ConexionServidor& c, int* numero = nullptr);

// Opens ctx.RutaBaseDatos into ctx.BaseDatosAgencia. On failure shows
// "Error al abrir la base de datos [<path>]" with MensajeError and returns false.
bool AbrirBaseDatos(AppContext& ctx);

// Schema version of the open agency database (PRAGMA user_version); -1 when it
// cannot be read.
int LeerVersionBD(AppContext& ctx);

// Schema version this program requires.
inline constexpr int VersionRequerida = 18;

} // namespace orb
