#pragma once

namespace orb {

struct AppContext;

// Opens ctx.RutaBaseDatos into ctx.BaseDatosAgencia. On failure shows
// "Error al abrir la base de datos [<path>]" with MensajeError and returns false.
bool AbrirBaseDatos(AppContext& ctx);

// Schema version of the open agency database (PRAGMA user_version); -1 when it
// cannot be read.
int LeerVersionBD(AppContext& ctx);

// Schema version this program requires.
inline constexpr int VersionRequerida = 17;

} // namespace orb
