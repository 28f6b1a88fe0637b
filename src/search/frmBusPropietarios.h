#pragma once

#include "VentanaBusqueda.h"

namespace orb {

// Owner search of one side: code, name and date of entry; Go to opens the
// owners window of the same side.
class frmBusPropietarios : public VentanaBusqueda {
    Q_OBJECT
public:
    enum : int { Codigo = 0, Nombre = 1, FechaDesde = 2, FechaHasta = 3 };

    frmBusPropietarios(AppContext& ctx, bool modoAlquiler, QWidget* parent = nullptr);

    void NuevaBusqueda() override;
    CriteriosPropietarios criterios() const;

protected:
    ConsultaBusqueda construir() const override;
    void irRegistro(const QString& cod) override;
    void formatearRejilla() override;
    void imprimirListado(const ConsultaBusqueda& q) override;
};

} // namespace orb
