#include "Registro.h"

#include "FichaPersona.h"
#include "frmCatalogos.h"
#include "frmPropiedades.h"
#include "shell/WindowRegistry.h"

namespace orb {

void RegistrarFichas(WindowRegistry& registro) {
    registro.registrar(Ventana::Tipos, [](AppContext& ctx, bool, QWidget* parent) -> QWidget* {
        return new frmTipos(ctx, parent);
    });
    registro.registrar(Ventana::Localidades, [](AppContext& ctx, bool, QWidget* parent) -> QWidget* {
        return new frmLocalidades(ctx, parent);
    });
    registro.registrar(Ventana::Areas, [](AppContext& ctx, bool, QWidget* parent) -> QWidget* {
        return new frmAreas(ctx, parent);
    });
    registro.registrar(Ventana::Agentes, [](AppContext& ctx, bool, QWidget* parent) -> QWidget* {
        return new frmAgentes(ctx, parent);
    });
    registro.registrar(Ventana::Propietarios,
                       [](AppContext& ctx, bool alquiler, QWidget* parent) -> QWidget* {
                           return new frmPropietarios(ctx, alquiler, parent);
                       });
    registro.registrar(Ventana::Clientes, [](AppContext& ctx, bool alquiler, QWidget* parent) -> QWidget* {
        return new frmClientes(ctx, alquiler, parent);
    });
    registro.registrar(Ventana::Propiedades, [](AppContext& ctx, bool alquiler, QWidget* parent) -> QWidget* {
        return new frmPropiedades(ctx, alquiler, parent);
    });
}

} // namespace orb
