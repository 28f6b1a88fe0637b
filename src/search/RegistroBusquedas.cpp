#include "RegistroBusquedas.h"

#include "frmBusClientes.h"
#include "frmBusPropiedades.h"
#include "frmBusPropietarios.h"
#include "shell/WindowRegistry.h"

namespace orb {

void RegistrarBusquedas(WindowRegistry& registro) {
    registro.registrar(Ventana::BusPropiedades,
                       [](AppContext& ctx, bool alquiler, QWidget* parent) -> QWidget* {
                           return new frmBusPropiedades(ctx, alquiler, parent);
                       });
    registro.registrar(Ventana::BusPropietarios,
                       [](AppContext& ctx, bool alquiler, QWidget* parent) -> QWidget* {
                           return new frmBusPropietarios(ctx, alquiler, parent);
                       });
    registro.registrar(Ventana::BusClientes, [](AppContext& ctx, bool alquiler, QWidget* parent) -> QWidget* {
        return new frmBusClientes(ctx, alquiler, parent);
    });
}

} // namespace orb
