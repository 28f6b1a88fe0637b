#include "OfficeRules.h"

#include "AppContext.h"
#include "Mensajes.h"

namespace orb {

bool SoloOficinaPrincipal(const AppContext& ctx) {
    if (ctx.facts.OficinaPrincipal)
        return false;
    MensajeError(*ctx.dialogs, QCoreApplication::translate("OfficeRules", MensajeSoloOficinaPrincipal));
    return true;
}

bool NoPerteneceOficina(const AppContext& ctx, const QString& oficina) {
    if (oficina == ctx.facts.CodigoOficina)
        return false;
    MensajeError(*ctx.dialogs, QCoreApplication::translate("OfficeRules", MensajeOtraOficina));
    return true;
}

} // namespace orb
