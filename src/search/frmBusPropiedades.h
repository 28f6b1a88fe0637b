#pragma once

#include "VentanaBusqueda.h"

namespace orb {

// Property search of one side: criteria over busquedapropiedades, the matches
// in a grid, Go to opens the property window of the same side.
class frmBusPropiedades : public VentanaBusqueda {
    Q_OBJECT
public:
    // Indexes of the criteria boxes (txt) and lists.
    enum : int {
        Codigo = 0,
        PrecioDesde = 1,
        PrecioHasta = 2,
        DormitoriosDesde = 3,
        Agente = 4,
        FechaDesde = 5,
        Tipo = 6,
        Localidad = 7,
        Area = 8,
        Propietario = 9,
        DormitoriosHasta = 10,
        FechaHasta = 11,
        Direccion = 12,
        Telefono = 13,
        Estado = 2, // cbo(2)
    };

    frmBusPropiedades(AppContext& ctx, bool modoAlquiler, QWidget* parent = nullptr);

    void NuevaBusqueda() override;
    CriteriosPropiedades criterios() const;

protected:
    ConsultaBusqueda construir() const override;
    void irRegistro(const QString& cod) override;
    void formatearRejilla() override;
    void imprimirListado(const ConsultaBusqueda& q) override;

private:
    void llenarAreas();
};

} // namespace orb
