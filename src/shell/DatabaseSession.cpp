#include "DatabaseSession.h"

#include "AppContext.h"
#include "Services.h"

#include <exception>

namespace orb {

bool AbrirBaseDatos(AppContext& ctx) {
    if (!ctx.RutaBaseDatos.isEmpty()) {
        try {
            // Default options: never creates a missing file.
            ctx.BaseDatosAgencia = db::Database::open(ctx.RutaBaseDatos);
            return true;
        } catch (const std::exception&) {
            // The engine's own text is not shown; the path says enough.
        }
    }
    if (ctx.dialogs)
        MensajeError(*ctx.dialogs,
                     QStringLiteral("Error al abrir la base de datos [") + ctx.RutaBaseDatos + u']');
    return false;
}

int LeerVersionBD(AppContext& ctx) {
    // user_version always exists and reads 0 on a database that never had
    // one set, so there is nothing to create.
    if (!ctx.BaseDatosAgencia)
        return -1;
    try {
        return ctx.BaseDatosAgencia->userVersion();
    } catch (const std::exception&) {
        return -1;
    }
}

} // namespace orb
