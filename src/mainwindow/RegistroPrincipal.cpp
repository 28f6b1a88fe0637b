#include "RegistroPrincipal.h"

#include "shell/WindowRegistry.h"
#include "shell/frmConfig.h"

namespace orb {

void RegistrarVentanasPrincipales(WindowRegistry& registro) {
    registro.registrar(Ventana::Configuracion, [](AppContext& ctx, bool, QWidget* parent) -> QWidget* {
        return new frmConfig(ctx, parent);
    });
}

} // namespace orb
