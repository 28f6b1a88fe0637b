#include "DatabaseSession.h"

#include "AppContext.h"
#include "ErrorReport.h"
#include "Mensajes.h"

#include <exception>

namespace orb {

bool AbrirBaseDatos(AppContext& ctx) {
    QString causa = QStringLiteral("No se ha indicado la base de datos.");
    if (!ctx.RutaBaseDatos.isEmpty()) {
        try {
            // Default options: never creates a missing file. Shared: the record
            // windows' controllers take this same connection.
            ctx.BaseDatosAgencia = db::Database::shared(ctx.RutaBaseDatos);
            return true;
        } catch (const db::DbError& e) {
            // The engine's own text goes to the log; the user reads the cause.
            RegistrarError(QStringLiteral("abrir la base de datos"), e);
            causa = CausaError(e, {}, ctx.RutaBaseDatos);
        } catch (const std::exception&) {
            causa = QStringLiteral("El archivo no es una base de datos de Orbalia o está dañado.");
        }
    }
    if (ctx.dialogs)
        MensajeError(*ctx.dialogs, QStringLiteral("Error al abrir la base de datos [") + ctx.RutaBaseDatos +
                                       QStringLiteral("]\n") + causa);
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
