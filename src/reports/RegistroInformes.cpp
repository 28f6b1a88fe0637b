#include "RegistroInformes.h"

#include "Informes.h"
#include "shell/WindowRegistry.h"

namespace orb {

namespace {

FabricaListado fabrica(reports::Informe informe) {
    return {[informe](AppContext& ctx, QWidget* parent) -> QWidget* {
                return new reports::frmInforme(ctx, informe, parent);
            },
            [](QWidget* rep, const QString& sql) {
                auto* w = qobject_cast<reports::frmInforme*>(rep);
                if (!w)
                    return false;
                w->data = {sql, {}};
                return w->Generar();
            }};
}

} // namespace

void RegistrarInformes(WindowRegistry& registro) {
    registro.registrarListado(Listado::Clientes, fabrica(reports::Informe::Clientes));
    registro.registrarListado(Listado::Propietarios, fabrica(reports::Informe::Propietarios));
    registro.registrarListado(Listado::LocalidadesAreas, fabrica(reports::Informe::LocalidadesAreas));
    registro.registrarListado(Listado::Tipos, fabrica(reports::Informe::Tipos));
}

} // namespace orb
