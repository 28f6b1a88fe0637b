#include "OfficeRules.h"

#include "AppContext.h"
#include "Mensajes.h"

namespace orb {

bool SoloOficinaPrincipal(const AppContext& ctx) {
    if (ctx.facts.OficinaPrincipal)
        return false;
    MensajeError(*ctx.dialogs,
                 QStringLiteral("Esta información sólo puede manipularse en la oficina principal"));
    return true;
}

bool NoPerteneceOficina(const AppContext& ctx, const QString& oficina) {
    if (oficina == ctx.facts.CodigoOficina)
        return false;
    MensajeError(*ctx.dialogs,
                 QStringLiteral("No puede manipularse esta información porque no pertenece a esta oficina"));
    return true;
}

} // namespace orb
