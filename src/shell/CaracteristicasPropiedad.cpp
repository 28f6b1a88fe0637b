#include "CaracteristicasPropiedad.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace orb {

namespace {

// Check boxes 13 to 17 are the window's other yes/no fields (signed,
// exclusive, rental, web export, featured), not features. u"" makes each
// marked caption a char16_t literal; the dossier's words are not translated.
constexpr std::array<CaracteristicaPropiedad, 21> Tabla = {{
    {"CocinaAmueblada", 0, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Cocina Amueblada"), 6,
     u"Cocina amueblada", u"Fitted kitchen"},
    {"CocinaAmericana", 1, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Cocina Americana"), 7,
     u"Cocina americana", u"American kitchen"},
    {"AireAcondicionado", 2, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Aire Acondicionado"), 4,
     u"Aire acondicionado", u"Air conditioning"},
    {"Calefaccion", 3, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Calefacción"), 5, u"Calefacción",
     u"Heating"},
    {"Visitado", 4, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Visitado")},
    {"Salon", 5, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Salón"), 8, u"Salón", u"Living room"},
    {"Lavadero", 6, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Lavadero"), 2, u"Lavadero",
     u"Utility room"},
    {"GasCiudad", 7, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Gas Ciudad"), 10, u"Gas ciudad",
     u"Urban gas"},
    {"GasButano", 8, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Gas Butano"), 11, u"Gas butano",
     u"Bottled gas"},
    {"Vitroceramica", 9, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Vitrocerámica"), 9,
     u"Vitrocerámica", u"Vitro"},
    {"Ascensor", 10, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Ascensor"), 3, u"Ascensor", u"Lift"},
    {"Trastero", 11, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Trastero"), 1, u"Trastero",
     u"Storage"},
    {"Vpo", 12, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Vpo")},
    {"Solarium", 18, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Solarium")},
    {"SupermercadoCerca", 19, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Supermercado cercano"), 13,
     u"Supermercado cercano", u"Supermarket near"},
    {"AutobusCerca", 20, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Autobús cercano"), 14,
     u"Autobús cercano", u"Bus near"},
    {"CafeteriaCerca", 21, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Cafetería cercana"), 15,
     u"Cafetería cercana", u"Cafeteria near"},
    {"DiversionesCerca", 22, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Diversiones cercanas"), 16,
     u"Diversiones cercanas", u"Amenities Near"},
    {"Amueblado", 23, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Amueblado"), 12, u"Amueblado",
     u"Furnished"},
    {"PanelesSolares", 24, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Paneles solares")},
    {"Chimenea", 25, u"" QT_TRANSLATE_NOOP("CaracteristicasPropiedad", "Chimenea")},
}};

} // namespace

QString RotuloCaracteristica(const CaracteristicaPropiedad& c) {
    return QCoreApplication::translate("CaracteristicasPropiedad",
                                       QString::fromUtf16(c.rotulo).toUtf8().constData());
}

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
