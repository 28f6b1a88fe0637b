#include "CaracteristicasPropiedad.h"

#include <algorithm>
#include <array>

namespace orb {

namespace {

// Check boxes 13 to 17 are the window's other yes/no fields (signed,
// exclusive, rental, web export, featured), not features.
constexpr std::array<CaracteristicaPropiedad, 21> Tabla = {{
    {"CocinaAmueblada", 0, u"Cocina Amueblada", 6, u"Cocina amueblada", u"Fitted kitchen"},
    {"CocinaAmericana", 1, u"Cocina Americana", 7, u"Cocina americana", u"American kitchen"},
    {"AireAcondicionado", 2, u"Aire Acondicionado", 4, u"Aire acondicionado", u"Air conditioning"},
    {"Calefaccion", 3, u"Calefacción", 5, u"Calefacción", u"Heating"},
    {"Visitado", 4, u"Visitado"},
    {"Salon", 5, u"Salón", 8, u"Salón", u"Living room"},
    {"Lavadero", 6, u"Lavadero", 2, u"Lavadero", u"Utility room"},
    {"GasCiudad", 7, u"Gas Ciudad", 10, u"Gas ciudad", u"Urban gas"},
    {"GasButano", 8, u"Gas Butano", 11, u"Gas butano", u"Bottled gas"},
    {"Vitroceramica", 9, u"Vitrocerámica", 9, u"Vitrocerámica", u"Vitro"},
    {"Ascensor", 10, u"Ascensor", 3, u"Ascensor", u"Lift"},
    {"Trastero", 11, u"Trastero", 1, u"Trastero", u"Storage"},
    {"Vpo", 12, u"Vpo"},
    {"Solarium", 18, u"Solarium"},
    {"SupermercadoCerca", 19, u"Supermercado cercano", 13, u"Supermercado cercano", u"Supermarket near"},
    {"AutobusCerca", 20, u"Autobús cercano", 14, u"Autobús cercano", u"Bus near"},
    {"CafeteriaCerca", 21, u"Cafetería cercana", 15, u"Cafetería cercana", u"Cafeteria near"},
    {"DiversionesCerca", 22, u"Diversiones cercanas", 16, u"Diversiones cercanas", u"Amenities Near"},
    {"Amueblado", 23, u"Amueblado", 12, u"Amueblado", u"Furnished"},
    {"PanelesSolares", 24, u"Paneles solares"},
    {"Chimenea", 25, u"Chimenea"},
}};

} // namespace

std::span<const CaracteristicaPropiedad> caracteristicasPropiedad() {
    return Tabla;
}

const std::vector<const CaracteristicaPropiedad*>& caracteristicasDossier() {
    static const std::vector<const CaracteristicaPropiedad*> lista = [] {
        std::vector<const CaracteristicaPropiedad*> l;
        for (const CaracteristicaPropiedad& c : Tabla)
            if (c.ordenDossier > 0)
                l.push_back(&c);
        std::ranges::sort(l, {}, &CaracteristicaPropiedad::ordenDossier);
        return l;
    }();
    return lista;
}

} // namespace orb
