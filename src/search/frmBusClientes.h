#pragma once

#include "VentanaBusqueda.h"

namespace orb {

// Client search of one side: code, wanted type, budget, date of entry and
// name; Go to opens the clients window of the same side.
class frmBusClientes : public VentanaBusqueda {
    Q_OBJECT
public:
    enum : int {
        Codigo = 0,
        PresupuestoDesde = 1,
        PresupuestoHasta = 2,
        FechaDesde = 5,
        Tipo = 6,
        Nombre = 7,
        FechaHasta = 8,
    };

    frmBusClientes(AppContext& ctx, bool modoAlquiler, QWidget* parent = nullptr);

    void NuevaBusqueda() override;
    CriteriosClientes criterios() const;

protected:
    ConsultaBusqueda construir() const override;
    void irRegistro(const QString& cod) override;
    void formatearRejilla() override;
    void imprimirListado(const ConsultaBusqueda& q) override;
};

} // namespace orb
